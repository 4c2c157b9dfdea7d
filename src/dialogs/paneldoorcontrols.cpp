#include "dialogs/paneldoorcontrols.h"

#include "dialogs/frmset.h"

#include <QAbstractButton>
#include <QScrollBar>

PanelDoorControls::PanelDoorControls(std::function<frmSet *()> panel)
    : m_panel(std::move(panel))
{
}

bool PanelDoorControls::frontOpen() const
{
    return m_panel()->Check1()->isChecked();
}

bool PanelDoorControls::middleOpen() const
{
    return m_panel()->Check2()->isChecked();
}

int PanelDoorControls::frontSpeed() const
{
    return m_panel()->HScroll1()->value();
}

int PanelDoorControls::middleSpeed() const
{
    return m_panel()->HScroll2()->value();
}

MiddleDoorMode PanelDoorControls::middleMode() const
{
    return m_panel()->middleDoorMode();
}
