#include "fakes/fakemessageboxes.h"
#include "fakes/fakeurlopener.h"
#include "frmshowversion.h"
#include "makerlibrary.h"
#include "programfile.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString ReportRequest = QStringLiteral("\r\n\r\n 上記内容をロバンダHP関係者まで報告してください。");

QString variantFolder(const QString &variant)
{
    return QStringLiteral(FAKE_MAKER_LIBRARY_ROOT "/") + variant;
}

} // namespace

class FrmShowVersionTest : public QObject
{
    Q_OBJECT

private slots:
    void link_libraryBesideProgram_opensItsAddressEachClick();
    void link_withoutLibrary_showsCriticalMessageAndStaysOpen();
    void link_refusedOrFailed_showsTheMessageAndOpensNothing_data();
    void link_refusedOrFailed_showsTheMessageAndOpensNothing();
    void link_onlyLeftClickOnTheLineCounts();
    void modelLine_followsProgramFileName();
    void onlyOkTakesFocus();
    void closing_byAnyMeans_actsAsOk_data();
    void closing_byAnyMeans_actsAsOk();
};

void FrmShowVersionTest::link_libraryBesideProgram_opensItsAddressEachClick()
{
    FakeUrlOpener urls;
    FakeMessageBoxes messages;
    frmShowVersion window(&urls, &messages, ProgramFile::folder());
    window.show();

    QTest::mouseClick(window.Label5(), Qt::LeftButton);
    QTest::mouseClick(window.Label5(), Qt::LeftButton);

    const QUrl home(QStringLiteral("https://www.rovanda.example/"));
    QCOMPARE(urls.opened, (QList<QUrl>{home, home}));
    QCOMPARE(messages.shown.size(), 0);
    QVERIFY(window.isVisible());
}

void FrmShowVersionTest::link_withoutLibrary_showsCriticalMessageAndStaysOpen()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    FakeUrlOpener urls;
    FakeMessageBoxes messages;
    frmShowVersion window(&urls, &messages, empty.path());
    window.show();

    QTest::mouseClick(window.Label5(), Qt::LeftButton);

    QCOMPARE(messages.shown.size(), 1);
    const FakeMessageBoxes::Message &shown = messages.shown.front();
    QCOMPARE(shown.title, QStringLiteral("Zozevezu.dllのエラー"));
    QCOMPARE(shown.icon, MessageBoxes::Icon::Critical);
    QVERIFY2(shown.text.endsWith(ReportRequest), qPrintable(shown.text));
    const QString description = shown.text.chopped(ReportRequest.size());
    QVERIFY2(description.contains(QDir::toNativeSeparators(QDir(empty.path()).filePath(MakerLibrary::fileName()))),
        qPrintable(description));
    QVERIFY(urls.opened.isEmpty());
    QVERIFY(window.isVisible());

    QTest::mouseClick(window.Command1(), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void FrmShowVersionTest::link_refusedOrFailed_showsTheMessageAndOpensNothing_data()
{
    QTest::addColumn<QString>("variant");
    QTest::newRow("local file") << "passwd";
    QTest::newRow("program name") << "calc";
    QTest::newRow("script") << "script";
    QTest::newRow("null result") << "null";
    QTest::newRow("function missing") << "nofunction";
}

void FrmShowVersionTest::link_refusedOrFailed_showsTheMessageAndOpensNothing()
{
    QFETCH(QString, variant);
    FakeUrlOpener urls;
    FakeMessageBoxes messages;
    frmShowVersion window(&urls, &messages, variantFolder(variant));
    window.show();

    QTest::mouseClick(window.Label5(), Qt::LeftButton);

    QVERIFY(urls.opened.isEmpty());
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown.front().title, QStringLiteral("Zozevezu.dllのエラー"));
    QCOMPARE(messages.shown.front().icon, MessageBoxes::Icon::Critical);
    QVERIFY(messages.shown.front().text.size() > ReportRequest.size());
    QVERIFY(messages.shown.front().text.endsWith(ReportRequest));
    QVERIFY(window.isVisible());
}

void FrmShowVersionTest::link_onlyLeftClickOnTheLineCounts()
{
    FakeUrlOpener urls;
    FakeMessageBoxes messages;
    frmShowVersion window(&urls, &messages, ProgramFile::folder());
    window.show();

    QTest::mouseClick(window.Label5(), Qt::RightButton);
    QTest::mouseClick(window.Label1(0), Qt::LeftButton);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(5, 5));
    // Pressed on the line, released outside it.
    QTest::mousePress(window.Label5(), Qt::LeftButton);
    QTest::mouseRelease(window.Label5(), Qt::LeftButton, {}, QPoint(-20, -20));

    QVERIFY(urls.opened.isEmpty());
    QVERIFY(messages.shown.isEmpty());
    QVERIFY(window.isVisible());
}

void FrmShowVersionTest::modelLine_followsProgramFileName()
{
    frmShowVersion window(nullptr, nullptr, ProgramFile::folder());
    QCOMPARE(ProgramFile::baseName(), QStringLiteral("frmshowversion_test"));
    QCOMPARE(window.Label1(1)->text(), QStringLiteral("型番・製造番号：frmshowversion_test"));
}

void FrmShowVersionTest::onlyOkTakesFocus()
{
    frmShowVersion window(nullptr, nullptr, ProgramFile::folder());
    const QList<QWidget *> children = window.findChildren<QWidget *>();
    QVERIFY(!children.isEmpty());
    for (QWidget *child : children) {
        QCOMPARE(child->focusPolicy() != Qt::NoFocus, child == window.Command1());
    }
}

void FrmShowVersionTest::closing_byAnyMeans_actsAsOk_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK clicked") << "click";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Esc") << "escape";
    QTest::newRow("window closed") << "close";
}

void FrmShowVersionTest::closing_byAnyMeans_actsAsOk()
{
    QFETCH(QString, how);
    FakeUrlOpener urls;
    FakeMessageBoxes messages;
    frmShowVersion window(&urls, &messages, ProgramFile::folder());

    bool wasModal = false;
    QTimer::singleShot(0, this, [&] {
        wasModal = QApplication::activeModalWidget() == &window;
        if (how == u"click") {
            QTest::mouseClick(window.Command1(), Qt::LeftButton);
        } else if (how == u"enter") {
            QTest::keyClick(&window, Qt::Key_Return);
        } else if (how == u"escape") {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else {
            window.close();
        }
        // Anything left open would hang exec(): end it so the test fails instead.
        if (window.isVisible()) {
            window.done(-1);
        }
    });
    const int result = window.exec();

    QVERIFY(wasModal);
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(FrmShowVersionTest)
#include "frmshowversion_test.moc"
