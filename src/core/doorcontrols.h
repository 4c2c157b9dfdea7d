#pragma once

// Which leaves of the middle door move: the option buttons `Option1(0..2)` of the settings panel,
// in the order of their indices, which is also the number the settings line stores.
enum class MiddleDoorMode : int { Both = 0, LeftLeaf = 1, RightLeaf = 2 };

// The live door settings as the door animations read them: the toggles, the speed bars and the
// middle-door mode buttons of the settings panel. Every call reads the control as it stands at
// that moment, so a setting changed during a movement is seen at the next read.
class DoorControls
{
public:
    virtual ~DoorControls() = default;

    virtual bool frontOpen() const = 0; // the front-door toggle is checked
    virtual bool middleOpen() const = 0; // the middle-door toggle is checked
    virtual int frontSpeed() const = 0; // pause units after each front-door step, 1 to 30000
    virtual int middleSpeed() const = 0; // the same for the middle door
    virtual MiddleDoorMode middleMode() const = 0;
};
