#include "dialogs/picturetoggle.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

const QColor Face(240, 240, 240);
const QColor PressedFace(205, 205, 205);
const QColor Light(255, 255, 255);
const QColor Shadow(160, 160, 160);
const QColor DarkShadow(64, 64, 64);

// A two-pixel edge: `outerTopLeft`/`outerBottomRight` outside, the inner pair inside.
void drawEdge(QPainter &painter,
    QRect rect,
    const QColor &outerTopLeft,
    const QColor &outerBottomRight,
    const QColor &innerTopLeft,
    const QColor &innerBottomRight)
{
    for (const auto &[topLeft, bottomRight] :
        {std::pair{outerTopLeft, outerBottomRight}, std::pair{innerTopLeft, innerBottomRight}}) {
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

} // namespace

PictureToggle::PictureToggle(const Picture &picture, QWidget *parent)
    : QAbstractButton(parent)
    , m_picture(picture)
{
    setCheckable(true);
    // A click gives it the focus, as on any button, so Space then works it.
    setFocusPolicy(Qt::StrongFocus);
}

QSize PictureToggle::sizeHint() const
{
    return m_picture.size() + QSize(8, 8);
}

void PictureToggle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool pressed = isChecked() || isDown();
    painter.fillRect(rect(), pressed ? PressedFace : Face);
    if (pressed) {
        drawEdge(painter, rect(), DarkShadow, Light, Shadow, Face);
    } else {
        drawEdge(painter, rect(), Light, DarkShadow, Face, Shadow);
    }

    QRect picture(QPoint(0, 0), m_picture.size());
    picture.moveCenter(rect().center());
    if (pressed) {
        picture.translate(1, 1);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setOpacity(0.5);
    }
    m_picture.draw(&painter, picture);
    painter.setOpacity(1.0);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
