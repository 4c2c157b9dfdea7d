#include "fakes/fakefolderbrowser.h"
#include "frmbrowsedir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class FrmBrowseDirTest : public QObject
{
    Q_OBJECT

private slots:
    void browse_replacesTextOnlyWhenAFolderIsChosen_data();
    void browse_replacesTextOnlyWhenAFolderIsChosen();
    void browsedText_lowerCasesOnlyWhereNamesIgnoreCase_data();
    void browsedText_lowerCasesOnlyWhereNamesIgnoreCase();
    void enterAndEsc_pressNeitherButton();
    void buttons_andTitleBarClose_endTheDialog_data();
    void buttons_andTitleBarClose_endTheDialog();
    void altB_pressesBrowse();
};

void FrmBrowseDirTest::browse_replacesTextOnlyWhenAFolderIsChosen_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("browser cancelled") << QStringList() << QStringLiteral("/Typed/Path");
    QTest::newRow("Japanese folder") << QStringList{QStringLiteral("/mnt/方向幕/系統１２")}
                                     << frmBrowseDir::browsedText(
                                            QStringLiteral("/mnt/方向幕/系統１２"), frmBrowseDir::namesIgnoreCase());
    QTest::newRow("root") << QStringList{QStringLiteral("/")} << QStringLiteral("/");
}

void FrmBrowseDirTest::browse_replacesTextOnlyWhenAFolderIsChosen()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, expected);
    FakeFolderBrowser browser;
    browser.answers = answers;
    frmBrowseDir dialog(&browser);
    dialog.Text1()->setText(QStringLiteral("/Typed/Path"));

    dialog.Command1()->click();

    QCOMPARE(dialog.Text1()->text(), expected);
    QCOMPARE(browser.titles, QStringList{QStringLiteral("方向幕のあるフォルダを選択してください")});
    QCOMPARE(browser.parents.value(0), &dialog);
}

void FrmBrowseDirTest::browsedText_lowerCasesOnlyWhereNamesIgnoreCase_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("expected");
    QTest::newRow("drive folder") << "D:\\Signs\\Route12" << true << "d:\\signs\\route12";
    QTest::newRow("drive root") << "D:\\" << true << "d:\\";
    QTest::newRow("linux keeps case") << "/home/Bus/Signs" << false << "/home/Bus/Signs";
    QTest::newRow("full-width letters") << QStringLiteral("C:\\ＳＩＧＮ") << true << QStringLiteral("c:\\ｓｉｇｎ");
}

void FrmBrowseDirTest::browsedText_lowerCasesOnlyWhereNamesIgnoreCase()
{
    QFETCH(QString, folder);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, expected);
    QCOMPARE(frmBrowseDir::browsedText(folder, ignoreCase), expected);
}

void FrmBrowseDirTest::enterAndEsc_pressNeitherButton()
{
    frmBrowseDir dialog(nullptr);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.Text1());
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(dialog.Text1(), Qt::Key(key));
        QTest::keyClick(dialog.Command2(0), Qt::Key(key));
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(finished.size(), 0);
}

void FrmBrowseDirTest::buttons_andTitleBarClose_endTheDialog_data()
{
    QTest::addColumn<int>("action"); // 0 OK, 1 Cancel, 2 title-bar close
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << 0 << int(QDialog::Accepted);
    QTest::newRow("Cancel") << 1 << int(QDialog::Rejected);
    QTest::newRow("title-bar close") << 2 << int(QDialog::Rejected);
}

void FrmBrowseDirTest::buttons_andTitleBarClose_endTheDialog()
{
    QFETCH(int, action);
    QFETCH(int, result);
    frmBrowseDir dialog(nullptr);
    bool wasVisible = false;
    QTimer::singleShot(0, &dialog, [&] {
        wasVisible = dialog.isVisible();
        if (action == 2) {
            dialog.close();
        } else {
            dialog.Command2(action)->click();
        }
    });
    QCOMPARE(dialog.exec(), result);
    QVERIFY(wasVisible);
    QVERIFY(!dialog.isVisible());
}

void FrmBrowseDirTest::altB_pressesBrowse()
{
    FakeFolderBrowser browser;
    frmBrowseDir dialog(&browser);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.Text1(), Qt::Key_B, Qt::AltModifier);
    // A mnemonic presses its button visibly, which takes a moment.
    QTRY_COMPARE(browser.titles.size(), 1);
}

QTEST_MAIN(FrmBrowseDirTest)
#include "frmbrowsedir_test.moc"
