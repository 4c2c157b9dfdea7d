#include "metafile/metafileplayer_p.h"

#include <algorithm>
#include <cmath>

namespace Metafile {

namespace {

// Boolean operations on clip paths grow with every step; a picture that keeps cutting its clip
// region into pieces keeps the last clip it could afford instead of slowing to a halt.
constexpr int MaxClipElements = 20000;

} // namespace

// ---- Clipping ----

void Player::applyClip()
{
    m_painter.setTransform(m_deviceToImage);
    if (m_state.clip) {
        m_painter.setClipPath(withinReach(*m_state.clip));
    } else {
        m_painter.setClipping(false);
    }
}

void Player::resetClip()
{
    m_state.clip.reset();
    applyClip();
}

void Player::intersectClipRect(const QRectF &r)
{
    combineClipRect(r, 1); // RGN_AND
}

void Player::excludeClipRect(const QRectF &r)
{
    combineClipRect(r, 4); // RGN_DIFF
}

void Player::combineClipRect(const QRectF &r, int mode)
{
    QPointF a;
    QPointF b;
    if (!mapPoint(r.topLeft(), &a) || !mapPoint(r.bottomRight(), &b)) {
        return;
    }
    QPainterPath rect;
    rect.addRect(QRectF(a, b).normalized());
    selectClipRegion(rect, mode);
}

void Player::offsetClip(QPointF logicalOffset)
{
    if (!m_state.clip) {
        return;
    }
    QPointF origin;
    QPointF moved;
    if (!mapPoint(QPointF(0, 0), &origin) || !mapPoint(logicalOffset, &moved)) {
        return;
    }
    m_state.clip->translate(moved - origin);
    applyClip();
}

void Player::selectClipRegion(const QPainterPath &region, int mode)
{
    if (region.elementCount() > MaxClipElements) {
        return;
    }
    // The whole device surface, for operations on "no clip".
    QPainterPath everything;
    everything.addRect(m_deviceToImage.inverted().mapRect(QRectF(m_image->rect())).adjusted(-1, -1, 1, 1));
    const QPainterPath current = m_state.clip ? *m_state.clip : everything;
    QPainterPath result;
    switch (mode) {
    case 1: // RGN_AND
        result = current.intersected(region);
        break;
    case 2: // RGN_OR
        result = current.united(region);
        break;
    case 3: // RGN_XOR
        result = current.united(region).subtracted(current.intersected(region));
        break;
    case 4: // RGN_DIFF
        result = current.subtracted(region);
        break;
    case 5: // RGN_COPY
        result = region;
        break;
    default:
        return;
    }
    if (result.elementCount() > MaxClipElements) {
        return;
    }
    m_state.clip = result;
    applyClip();
}

// ---- Paths ----

void Player::beginPath()
{
    m_path = QPainterPath();
    m_path->setFillRule(m_state.fillRule);
}

void Player::endPath()
{
    if (m_path) {
        m_finishedPath = *m_path;
        m_finishedPath.setFillRule(m_state.fillRule);
        m_hasFinishedPath = true;
        m_path.reset();
    }
}

void Player::abortPath()
{
    m_path.reset();
    m_hasFinishedPath = false;
}

void Player::closeFigure()
{
    if (m_path) {
        m_path->closeSubpath();
    }
}

void Player::fillPath()
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    m_finishedPath.setFillRule(m_state.fillRule);
    drawShape(m_finishedPath, true, false);
    m_hasFinishedPath = false;
}

void Player::strokePath()
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    drawShape(m_finishedPath, false, true);
    m_hasFinishedPath = false;
}

void Player::strokeAndFillPath()
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    m_finishedPath.setFillRule(m_state.fillRule);
    drawShape(m_finishedPath, true, true);
    m_hasFinishedPath = false;
}

void Player::selectClipPath(int mode)
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    QPainterPath region = m_finishedPath.translated(-0.5, -0.5);
    region.closeSubpath();
    selectClipRegion(region, mode);
    m_hasFinishedPath = false;
}

} // namespace Metafile
