#include "signboardframe.h"

SignboardFrame::SignboardFrame()
    : m_shapes{QRect(3375, 1995, 75, 495), QRect(4860, 1995, 75, 495), QRect(3375, 2460, 1560, 60)}
{
}
