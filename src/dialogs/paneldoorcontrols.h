#pragma once

#include "core/doorcontrols.h"

#include <functional>

class frmSet;

// The door settings read straight from the settings panel's controls: `Check1`, `Check2`,
// `HScroll1`, `HScroll2` and the `Option1` buttons. The panel is fetched afresh for every read, so
// it is created (hidden) the first time a door needs it.
class PanelDoorControls final : public DoorControls
{
public:
    explicit PanelDoorControls(std::function<frmSet *()> panel);

    bool frontOpen() const override;
    bool middleOpen() const override;
    int frontSpeed() const override;
    int middleSpeed() const override;
    MiddleDoorMode middleMode() const override;

private:
    std::function<frmSet *()> m_panel;
};
