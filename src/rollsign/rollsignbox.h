#pragma once

#include "picture/picture.h"

#include <QWidget>

// The roll-sign box `Picture1` with the face `ImgDesiMaku` inside it. It shows the face at its own
// size from its top-left corner over a white background, clipped by the box, and reports the keys
// and clicks that the bus window turns into stepping and focus. It holds no stepping logic.
class RollSignBox final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RollSignBox)

public:
    explicit RollSignBox(QWidget *parent = nullptr);

    // The picture of `ImgDesiMaku`.
    Picture face() const { return m_face; }
    void setFace(const Picture &face);

signals:
    // A key went down while the box had the focus. `keyCode` is the platform-neutral virtual-key
    // code (38 Up, 40 Down, letters and digits as their upper-case character codes).
    void keyDown(int keyCode, int shift);
    // A click on the face `ImgDesiMaku` or on the box around it.
    void imageClicked();
    void boxClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Picture m_face;
    bool m_pressed = false;
};
