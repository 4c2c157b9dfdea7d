// The signboard and frame operations of the bus window.
#include "form1.h"

void Form1::PicKanban_MouseDown(int, int, double, double)
{
}

void Form1::PicKanban_DblClick()
{
}

void Form1::PicKanban_Resize()
{
}

void Form1::MnuViewKanban_Click()
{
}

void Form1::MnuViewWaku_Click()
{
}

void Form1::MnuSetKanban_Click()
{
}

void Form1::MnuKanbanReset_Click()
{
}
