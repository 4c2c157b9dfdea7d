#include "app/platformchoice.h"
#include "app/translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <memory>

// What the program settles before and right after the application object is made.
class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void platformFor_data();
    void platformFor();
    void qtTexts_areJapaneseFromEitherSource_data();
    void qtTexts_areJapaneseFromEitherSource();
};

void StartupTest::platformFor_data()
{
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("qpaPlatform");
    QTest::addColumn<QByteArray>("chosen");
    QTest::newRow("X11 session") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("Wayland session: X11 first") << QByteArray("wayland-0") << QByteArray() << QByteArray("xcb;wayland");
    QTest::newRow("the user's choice stays") << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray();
}

void StartupTest::platformFor()
{
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, qpaPlatform);
    QTEST(::platformFor(waylandDisplay, qpaPlatform), "chosen");
}

void StartupTest::qtTexts_areJapaneseFromEitherSource_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("the Qt installation's") << QString();
    QTest::newRow("built in, where the installation has none") << QStringLiteral("/nonexistent");
}

void StartupTest::qtTexts_areJapaneseFromEitherSource()
{
    QFETCH(QString, folder);
    QVERIFY(installTranslations(*qApp, folder));
    auto translators = qApp->findChildren<QTranslator *>();
    QCOMPARE(translators.size(), 1);
    const std::unique_ptr<QTranslator> translator(translators.first());
    // Widgets made after the translator is installed read Qt's texts through it.
    QFileDialog dialog(nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto buttons = dialog.findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    QLineEdit edit(QStringLiteral("x"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    const QStringList texts = {dialog.windowTitle(),
        buttons->button(QDialogButtonBox::Open)->text(),
        buttons->button(QDialogButtonBox::Cancel)->text(),
        menu->actions().first()->text()};
    // (A message box's OK reads "OK" in Japanese too.)
    QCOMPARE(texts,
        QStringList({QStringLiteral("開く"),
            QStringLiteral("開く(&O)"),
            QStringLiteral("キャンセル"),
            QStringLiteral("元に戻す(&U)\tCtrl+Z")}));
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
