// The door operations of the bus window.
#include "form1.h"

#include "frmset.h"

#include <QLabel>
#include <QScrollBar>

void Form1::Check1_Click()
{
}

void Form1::Check2_Click()
{
}

void Form1::HScroll1_Change()
{
    frmSet *panel = settingsPanel();
    panel->lblMaeSpeed()->setText(QString::number(panel->HScroll1()->value()));
}

void Form1::HScroll2_Change()
{
    frmSet *panel = settingsPanel();
    panel->lblNakaSpeed()->setText(QString::number(panel->HScroll2()->value()));
}
