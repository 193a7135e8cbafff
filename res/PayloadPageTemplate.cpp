#include "res/DialogTemplates.h"
#include "res/resource.h"

namespace {

using K = ControlKind;

constexpr std::uint32_t kSlider = kStyleTicksOnTop;

constexpr ControlTemplate kControls[] = {
    {K::Picture, kNoControlId, "", kStyleThinBorder, 6, 5, 418, 73, IDB_AIRCRAFT},
    {K::GroupBox, kNoControlId, "1 салон", kStyleCentered, 7, 79, 135, 40},
    {K::GroupBox, kNoControlId, "2 салон", kStyleCentered, 147, 79, 135, 40},
    {K::GroupBox, kNoControlId, "3 салон", kStyleCentered, 287, 79, 135, 40},
    {K::Slider, IDC_SLIDER_CABIN1, "", kSlider, 9, 92, 100, 21},
    {K::Slider, IDC_SLIDER_CABIN2, "", kSlider, 149, 92, 100, 21},
    {K::Slider, IDC_SLIDER_CABIN3, "", kSlider, 289, 92, 100, 21},
    {K::Edit, IDC_CABIN1, "", kStyleNone, 113, 92, 24, 14},
    {K::Edit, IDC_CABIN2, "", kStyleNone, 253, 92, 24, 14},
    {K::Edit, IDC_CABIN3, "", kStyleNone, 393, 92, 24, 14},
    {K::Static, kNoControlId, "пасс.", kStyleNone, 116, 107, 19, 8},
    {K::Static, kNoControlId, "пасс.", kStyleNone, 256, 107, 19, 8},
    {K::Static, kNoControlId, "пасс.", kStyleNone, 396, 107, 19, 8},
    {K::GroupBox, kNoControlId, "грузовой отсек 1", kStyleCentered, 11, 123, 201, 40},
    {K::Slider, IDC_SLIDER_HOLD1, "", kSlider, 14, 136, 100, 21},
    {K::Edit, IDC_HOLD1_PERCENT, "", kStyleNone, 115, 136, 24, 14},
    {K::Static, kNoControlId, "%", kStyleNone, 140, 139, 8, 8},
    {K::Edit, IDC_HOLD1_KG, "", kStyleNone, 152, 136, 42, 14},
    {K::Static, kNoControlId, "кг.", kStyleNone, 196, 139, 10, 8},
    {K::GroupBox, kNoControlId, "грузовой отсек 2", kStyleCentered, 217, 123, 201, 40},
    {K::Slider, IDC_SLIDER_HOLD2, "", kSlider, 220, 136, 100, 21},
    {K::Edit, IDC_HOLD2_PERCENT, "", kStyleNone, 321, 136, 24, 14},
    {K::Static, kNoControlId, "%", kStyleNone, 346, 139, 8, 8},
    {K::Edit, IDC_HOLD2_KG, "", kStyleNone, 358, 136, 42, 14},
    {K::Static, kNoControlId, "кг.", kStyleNone, 402, 139, 10, 8},
    {K::Edit, IDC_PASSENGERS, "", kStyleReadOnly | kStyleNoBorder, 15, 175, 128, 12},
    {K::Edit, IDC_CARGO, "", kStyleReadOnly | kStyleNoBorder, 15, 190, 129, 12},
    {K::GroupBox, kNoControlId, "", kStyleNone, 11, 165, 313, 58},
    {K::Edit, IDC_MAX_LOAD, "", kStyleReadOnly | kStyleNoBorder, 155, 190, 163, 12},
    {K::Edit, IDC_ACTUAL_LOAD, "", kStyleReadOnly | kStyleNoBorder, 155, 205, 163, 12},
    {K::Edit, IDC_BALANCE, "", kStyleReadOnly | kStyleNoBorder, 15, 205, 129, 12},
    {K::PushButton, IDC_LOAD_PAYLOAD, "Загрузить", kStyleSunkenEdge, 338, 184, 71, 19},
    {K::Edit, IDC_EMPTY_WEIGHT, "", kStyleReadOnly | kStyleNoBorder, 155, 175, 128, 12},
};

} // namespace

const DialogTemplate g_payloadPageTemplate = {IDD_PAYLOAD_PAGE, "Пассажиры и груз", 430, 230,
                                              kControls};
