#pragma once

#include "picture/picture.h"

#include <QAbstractButton>

// A check box drawn as a toggle button with a picture on it: raised while unchecked, pressed in
// while checked (sunken edge, darker face, picture shifted down and right by one pixel), so the
// door's state can be read from the panel at a glance.
class PictureToggle final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PictureToggle)

public:
    PictureToggle(const Picture &picture, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
};
