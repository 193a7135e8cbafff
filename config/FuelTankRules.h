#pragma once

#include "config/LineRule.h"

#include <vector>

// Kilograms of fuel per US gallon; the file takes tank quantities in gallons.
inline constexpr double kKgPerGallon = 3.028328;

// The nine tank lines of the file's fuel section, in the order they are tested: Center2 (tank
// 12), External1, LeftAux (group I), LeftTip (tank 8), Center1 (group II), External2, RightAux,
// RightTip, Center3. Both halves of the wing get the same quantity; the service tanks 1 and 3
// (External1, External2) are always written full.
std::vector<LineRule> MakeFuelTankRules(float tank12, float group1, float group2, float tank8);
