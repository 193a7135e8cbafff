#include "fuel/FuelPlan.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"

namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {K::GroupBox, kNoControlId, "Данные о маршруте", kStyleNone, 6, 18, 153, 198},
    {K::Static, kNoControlId, "Дальность полета", kStyleNone, 11, 43, 64, 8},
    {K::Edit, IDC_RANGE, "", kStyleNone, 79, 40, 40, 14},
    {K::Static, kNoControlId, "км", kStyleNone, 124, 43, 10, 8},
    {K::Static, kNoControlId, "Эшелон полета ", kStyleNone, 11, 75, 54, 8},
    {K::ComboBox, IDC_FLIGHT_LEVEL, "", kStyleNone, 79, 73, 65, 123, 0, kFlightLevels},
    {K::Static, kNoControlId, "м", kStyleNone, 148, 75, 8, 8},
    {K::Static, kNoControlId,
     "Составляющая попутного или встречного (со знаком минус) ветра на эшелоне ", kStyleTransparent,
     11, 105, 146, 19},
    {K::Edit, IDC_WIND, "", kStyleNone, 79, 131, 40, 14},
    {K::Static, kNoControlId, "км/час", kStyleNone, 125, 134, 25, 8},
    {K::Static, kNoControlId,
     "Аэронавигационный запас топлива. Не менее 60, для Артики и Антарктики  - 120", kStyleNone, 11,
     159, 146, 18},
    {K::Edit, IDC_RESERVE, "", kStyleNone, 79, 185, 40, 14},
    {K::Static, kNoControlId, "мин", kStyleNone, 125, 188, 14, 8},
    {K::GroupBox, kNoControlId, "Количество топлива, заправляемого в группы баков", kStyleNone, 163,
     18, 260, 106},
    {K::GroupBox, kNoControlId, "На одну половину крыла, кг", kStyleNone, 173, 32, 185, 83},
    {K::Static, kNoControlId, "I группа (основная)", kStyleCentered, 191, 50, 73, 12},
    // The first letter is the Latin c, as the page has always shown it.
    {K::Static, kNoControlId, "c 1-го по \n7-й бак", kStyleCentered, 187, 67, 36, 18},
    {K::Static, kNoControlId, "бак № 8", kStyleCentered, 228, 68, 36, 10},
    {K::Static, kNoControlId, "II группа \n(дополнительная)\nс 9-го по 11-й бак", kStyleCentered,
     291, 50, 59, 28},
    {K::Edit, IDC_GROUP1, "", kStyleReadOnly, 185, 91, 40, 14},
    {K::Edit, IDC_TANK8, "", kStyleReadOnly, 226, 91, 40, 14},
    {K::Edit, IDC_GROUP2, "", kStyleReadOnly, 302, 91, 40, 14},
    {K::Static, kNoControlId, "Количество топлива в баке № 12, кг", kStyleCentered, 363, 50, 54,
     28},
    {K::Edit, IDC_TANK12, "", kStyleReadOnly, 371, 91, 40, 14},
    {K::Static, kNoControlId, "Всего \nна самолет, кг", kStyleCentered, 197, 135, 58, 20},
    {K::Edit, IDC_TOTAL_FUEL, "", kStyleNone, 198, 155, 56, 14},
    {K::Static, kNoControlId, "Десятки КГ на каждый расходометр РТМС-1.2-Б1", kStyleNone, 305, 135,
     94, 20},
    {K::Edit, IDC_FLOWMETER, "", kStyleReadOnly, 305, 155, 58, 14},
    {K::PushButton, IDC_CALCULATE_FUEL, "Расчитать топливо", kStyleDefault, 214, 190, 84, 19},
    {K::PushButton, IDC_FILL_FUEL, "Залить топливо", kStyleSunkenEdge, 315, 190, 84, 19},
};

} // namespace

const DialogTemplate g_fuelPageTemplate = {IDD_FUEL_PAGE, "Топливо", 430, 230, kControls};
