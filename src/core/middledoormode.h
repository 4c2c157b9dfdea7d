#pragma once

// Which leaves of the middle door move: the option buttons `Option1(0..2)` of the settings panel,
// in the order of their indices, which is also the number the settings line stores.
enum class MiddleDoorMode : int { Both = 0, LeftLeaf = 1, RightLeaf = 2 };
