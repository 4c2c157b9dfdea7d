#pragma once

#include "picture/picture.h"

#include <QRect>
#include <QString>

#include <algorithm>

// The signboard `PicKanban` as the program keeps it: its rectangle in twips of the bus window's
// client area, its picture, whether it is shown, and `KanbanPath`, the file its picture was last
// chosen from. The box sizes itself to its picture: a picture makes it exactly as large as the
// picture plus the border, the empty picture leaves the size alone. Painting, the mouse and the
// frame are left to others; the operations that change the size say so, so the caller can run
// the frame's resize handling.
class Signboard
{
public:
    static constexpr QRect DesignRect{3450, 2010, 1410, 450}; // twips
    static constexpr int BorderPixels = 2; // the sunken border, on every side

    QRect rect() const { return m_rect; }
    int left() const { return m_rect.x(); }
    int top() const { return m_rect.y(); }
    // Positions beyond +-PositionLimit twips (a settings file may hold any 32-bit number) are
    // held at the limit, far outside any screen, so that edges and pixel positions stay
    // computable.
    static constexpr int PositionLimit = 1 << 28;
    void setLeft(int twips) { m_rect.moveLeft(limited(twips)); }
    void setTop(int twips) { m_rect.moveTop(limited(twips)); }
    // Moves the box, keeping its size; `twips` is the new top-left corner.
    void moveTo(QPoint twips) { m_rect.moveTopLeft(QPoint(limited(twips.x()), limited(twips.y()))); }

    Picture picture() const { return m_picture; }
    // Takes the picture; a picture that is not empty sizes the box to it. Returns true if the
    // size changed.
    bool setPicture(const Picture &picture);

    // Empties the picture and puts the box back at its design place and size in one step.
    // Returns true if the size changed. The visibility and `KanbanPath` stay as they are.
    bool reset();

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    // `KanbanPath`: the full path of the picture file last loaded through the menu, or of the
    // stored one after start-up. The reset leaves it alone, so it is saved again at exit.
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    // The box's size in twips for a picture of `pixels` logical pixels: the picture and the border.
    static QSize sizeForPicture(QSize pixels);

private:
    static int limited(int twips) { return std::clamp(twips, -PositionLimit, PositionLimit); }

    QRect m_rect = DesignRect;
    Picture m_picture;
    bool m_visible = true;
    QString m_path;
};
