// The door operations of the bus window.
#include "app/form1.h"
#include "dialogs/frmset.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>

#include <utility>

// Both movements hold the user-interface thread until they end: the steps are repainted at once,
// as often as this window's screen shows a new picture, and no input is handled meanwhile; input
// made during a movement waits in the queue and is handled, in order, right afterwards.

void Form1::Check1_Click()
{
    // The toggle shows its new state while the door moves, not only after it.
    settingsPanel()->Check1()->repaint();
    runMovement(&DoorAnimation::runFrontDoor);
}

void Form1::Check2_Click()
{
    settingsPanel()->Check2()->repaint();
    runMovement(&DoorAnimation::runMiddleDoor);
}

void Form1::runMovement(void (DoorAnimation::*movement)())
{
    const bool outer = !std::exchange(m_doorMoving, true);
    // Each movement draws at most once per refresh interval of the screen the window is on.
    m_doorAnimation.setRefreshRate(screen()->refreshRate());
    (m_doorAnimation.*movement)();
    if (!outer) {
        return;
    }
    m_doorMoving = false;
    if (std::exchange(m_closeAfterMovement, false)) {
        close();
    }
}

void Form1::requestClose()
{
    if (m_doorMoving) {
        m_closeAfterMovement = true;
        return;
    }
    close();
}

void Form1::HScroll1_Change()
{
    frmSet *panel = settingsPanel();
    panel->lblMaeSpeed()->setText(QString::number(panel->HScroll1()->value()));
}

void Form1::HScroll2_Change()
{
    frmSet *panel = settingsPanel();
    panel->lblNakaSpeed()->setText(QString::number(panel->HScroll2()->value()));
}
