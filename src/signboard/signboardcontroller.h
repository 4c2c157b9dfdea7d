#pragma once

#include "signboard/signboard.h"
#include "signboard/signboardframe.h"

#include <QObject>

#include <functional>

class OpenFileDialog;
class QAction;
class QMenu;
class QPainter;
class QRegion;
class QWidget;
class SignboardBox;

// The signboard as the bus window shows it: the value `Signboard` (its rectangle, picture, shown
// state and `KanbanPath`), its box `PicKanban` on the bus window, its frame `shpK_Waku` and the
// pop-up menu `MnuTempMenu1` whose items work them. It decides everything the signboard does:
// where the frame goes around the box (`placeFrame`) and how it follows a size change
// (`followResize`), showing and hiding the box and the frame, taking a picture, moving and
// dragging the box, and the reset. The box and the menu are children of the bus window; the frame
// is windowless, so the bus window paints it (`paintFrame`) and is asked to repaint where its
// shapes were and are.
//
// The ticks of `MnuViewKanban` and `MnuViewWaku` are the shown/hidden switches that the settings
// keep: an item's click applies the opposite of its tick, then flips the tick.
//
// A picture that changes the box's size runs the frame's resize handling at once; the full
// placement around the box is left to the caller, as the double-click that brings the frame back
// is the user's.
class SignboardController final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignboardController)

public:
    // Asks the bus window to repaint a region of its client area (pixels) at once.
    using Repaint = std::function<void(const QRegion &pixels)>;

    // The box and the menu are made as children of `busWindow`. The picture is chosen in
    // `openFile` (may be null: nothing is chosen), owned by the window `dialogOwner` gives then.
    SignboardController(
        QWidget *busWindow, Repaint repaint, OpenFileDialog *openFile, std::function<QWidget *()> dialogOwner);

    const Signboard &signboard() const { return m_signboard; }
    const SignboardFrame &frame() const { return m_frame; }
    SignboardBox *box() const { return m_box; }

    // `KanbanPath`, the signboard picture's file.
    QString path() const { return m_signboard.path(); }
    void setPath(const QString &path) { m_signboard.setPath(path); }

    // Pops the menu up at the pointer; returns when it has closed.
    void popUpMenu();
    // A press on the box: the left button starts a drag, the right one pops the menu up.
    void boxMouseDown(int button);

    // The menu's switches: `MnuViewKanban_Click` and `MnuViewWaku_Click` (the frame is placed
    // around the box too), and their ticks.
    void toggleBoxShown();
    void toggleFrameShown();
    bool isBoxTicked() const;
    bool isFrameTicked() const;

    // The stored signboard at start-up: shows or hides the box and the frame and sets the ticks,
    // moves the box (twips), loads the picture of `KanbanPath` and places the frame around the box.
    // Returns false, leaving the rest undone, when the picture cannot be read.
    [[nodiscard]] bool restore(bool boxShown, bool frameShown, int left, int top);

    // Places the frame around the box.
    void placeFrame();
    // The frame follows a change of the box's size.
    void followResize();

    // Moves the box (twips of the client area); the frame stays where it is until placeFrame().
    void setLeft(int twips);
    void setTop(int twips);
    // Moves the box to `topLeft` (pixels of the client area), as a drag does.
    void dragTo(QPoint topLeft);

    void setBoxShown(bool shown);
    // Shows or hides the frame's three shapes together.
    void setFrameShown(bool shown);

    // Loads the picture at `path` and gives it to the box, which takes its size. An empty path
    // gives the empty picture. Returns false, changing nothing, when the file is not a readable
    // picture. Neither `KanbanPath` nor the visibility is touched.
    [[nodiscard]] bool setPicture(const QString &path);
    // The picture chosen in the Open-file dialog: on a readable picture it becomes the box's,
    // `KanbanPath` takes the file and the frame is placed around the box. A cancelled dialog, a
    // missing file or one that is not a picture changes nothing.
    void choosePicture();
    // Empties the picture and puts the box back at its design place and size; the frame is
    // placed around it. The visibility and `KanbanPath` stay as they are.
    void reset();

    // Paints the shown shapes of the frame, in pixels of the client area.
    void paintFrame(QPainter *painter) const;

private:
    void createMenu(QWidget *busWindow);
    void assignPicture(const Picture &picture);
    // Puts the box widget where the signboard's twip rectangle says, shown or hidden.
    void syncBox();
    // Runs `change` on the frame and repaints where its shapes were and are.
    void changeFrame(const std::function<void()> &change);

    Signboard m_signboard;
    SignboardFrame m_frame;
    SignboardBox *m_box;
    Repaint m_repaint;
    OpenFileDialog *m_openFile;
    std::function<QWidget *()> m_dialogOwner;
    QMenu *m_mnuTempMenu1 = nullptr;
    QAction *m_mnuViewKanban = nullptr;
    QAction *m_mnuViewWaku = nullptr;
};
