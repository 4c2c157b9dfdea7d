#include "doors/busdoors.h"

#include "core/twips.h"
#include "picture/rasterpicture.h"
#include "resources/resourcepaths.h"

#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <utility>

BusDoors::BusDoors(QWidget *busWindow, DoorControls &controls, Pacer *pacer, SoundOutput *sound)
    : QObject(busWindow)
    , m_busWindow(busWindow)
    // The leaves repaint many times while a door moves: they are drawn from raster copies made at
    // the screen's pixel ratio, not from their vectors each time. The copies are made on worker
    // threads while the windows are being set up.
    , m_frontPicture(prerenderedSvgPicture(ResourcePaths::frontDoor(), QSize(69, 152)))
    , m_middlePictures{prerenderedSvgPicture(ResourcePaths::middleLeft(), QSize(56, 152)),
          prerenderedSvgPicture(ResourcePaths::middleRight(), QSize(56, 152))}
    , m_sounds(sound)
    , m_animation(m_leaves, controls, pacer, m_sounds, [this](const QRect &changed) {
        // At once, without running the event loop: the movement holds the thread.
        m_busWindow->repaint(Twips::toPixels(changed).adjusted(-1, -1, 1, 1));
    })
{
    setObjectName(QStringLiteral("busDoors"));
}

void BusDoors::runFrontDoor()
{
    run(&DoorAnimation::runFrontDoor);
}

void BusDoors::runMiddleDoor()
{
    run(&DoorAnimation::runMiddleDoor);
}

void BusDoors::run(void (DoorAnimation::*movement)())
{
    const bool outer = !std::exchange(m_moving, true);
    // Each movement draws at most once per refresh interval of the screen the window is on.
    m_animation.setRefreshRate(m_busWindow->screen()->refreshRate());
    (m_animation.*movement)();
    if (!outer) {
        return;
    }
    m_moving = false;
    if (const std::function<void()> action = std::exchange(m_afterMovement, {})) {
        action();
    }
}

void BusDoors::whenStill(std::function<void()> action)
{
    if (m_moving) {
        m_afterMovement = std::move(action);
        return;
    }
    action();
}

bool BusDoors::takePress(QPoint twips, bool leftButton)
{
    m_frontPressed = false;
    if (m_leaves.frontLeaf().contains(twips)) {
        m_frontPressed = leftButton;
        return true;
    }
    return m_leaves.middleLeaf(0).contains(twips) || m_leaves.middleLeaf(1).contains(twips);
}

bool BusDoors::isFrontDoorClick(QPoint twips, bool leftButton)
{
    return std::exchange(m_frontPressed, false) && leftButton && m_leaves.frontLeaf().contains(twips);
}

void BusDoors::paint(QPainter *painter, const QRect &exposed) const
{
    const auto drawLeaf = [&](const Picture &picture, const QRect &leafTwips) {
        const QRectF leaf = Twips::toPixelsF(leafTwips);
        if (leaf.intersects(exposed)) {
            picture.draw(painter, leaf);
        }
    };
    drawLeaf(m_frontPicture, m_leaves.frontLeaf());
    for (int index = 0; index < 2; ++index) {
        drawLeaf(m_middlePictures[index], m_leaves.middleLeaf(index));
    }
}
