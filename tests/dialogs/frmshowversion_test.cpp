#include "dialogs/frmshowversion.h"
#include "fakes/fakemessageboxes.h"
#include "fakes/fakeurlopener.h"
#include "platform/makerlibrary.h"
#include "platform/programfile.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Which addresses the maker's library may hand over is tested on MakerLibrary; here the window's
// own part: the link line, the message and the closing.
class FrmShowVersionTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_urls = FakeUrlOpener();
        m_messages = FakeMessageBoxes();
    }
    void link_opensTheLibrarysAddressAtEachClickOnTheLineOnly();
    void link_withoutLibrary_showsCriticalMessageAndStaysOpen();
    void modelLine_followsProgramFileName();
    void closing_byAnyMeans_actsAsOk_data();
    void closing_byAnyMeans_actsAsOk();

private:
    FakeUrlOpener m_urls;
    FakeMessageBoxes m_messages;
};

void FrmShowVersionTest::link_opensTheLibrarysAddressAtEachClickOnTheLineOnly()
{
    frmShowVersion window(&m_urls, &m_messages, ProgramFile::folder());
    window.show();

    QTest::mouseClick(window.Label5(), Qt::RightButton);
    QTest::mouseClick(window.Label1(0), Qt::LeftButton);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(5, 5));
    // Pressed on the line, released outside it.
    QTest::mousePress(window.Label5(), Qt::LeftButton);
    QTest::mouseRelease(window.Label5(), Qt::LeftButton, {}, QPoint(-20, -20));
    QVERIFY(m_urls.opened.isEmpty());

    QTest::mouseClick(window.Label5(), Qt::LeftButton);
    QTest::mouseClick(window.Label5(), Qt::LeftButton);
    const QUrl home(QStringLiteral("https://www.rovanda.example/"));
    QCOMPARE(m_urls.opened, (QList<QUrl>{home, home}));
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(window.isVisible());
}

void FrmShowVersionTest::link_withoutLibrary_showsCriticalMessageAndStaysOpen()
{
    QTemporaryDir empty;
    frmShowVersion window(&m_urls, &m_messages, empty.path());
    window.show();

    QTest::mouseClick(window.Label5(), Qt::LeftButton);

    QCOMPARE(m_messages.shown.size(), 1);
    const FakeMessageBoxes::Message &shown = m_messages.shown.front();
    QCOMPARE(shown.title, QStringLiteral("Zozevezu.dllのエラー"));
    QCOMPARE(shown.icon, MessageBoxes::Icon::Critical);
    const QString report = QStringLiteral("\r\n\r\n 上記内容をロバンダHP関係者まで報告してください。");
    QVERIFY2(shown.text.endsWith(report), qPrintable(shown.text));
    const QString description = shown.text.chopped(report.size());
    QVERIFY2(description.contains(QDir::toNativeSeparators(QDir(empty.path()).filePath(MakerLibrary::fileName()))),
        qPrintable(description));
    QVERIFY(m_urls.opened.isEmpty());
    QVERIFY(window.isVisible());
}

void FrmShowVersionTest::modelLine_followsProgramFileName()
{
    frmShowVersion window(nullptr, nullptr, ProgramFile::folder());
    QCOMPARE(window.Label1(1)->text(), QStringLiteral("型番・製造番号：frmshowversion_test"));
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
    frmShowVersion window(&m_urls, &m_messages, ProgramFile::folder());
    bool wasModal = false;
    QTimer::singleShot(0, this, [&] {
        wasModal = QApplication::activeModalWidget() == &window;
        if (how == u"click") {
            QTest::mouseClick(window.Command1(), Qt::LeftButton);
        } else if (how == u"enter" || how == u"escape") {
            QTest::keyClick(&window, how == u"enter" ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            window.close();
        }
        // Anything left open would hang exec(): end it so the test fails instead.
        if (window.isVisible()) {
            window.done(-1);
        }
    });

    QCOMPARE(window.exec(), int(QDialog::Accepted));
    QVERIFY(wasModal);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(FrmShowVersionTest)
#include "frmshowversion_test.moc"
