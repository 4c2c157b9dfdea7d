#pragma once

#include <QString>

#include <cstdint>

// Everything the program keeps between runs, as the one line of its settings file holds it, in the
// order of the line's sixteen fields. Positions are twips: the two windows' outer (frame) places
// in screen coordinates, the signboard's place in the bus window's client area.
struct AppSettings
{
    std::int32_t formLeft = 0;
    std::int32_t formTop = 0;
    std::int32_t panelLeft = 0;
    std::int32_t panelTop = 0;
    QString desiMakuPath; // the roll-sign folder
    QString reservedText; // carried from run to run, used by nothing
    std::int32_t reservedNumber1 = 0;
    std::int32_t reservedNumber2 = 0;
    QString kanbanPath; // the signboard picture file
    std::int32_t kanbanLeft = 0;
    std::int32_t kanbanTop = 0;
    bool kanbanShown = false;
    bool frameShown = false;
    std::int32_t frontSpeed = 0;
    std::int32_t middleSpeed = 0;
    std::int16_t middleDoorMode = 0;

    bool operator==(const AppSettings &) const = default;
};

// The line's fields by name, numbered as they stand in the line, from 1.
enum class SettingsField {
    FormLeft = 1,
    FormTop,
    PanelLeft,
    PanelTop,
    DesiMakuPath,
    ReservedText,
    ReservedNumber1,
    ReservedNumber2,
    KanbanPath,
    KanbanLeft,
    KanbanTop,
    KanbanShown,
    FrameShown,
    FrontSpeed,
    MiddleSpeed,
    MiddleDoorMode,
};

// Which read values the program takes, and the values of a first start. The line holds any
// number that fits its field's type; these rules decide which of them the windows accept.
namespace SettingsRules {

// A door speed is the pause after each step of a door, as the panel's speed bars set it.
constexpr std::int32_t SpeedMin = 1;
constexpr std::int32_t SpeedMax = 30000;

constexpr bool isSpeed(std::int32_t speed)
{
    return speed >= SpeedMin && speed <= SpeedMax;
}

// The middle-door modes: 0 both leaves, 1 the left leaf, 2 the right leaf.
constexpr bool isMiddleDoorMode(std::int16_t mode)
{
    return mode >= 0 && mode <= 2;
}

constexpr std::int32_t FirstStartFrontSpeed = 10000;
constexpr std::int32_t FirstStartMiddleSpeed = 6000;
constexpr std::int16_t FirstStartMiddleDoorMode = 0;

} // namespace SettingsRules
