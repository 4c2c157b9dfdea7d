#pragma once

#include "picture/picture.h"

#include <QWidget>

// The decoration `picSlideBase1` at the bus window's right edge, placed by itself: a picture box with
// the interior picture and the image `Image2` inside it. Nothing refers to it; it only has to look right.
class DecorationBox final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DecorationBox)

public:
    explicit DecorationBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    Picture m_picture;
    Picture m_image2;
};
