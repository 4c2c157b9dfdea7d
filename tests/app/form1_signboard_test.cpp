#include "fakes/fakeopenfiledialog.h"
#include "form1.h"
#include "signboardbox.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The signboard and its frame as the bus window works them: the menu, the picture, the drag.
class Form1SignboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void setPicture_sizesBoxStoresPathAndPlacesFrame();
    void setPicture_offersThePatternThenAllFiles();
    void setPicture_failureChangesNothing_data();
    void setPicture_failureChangesNothing();
    void setPicture_readsAJpgByItsContent();
    void setPicture_whileHidden_staysHiddenAndPlacesFrame();
    void hideAndShow_keepPlaceAndPictureAndLeaveTheFrame();
    void frameSwitch_hidesShapesAndPlacesThemAroundTheBox();
    void reset_whileHidden_clearsAndMovesTheHiddenBox();
    void reset_afterLargePicture_returnsToDesignSize();
    void drag_movesTheBoxByWholePixelsAndNotTheFrame();
    void presses_onTheBox_data();
    void presses_onTheBox();
    void rightPress_whereTheHiddenBoxIs_opensTheMenuFromTheBus();
    void settingsAccessors_moveAndLoadWithoutTouchingTheFrame();

private:
    QString writeImage(const QString &name, QSize size, const char *format);
    QString writeText(const QString &name);
    // Counts the menu openings `press` causes; the menu closes as soon as it shows.
    int menuOpenings(Form1 &form, const std::function<void()> &press);

    QTemporaryDir m_dir;
    FakeOpenFileDialog m_dialog;
    std::unique_ptr<Form1> m_form;
};

void Form1SignboardTest::init()
{
    QVERIFY(m_dir.isValid());
    m_dialog = FakeOpenFileDialog();
    Form1::Services services;
    services.openFile = &m_dialog;
    m_form = std::make_unique<Form1>(services);
}

void Form1SignboardTest::cleanup()
{
    m_form.reset();
}

QString Form1SignboardTest::writeImage(const QString &name, QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 200));
    const QString path = m_dir.filePath(name);
    if (!image.save(path, format)) {
        return {};
    }
    return path;
}

QString Form1SignboardTest::writeText(const QString &name)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    file.write("this is not a picture\n");
    return path;
}

int Form1SignboardTest::menuOpenings(Form1 &form, const std::function<void()> &press)
{
    QSignalSpy shown(form.MnuTempMenu1(), &QMenu::aboutToShow);
    connect(form.MnuTempMenu1(), &QMenu::aboutToShow, this, [&form] {
        QTimer::singleShot(0, form.MnuTempMenu1(), &QMenu::close);
    });
    press();
    disconnect(form.MnuTempMenu1(), &QMenu::aboutToShow, this, nullptr);
    return int(shown.size());
}

void Form1SignboardTest::setPicture_sizesBoxStoresPathAndPlacesFrame()
{
    const QString path = writeImage(QStringLiteral("board.bmp"), QSize(200, 60), "BMP");
    m_dialog.answers << path;

    m_form->MnuSetKanban()->trigger();

    const QRect box(3450, 2010, 204 * 15, 64 * 15);
    QCOMPARE(m_form->signboard().rect(), box);
    QCOMPARE(m_form->KanbanPath(), path);
    QCOMPARE(m_form->PicKanban()->geometry(), QRect(230, 134, 204, 64));
    QCOMPARE(m_form->PicKanban()->picture().size(), QSize(200, 60));
    QCOMPARE(m_form->shpK_Waku().shape(0), QRect(3375, 2010, 75, 64 * 15 + 15));
    QCOMPARE(m_form->shpK_Waku().shape(1), QRect(3450 + 204 * 15, 2010, 75, 64 * 15 + 15));
    QCOMPARE(m_form->shpK_Waku().shape(2), QRect(3375, 2010 + 64 * 15, 204 * 15 + 150, 60));
}

void Form1SignboardTest::setPicture_offersThePatternThenAllFiles()
{
    m_form->MnuSetKanban_Click();
    QCOMPARE(m_dialog.openings.size(), 1);
    QCOMPARE(m_dialog.openings[0].parent, m_form.get());
    const QStringList filters = m_dialog.openings[0].nameFilters;
    QCOMPARE(filters.size(), 2);
    QCOMPARE(filters[0], QStringLiteral("*.bmp;*.jpeg;*.gif;*.wmf;*.emf"));
    QVERIFY(filters[1].endsWith(QStringLiteral("(*)")));
}

void Form1SignboardTest::setPicture_failureChangesNothing_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("cancelled") << QString();
    QTest::newRow("not a picture") << QStringLiteral("text.bmp");
    QTest::newRow("missing file") << QStringLiteral("gone.gif");
}

void Form1SignboardTest::setPicture_failureChangesNothing()
{
    QFETCH(QString, answer);
    const QString first = writeImage(QStringLiteral("first.bmp"), QSize(120, 40), "BMP");
    m_dialog.answers << first;
    m_form->MnuSetKanban_Click();
    m_form->setKanbanLeft(600); // the frame now stands apart from the box
    const QRect box = m_form->signboard().rect();
    const QRect bar = m_form->shpK_Waku().shape(2);

    writeText(QStringLiteral("text.bmp"));
    m_dialog.answers << (answer.isEmpty() ? answer : m_dir.filePath(answer));
    m_form->MnuSetKanban_Click();

    QCOMPARE(m_form->KanbanPath(), first);
    QCOMPARE(m_form->signboard().rect(), box);
    QCOMPARE(m_form->PicKanban()->picture().size(), QSize(120, 40));
    QCOMPARE(m_form->shpK_Waku().shape(2), bar);
    QVERIFY(!m_form->PicKanban()->isHidden());
}

void Form1SignboardTest::setPicture_readsAJpgByItsContent()
{
    const QString path = writeImage(QStringLiteral("photo.jpg"), QSize(50, 30), "JPEG");
    QVERIFY(!path.isEmpty());
    m_dialog.answers << path;
    m_form->MnuSetKanban_Click();
    QCOMPARE(m_form->KanbanPath(), path);
    QCOMPARE(m_form->signboard().rect().size(), QSize(54 * 15, 34 * 15));
}

void Form1SignboardTest::setPicture_whileHidden_staysHiddenAndPlacesFrame()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->MnuViewKanban()->trigger();
    QVERIFY(m_form->PicKanban()->isHidden());
    m_form->setKanbanLeft(1500);

    m_dialog.answers << writeImage(QStringLiteral("hidden.bmp"), QSize(80, 20), "BMP");
    m_form->MnuSetKanban()->trigger();

    QVERIFY(m_form->PicKanban()->isHidden());
    QVERIFY(!m_form->isKanbanVisible());
    QVERIFY(!m_form->MnuViewKanban()->isChecked());
    QCOMPARE(m_form->shpK_Waku().shape(0), QRect(1425, 2010, 75, 24 * 15 + 15));

    m_form->MnuViewKanban()->trigger();
    QVERIFY(m_form->PicKanban()->isVisible());
    QCOMPARE(m_form->PicKanban()->picture().size(), QSize(80, 20));
}

void Form1SignboardTest::hideAndShow_keepPlaceAndPictureAndLeaveTheFrame()
{
    m_dialog.answers << writeImage(QStringLiteral("board.bmp"), QSize(60, 20), "BMP");
    m_form->MnuSetKanban_Click();
    m_form->setKanbanTop(900);
    const QRect box = m_form->signboard().rect();

    m_form->MnuViewKanban()->trigger();
    QVERIFY(m_form->PicKanban()->isHidden());
    QVERIFY(!m_form->MnuViewKanban()->isChecked());
    QVERIFY(m_form->MnuViewWaku()->isChecked());
    QVERIFY(m_form->isWakuVisible());

    m_form->MnuViewKanban()->trigger();
    QVERIFY(!m_form->PicKanban()->isHidden());
    QVERIFY(m_form->MnuViewKanban()->isChecked());
    QCOMPARE(m_form->signboard().rect(), box);
    QCOMPARE(m_form->PicKanban()->picture().size(), QSize(60, 20));
}

void Form1SignboardTest::frameSwitch_hidesShapesAndPlacesThemAroundTheBox()
{
    m_form->setKanbanLeft(1000);
    m_form->setKanbanTop(500);

    m_form->MnuViewWaku()->trigger();
    QVERIFY(!m_form->MnuViewWaku()->isChecked());
    for (int index = 0; index < 3; ++index) {
        QVERIFY(!m_form->shpK_Waku().isShapeVisible(index));
    }
    QCOMPARE(m_form->shpK_Waku().shape(0), QRect(925, 500, 75, 465));
    QVERIFY(m_form->isKanbanVisible());

    // Hidden shapes are placed like shown ones.
    m_form->setKanbanLeft(2000);
    m_form->PicKanban_DblClick();
    QCOMPARE(m_form->shpK_Waku().shape(1), QRect(3410, 500, 75, 465));

    m_form->MnuViewWaku()->trigger();
    QVERIFY(m_form->MnuViewWaku()->isChecked());
    for (int index = 0; index < 3; ++index) {
        QVERIFY(m_form->shpK_Waku().isShapeVisible(index));
    }
}

void Form1SignboardTest::reset_whileHidden_clearsAndMovesTheHiddenBox()
{
    m_dialog.answers << writeImage(QStringLiteral("board.bmp"), QSize(60, 20), "BMP");
    m_form->MnuSetKanban_Click();
    m_form->MnuViewKanban_Click();
    m_form->MnuViewWaku_Click();
    m_form->setKanbanLeft(30);

    m_form->MnuKanbanReset()->trigger();

    QCOMPARE(m_form->signboard().rect(), QRect(3450, 2010, 1410, 450));
    QVERIFY(m_form->PicKanban()->picture().isNull());
    QVERIFY(m_form->PicKanban()->isHidden());
    QVERIFY(!m_form->MnuViewKanban()->isChecked());
    QVERIFY(!m_form->MnuViewWaku()->isChecked());
    QVERIFY(!m_form->shpK_Waku().isShapeVisible(2));
    QCOMPARE(m_form->shpK_Waku().shape(2), QRect(3375, 2460, 1560, 60));
    QVERIFY(!m_form->KanbanPath().isEmpty());
}

void Form1SignboardTest::reset_afterLargePicture_returnsToDesignSize()
{
    m_dialog.answers << writeImage(QStringLiteral("large.bmp"), QSize(400, 150), "BMP");
    m_form->MnuSetKanban_Click();
    QCOMPARE(m_form->PicKanban()->size(), QSize(404, 154));

    m_form->MnuKanbanReset_Click();

    QCOMPARE(m_form->signboard().rect(), QRect(3450, 2010, 1410, 450));
    QCOMPARE(m_form->PicKanban()->geometry(), QRect(230, 134, 94, 30));
    QCOMPARE(m_form->shpK_Waku().shape(0), QRect(3375, 2010, 75, 465));
    QCOMPARE(m_form->shpK_Waku().shape(1), QRect(4860, 2010, 75, 465));
    QCOMPARE(m_form->shpK_Waku().shape(2), QRect(3375, 2460, 1560, 60));
}

void Form1SignboardTest::drag_movesTheBoxByWholePixelsAndNotTheFrame()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->setKanbanLeft(3457); // between pixels: the drag lands on whole pixels
    SignboardBox *box = m_form->PicKanban();
    const QPoint start = box->pos();
    const SignboardFrame frameBefore = m_form->shpK_Waku();

    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(box, QPoint(10, 10) + QPoint(-100, 30));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, 10));

    QCOMPARE(box->pos(), start + QPoint(-100, 30));
    QCOMPARE(m_form->signboard().rect().topLeft(), (start + QPoint(-100, 30)) * 15);
    for (int index = 0; index < 3; ++index) {
        QCOMPARE(m_form->shpK_Waku().shape(index), frameBefore.shape(index));
    }

    QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(box->pos(), start + QPoint(-100, 30));
    QCOMPARE(m_form->shpK_Waku().shape(0).topLeft(), (start + QPoint(-100, 30)) * 15 - QPoint(75, 0));
}

void Form1SignboardTest::presses_onTheBox_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("openings");
    QTest::newRow("right opens the menu") << int(Qt::RightButton) << 1;
    QTest::newRow("middle does nothing") << int(Qt::MiddleButton) << 0;
    QTest::newRow("left opens no menu") << int(Qt::LeftButton) << 0;
}

void Form1SignboardTest::presses_onTheBox()
{
    QFETCH(int, button);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    SignboardBox *box = m_form->PicKanban();
    const QPoint start = box->pos();

    const int openings = menuOpenings(*m_form, [box, button] {
        QTest::mousePress(box, Qt::MouseButton(button), {}, QPoint(10, 10));
        QTest::mouseMove(box, QPoint(30, 20));
        QTest::mouseRelease(box, Qt::MouseButton(button), {}, QPoint(30, 20));
    });

    QTEST(openings, "openings");
    // Only the left button drags.
    QCOMPARE(box->pos() != start, button == int(Qt::LeftButton));
}

void Form1SignboardTest::rightPress_whereTheHiddenBoxIs_opensTheMenuFromTheBus()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->MnuViewKanban()->trigger();
    const QPoint centre = m_form->PicKanban()->geometry().center();
    QCOMPARE(m_form->childAt(centre), nullptr);

    const int openings = menuOpenings(*m_form, [this, centre] {
        QTest::mousePress(m_form.get(), Qt::RightButton, {}, centre);
        QTest::mouseRelease(m_form.get(), Qt::RightButton, {}, centre);
    });
    QCOMPARE(openings, 1);
}

void Form1SignboardTest::settingsAccessors_moveAndLoadWithoutTouchingTheFrame()
{
    const SignboardFrame frameBefore = m_form->shpK_Waku();
    m_form->setKanbanLeft(1005);
    m_form->setKanbanTop(-30);
    QCOMPARE(m_form->PicKanban()->pos(), QPoint(67, -2));

    QVERIFY(!m_form->setKanbanPicture(m_dir.filePath(QStringLiteral("missing.bmp"))));
    QVERIFY(m_form->setKanbanPicture(QString())); // the empty picture
    QCOMPARE(m_form->shpK_Waku().shape(0), frameBefore.shape(0));
    QVERIFY(m_form->setKanbanPicture(writeImage(QStringLiteral("b.bmp"), QSize(30, 30), "BMP")));
    QVERIFY(m_form->KanbanPath().isEmpty());
    // The resize handling followed the new size; the posts keep their heights until a full placement.
    QCOMPARE(m_form->shpK_Waku().shape(0), QRect(930, -30, 75, 495));
    QCOMPARE(m_form->shpK_Waku().shape(2), QRect(930, -30 + 34 * 15, 34 * 15 + 150, 60));
}

QTEST_MAIN(Form1SignboardTest)
#include "form1_signboard_test.moc"
