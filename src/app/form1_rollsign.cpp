// The roll-sign operations of the bus window.
#include "form1.h"

#include "rollsignbox.h"

void Form1::picDir()
{
}

void Form1::Picture1_KeyDown(int, int)
{
}

void Form1::Picture1_Click()
{
    m_picture1->setFocus(Qt::MouseFocusReason);
}

void Form1::ImgDesiMaku_Click()
{
    m_picture1->setFocus(Qt::MouseFocusReason);
}

void Form1::Image1_Click(int)
{
    m_picture1->setFocus(Qt::MouseFocusReason);
}
