#include "config/FuelTankRules.h"

#include "common/NumberText.h"

#include <string>

namespace {

std::string TankLine(const char* prefix, float kilograms, const char* suffix) {
    return prefix + FormatFixed3(static_cast<double>(kilograms) / kKgPerGallon) + suffix;
}

} // namespace

std::vector<LineRule> MakeFuelTankRules(float tank12, float group1, float group2, float tank8) {
    return {
        {"Center2",
         TankLine("Center2=-1.640, 0.0, 0.0, ", tank12, ", 0.0   // Tank #12; max: 4950kg \n")},
        {"External1", "External1=-3.609, -19.193, 2.950, 264.172, 0.000  // Raskhodnyi Bak "
                      "(#1, #3); max:800kg \n"},
        {"LeftAux", TankLine("LeftAux=-0.656, -24.606, 2.950, ", group1,
                             ", 0.000\t  // I group of tanks (#2, #4 to #7); max:3850kg \n")},
        {"LeftTip", TankLine("LeftTip=-1.640, -50.200, 3.100, ", tank8,
                             ", 0.000\t  // Tank # 8 (0 group); max:2590kg \n")},
        {"Center1", TankLine("Center1=-1.122, -10.390, 1.960, ", group2,
                             ", 0.000\t  // II  group of tanks (#9 to #11); max:2860kg \n")},
        {"External2",
         "External2=-3.609, 19.193, 2.950, 264.172, 0.000  // Raskhodnyi Bak (#1, #3) \n"},
        {"RightAux", TankLine("RightAux=-0.656, 24.606, 2.950, ", group1,
                              ", 0.000\t  // I group of tanks (#2, #4 to #7) \n")},
        {"RightTip", TankLine("RightTip=-1.640, 50.200, 3.100, ", tank8,
                              ", 0.000\t  // Tank # 8 (0 group) \n")},
        {"Center3", TankLine("Center3=-1.122, 10.390, 1.960, ", group2,
                             ", 0.000\t  // II  group of tanks (#9 to #11) \n")},
    };
}
