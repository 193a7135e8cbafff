#pragma once

#include "config/FileOps.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the aircraft's own Aircraft.cfg says of its weight and balance: the values of
// [WEIGHT_AND_BALANCE], the tanks of [fuel] and the wing of [airplane_geometry], as the simulator
// reads them. Weights in pounds, positions in feet along the aircraft (positive forward), fuel in
// US gallons. A value the file lacks, or holds in a form that cannot be read, is absent.
struct AircraftData {
    std::optional<double> maxGrossWeight; // max_gross_weight
    std::optional<double> emptyWeight;    // empty_weight
    // Every position of the file, this one, the stations', the tanks' and the wing's apex, is
    // measured from the reference datum (reference_datum_position places the datum in the model,
    // which moves none of them against each other).
    std::optional<double> emptyWeightCg; // empty_weight_CG_position

    struct Station {
        int index = 0;     // N of station_load.N
        double weight = 0; // pounds
        double position = 0;
        bool operator==(const Station&) const = default;
    };
    std::vector<Station> stations;

    struct Tank {
        std::string name; // the key as the simulator names the tank ("Center1", "LeftAux")
        double position = 0;
        double gallons = 0; // the quantity the line holds
        bool operator==(const Tank&) const = default;
    };
    std::vector<Tank> tanks;

    // The wing: its area (square feet), span and root chord (feet), the sweep of its leading
    // edge (degrees) and the position of its apex, the leading edge at the root.
    std::optional<double> wingArea, wingSpan, wingRootChord, wingSweep, wingApex;

    bool operator==(const AircraftData&) const = default;
};

// The data of a file's content: bytes as the file holds them, UTF-16 with its byte-order mark
// included. Section and key names in any letter case, blanks and tabs around "=", comments after
// ";" or "//", lines and sections missing or in any order; of a key given twice, the first.
AircraftData ParseAircraftData(std::string_view content);

// The data of the Aircraft.cfg in the current folder, found as the rewrite finds it. Nothing is
// written and nothing is shown: a file that cannot be found or read gives no data.
AircraftData ReadAircraftData(FileOps& ops);
