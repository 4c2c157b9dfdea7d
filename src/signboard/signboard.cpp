#include "signboard/signboard.h"

#include "core/twips.h"

bool Signboard::setPicture(const Picture &picture)
{
    m_picture = picture;
    if (picture.isNull()) {
        return false;
    }
    const QSize size = sizeForPicture(picture.size());
    const bool changed = size != m_rect.size();
    m_rect.setSize(size);
    return changed;
}

bool Signboard::reset()
{
    m_picture = Picture();
    const bool changed = m_rect.size() != DesignRect.size();
    m_rect = DesignRect;
    return changed;
}

QSize Signboard::sizeForPicture(QSize pixels)
{
    return {
        Twips::fromPixels(pixels.width() + 2 * BorderPixels), Twips::fromPixels(pixels.height() + 2 * BorderPixels)};
}
