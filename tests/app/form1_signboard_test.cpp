#include "app/form1parts.h"
#include "fakes/fakeopenfiledialog.h"
#include "signboard/signboardbox.h"
#include "support/pictures.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// True when the frame stands where a full placement around the signboard's box puts it.
bool frameIsAroundTheBox(const Form1 &form)
{
    SignboardFrame placed;
    placed.placeAround(signboard(form).rect());
    const SignboardFrame &frame = shpK_Waku(form);
    return frame.shape(0) == placed.shape(0) && frame.shape(1) == placed.shape(1) && frame.shape(2) == placed.shape(2);
}

int shownShapes(const Form1 &form)
{
    return shpK_Waku(form).isShapeVisible(0) + shpK_Waku(form).isShapeVisible(1) + shpK_Waku(form).isShapeVisible(2);
}

} // namespace

// The signboard and its frame as the bus window works them: the menu, the picture, the drag.
class Form1SignboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void setPicture_sizesBoxStoresPathAndPlacesFrame();
    void setPicture_failureChangesNothing_data();
    void setPicture_failureChangesNothing();
    void viewSwitches_hideBoxAndFrameIndependently();
    void reset_ofLargeHiddenBox_restoresDesignRectAndPlacesFrame();
    void drag_movesTheBoxByWholePixelsAndNotTheFrame();
    void setKanbanPicture_runsOnlyTheResizeHandling();

private:
    QString writeImage(const QString &name, QSize size);
    void setPicture(const QString &path);

    QTemporaryDir m_dir;
    FakeOpenFileDialog m_dialog;
    std::unique_ptr<Form1> m_form;
};

void Form1SignboardTest::init()
{
    m_dialog = FakeOpenFileDialog();
    m_form = std::make_unique<Form1>(Form1::Services{nullptr, nullptr, nullptr, &m_dialog, nullptr, nullptr});
}

QString Form1SignboardTest::writeImage(const QString &name, QSize size)
{
    const QString path = m_dir.filePath(name);
    return writeSolidBmp(path, size, QColor(0, 0, 200)) ? path : QString();
}

// Chooses `path` in the Open-file dialog of "看板の画像を設定...".
void Form1SignboardTest::setPicture(const QString &path)
{
    m_dialog.answers << path;
    menuItem(*m_form, "MnuSetKanban")->trigger();
}

void Form1SignboardTest::setPicture_sizesBoxStoresPathAndPlacesFrame()
{
    const QString path = writeImage(QStringLiteral("board.bmp"), QSize(200, 60));
    setPicture(path);

    QCOMPARE(m_dialog.openings.value(0).value(0), QStringLiteral("*.bmp;*.jpeg;*.gif;*.wmf;*.emf"));
    QCOMPARE(signboard(*m_form).rect(), QRect(3450, 2010, 204 * 15, 64 * 15));
    QCOMPARE(PicKanban(*m_form)->geometry(), QRect(230, 134, 204, 64));
    // Drawn inside the 2-pixel border.
    const QImage shot = PicKanban(*m_form)->grab().toImage();
    QCOMPARE(shot.pixelColor(2, 2), QColor(0, 0, 200));
    QCOMPARE(shot.pixelColor(201, 61), QColor(0, 0, 200));
    QCOMPARE(KanbanPath(*m_form), path);
    QVERIFY(frameIsAroundTheBox(*m_form));
}

void Form1SignboardTest::setPicture_failureChangesNothing_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("cancelled") << QString();
    QTest::newRow("not a picture") << QStringLiteral("text.bmp");
}

void Form1SignboardTest::setPicture_failureChangesNothing()
{
    QFETCH(QString, answer);
    const QString first = writeImage(QStringLiteral("first.bmp"), QSize(120, 40));
    setPicture(first);
    setKanbanLeft(*m_form, 600); // the frame now stands apart from the box
    const QRect box = signboard(*m_form).rect();
    const QRect bar = shpK_Waku(*m_form).shape(2);
    QFile text(m_dir.filePath(QStringLiteral("text.bmp")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("this is not a picture\n");
    text.close();

    setPicture(answer.isEmpty() ? answer : m_dir.filePath(answer));

    QCOMPARE(KanbanPath(*m_form), first);
    QCOMPARE(signboard(*m_form).rect(), box);
    QCOMPARE(PicKanban(*m_form)->picture().size(), QSize(120, 40));
    QCOMPARE(shpK_Waku(*m_form).shape(2), bar);
}

void Form1SignboardTest::viewSwitches_hideBoxAndFrameIndependently()
{
    setPicture(writeImage(QStringLiteral("board.bmp"), QSize(60, 20)));
    setKanbanTop(*m_form, 900);

    menuItem(*m_form, "MnuViewKanban")->trigger();
    QVERIFY(PicKanban(*m_form)->isHidden());
    QVERIFY(!menuItem(*m_form, "MnuViewKanban")->isChecked());
    QCOMPARE(shownShapes(*m_form), 3);
    // A picture set while hidden stays hidden, and the frame is placed around it.
    setPicture(writeImage(QStringLiteral("hidden.bmp"), QSize(80, 20)));
    QVERIFY(PicKanban(*m_form)->isHidden());
    QVERIFY(!menuItem(*m_form, "MnuViewKanban")->isChecked());
    QVERIFY(frameIsAroundTheBox(*m_form));

    setKanbanLeft(*m_form, 1000);
    menuItem(*m_form, "MnuViewWaku")->trigger();
    QVERIFY(!menuItem(*m_form, "MnuViewWaku")->isChecked());
    QCOMPARE(shownShapes(*m_form), 0);
    QVERIFY(frameIsAroundTheBox(*m_form));
    // Hidden shapes are placed like shown ones.
    setKanbanLeft(*m_form, 2000);
    m_form->PicKanban_DblClick();
    QVERIFY(frameIsAroundTheBox(*m_form));

    menuItem(*m_form, "MnuViewKanban")->trigger();
    QVERIFY(!PicKanban(*m_form)->isHidden());
    QVERIFY(menuItem(*m_form, "MnuViewKanban")->isChecked());
    QCOMPARE(shownShapes(*m_form), 0);
    QCOMPARE(signboard(*m_form).rect(), QRect(2000, 900, 84 * 15, 24 * 15));
    menuItem(*m_form, "MnuViewWaku")->trigger();
    QVERIFY(menuItem(*m_form, "MnuViewWaku")->isChecked());
    QCOMPARE(shownShapes(*m_form), 3);
}

void Form1SignboardTest::reset_ofLargeHiddenBox_restoresDesignRectAndPlacesFrame()
{
    setPicture(writeImage(QStringLiteral("large.bmp"), QSize(400, 150)));
    menuItem(*m_form, "MnuViewKanban")->trigger();
    setKanbanLeft(*m_form, 30);

    menuItem(*m_form, "MnuKanbanReset")->trigger();

    QCOMPARE(signboard(*m_form).rect(), QRect(3450, 2010, 1410, 450));
    QCOMPARE(PicKanban(*m_form)->geometry(), QRect(230, 134, 94, 30));
    QCOMPARE(PicKanban(*m_form)->grab().toImage().pixelColor(45, 15), QColor(Qt::white));
    QVERIFY(PicKanban(*m_form)->isHidden());
    QVERIFY(!menuItem(*m_form, "MnuViewKanban")->isChecked());
    QVERIFY(!KanbanPath(*m_form).isEmpty());
    QVERIFY(frameIsAroundTheBox(*m_form));
}

void Form1SignboardTest::drag_movesTheBoxByWholePixelsAndNotTheFrame()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    setKanbanLeft(*m_form, 3457); // between pixels: the drag lands on whole pixels
    SignboardBox *box = PicKanban(*m_form);
    const QPoint end = box->pos() + QPoint(-100, 30);
    const QRect barBefore = shpK_Waku(*m_form).shape(2);

    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(box, QPoint(10, 10) + QPoint(-100, 30));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, 10));

    QTest::mouseMove(box, QPoint(30, 30)); // released: the box no longer follows
    QCOMPARE(box->pos(), end);
    QCOMPARE(signboard(*m_form).rect().topLeft(), end * 15);
    QCOMPARE(shpK_Waku(*m_form).shape(2), barBefore);

    QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(box->pos(), end);
    QVERIFY(frameIsAroundTheBox(*m_form));
}

void Form1SignboardTest::setKanbanPicture_runsOnlyTheResizeHandling()
{
    setKanbanLeft(*m_form, 1005);
    QVERIFY(!setKanbanPicture(*m_form, m_dir.filePath(QStringLiteral("missing.bmp"))));
    QVERIFY(setKanbanPicture(*m_form, writeImage(QStringLiteral("b.bmp"), QSize(30, 30))));
    QVERIFY(setKanbanPicture(*m_form, QString())); // the empty picture keeps the size
    QCOMPARE(signboard(*m_form).rect(), QRect(1005, 2010, 34 * 15, 34 * 15));
    QVERIFY(KanbanPath(*m_form).isEmpty());
    // The shapes follow the new size, but the posts keep their heights until a full placement.
    QCOMPARE(shpK_Waku(*m_form).shape(0), QRect(930, 2010, 75, 495));
    QCOMPARE(shpK_Waku(*m_form).shape(2), QRect(930, 2010 + 34 * 15, 34 * 15 + 150, 60));
}

QTEST_MAIN(Form1SignboardTest)
#include "form1_signboard_test.moc"
