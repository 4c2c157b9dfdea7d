#include "dialogs/frmbrowsedir.h"
#include "fakes/fakefolderbrowser.h"

#include <QLineEdit>
#include <QPushButton>
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
    void keys_pressNeitherButton_titleBarCloseCancels();
};

void FrmBrowseDirTest::browse_replacesTextOnlyWhenAFolderIsChosen_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expected");
    const QString chosen = QStringLiteral("/mnt/方向幕/系統１２");
    QTest::newRow("browser cancelled") << QStringList() << QStringLiteral("/Typed/Path");
    QTest::newRow("folder chosen") << QStringList{chosen}
                                   << frmBrowseDir::browsedText(chosen, frmBrowseDir::namesIgnoreCase());
}

void FrmBrowseDirTest::browse_replacesTextOnlyWhenAFolderIsChosen()
{
    QFETCH(QStringList, answers);
    FakeFolderBrowser browser;
    browser.answers = answers;
    frmBrowseDir dialog(&browser);
    dialog.Text1()->setText(QStringLiteral("/Typed/Path"));

    dialog.Command1()->click();

    QTEST(dialog.Text1()->text(), "expected");
    QCOMPARE(browser.titles, QStringList{QStringLiteral("方向幕のあるフォルダを選択してください")});
}

void FrmBrowseDirTest::browsedText_lowerCasesOnlyWhereNamesIgnoreCase_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("expected");
    QTest::newRow("drive folder") << "D:\\Signs\\Route12" << true << "d:\\signs\\route12";
    QTest::newRow("linux keeps case") << "/home/Bus/Signs" << false << "/home/Bus/Signs";
}

void FrmBrowseDirTest::browsedText_lowerCasesOnlyWhereNamesIgnoreCase()
{
    QFETCH(QString, folder);
    QFETCH(bool, ignoreCase);
    QTEST(frmBrowseDir::browsedText(folder, ignoreCase), "expected");
}

void FrmBrowseDirTest::keys_pressNeitherButton_titleBarCloseCancels()
{
    frmBrowseDir dialog(nullptr);
    bool stayedOpen = false;
    QTimer::singleShot(0, &dialog, [&dialog, &stayedOpen] {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(dialog.Text1(), Qt::Key(key));
            QTest::keyClick(dialog.Command2(0), Qt::Key(key));
        }
        stayedOpen = dialog.isVisible();
        dialog.close();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(stayedOpen);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(FrmBrowseDirTest)
#include "frmbrowsedir_test.moc"
