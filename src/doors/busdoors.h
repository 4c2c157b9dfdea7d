#pragma once

#include "doors/dooranimation.h"
#include "doors/doorleaves.h"
#include "doors/doorsounds.h"
#include "picture/picture.h"

#include <QObject>

#include <functional>

class DoorControls;
class Pacer;
class QPainter;
class QWidget;
class SoundOutput;

// The bus's two doors as the bus window shows them: the leaves `Image1(2)` and `imgNakaorido`,
// their pictures, the sounds and the two movements. A movement runs to its end inside one call
// and holds the user-interface thread meanwhile; each step shown is repainted at once on the bus
// window, as often as the window's screen shows a new picture. The leaves are windowless: the bus
// window paints them (`paint`) over the bus.
//
// Something asked for while a door moves (a close by a termination signal, which the middle
// door's one event pass can let in) waits for the end of the movement, as queued input does.
class BusDoors final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BusDoors)

public:
    // Repaints `busWindow`; `controls` are the live door settings. None is owned; `pacer` and
    // `sound` may be null (no pauses, no sound).
    BusDoors(QWidget *busWindow, DoorControls &controls, Pacer *pacer, SoundOutput *sound);

    const DoorLeaves &leaves() const { return m_leaves; }

    // Opens or shuts the front door, or the middle door with its sounds, as the toggles say.
    void runFrontDoor();
    void runMiddleDoor();

    // Runs `action` at once when no door moves, otherwise once the movement has ended. Only the
    // last action asked for during one movement runs.
    void whenStill(std::function<void()> action);

    // The leaves are images that take their own presses, so a press on them never reaches the bus
    // picture: true when a press at `twips` (client area) went down on a leaf. Only the front
    // door `Image1(2)` has a click, the release of a left press on it over it.
    bool takePress(QPoint twips, bool leftButton);
    bool isFrontDoorClick(QPoint twips, bool leftButton);

    // Paints the leaves that lie in `exposed` (pixels of the client area).
    void paint(QPainter *painter, const QRect &exposed) const;

private:
    void run(void (DoorAnimation::*movement)());

    QWidget *m_busWindow;
    Picture m_frontPicture;
    Picture m_middlePictures[2];
    DoorLeaves m_leaves;
    DoorSounds m_sounds;
    DoorAnimation m_animation;
    bool m_frontPressed = false; // a left press went down on the front door
    bool m_moving = false;
    std::function<void()> m_afterMovement;
};
