// Dialog units to pixels, rounded as Windows's MulDiv rounds.
#include "res/DialogTemplates.h"
#include "support/TestSupport.h"
#include "ui/DialogTemplate.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

struct MulDivCase {
    int number, numerator, denominator, result;
};

void PrintTo(const MulDivCase& c, std::ostream* out) {
    *out << c.number << " * " << c.numerator << " / " << c.denominator;
}

class MulDivTest : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsHalfAwayFromZero) {
    const MulDivCase& c = GetParam();
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result);
}

INSTANTIATE_TEST_SUITE_P(Values, MulDivTest,
                         ::testing::Values(MulDivCase{430, 6, 4, 645}, MulDivCase{230, 13, 8, 374},
                                           MulDivCase{5, 13, 8, 8}, MulDivCase{73, 13, 8, 119},
                                           MulDivCase{1, 3, 2, 2}, MulDivCase{-1, 3, 2, -2},
                                           MulDivCase{1, -3, 2, -2}, MulDivCase{3, 1, -2, -2},
                                           MulDivCase{7, 1, 0, -1}, MulDivCase{INT_MAX, 2, 1, -1},
                                           MulDivCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX}),
                         [](const ::testing::TestParamInfo<MulDivCase>& info) {
                             const MulDivCase& c = info.param;
                             return CaseName(std::to_string(c.number) + "_" +
                                             std::to_string(c.numerator) + "_" +
                                             std::to_string(c.denominator));
                         });

TEST(DialogUnitsToPixels, ConvertsWithTheDialogFontsBaseUnits) {
    EXPECT_EQ(DialogUnitsToPixels(0, 0, 430, 230), (PixelRect{0, 0, 645, 374}));
    // The aircraft picture lands on its bitmap's own size.
    EXPECT_EQ(DialogUnitsToPixels(6, 5, 418, 73), (PixelRect{9, 8, 627, 119}));
    EXPECT_EQ(DialogUnitsToPixels(79, 40, 40, 14), (PixelRect{119, 65, 60, 23}));
}

TEST(DialogUnitsToPixels, ScalesThePixelsAt100PercentByTheScreensDpi) {
    EXPECT_EQ(DialogUnitsToPixels(0, 0, 430, 230, 144), (PixelRect{0, 0, 968, 561}));
    EXPECT_EQ(DialogUnitsToPixels(6, 5, 418, 73, 144), (PixelRect{14, 12, 940, 179}));
    EXPECT_EQ(DialogUnitsToPixels(0, 0, 430, 230, 192), (PixelRect{0, 0, 1290, 748}));
}

// Controls apart in the template stay apart at every scale: rounding never makes them overlap.
TEST(DialogUnitsToPixels, NoTwoControlsApartInATemplateOverlapAtAnyScale) {
    const auto overlap = [](const PixelRect& a, const PixelRect& b) {
        return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
    };
    for (const DialogTemplate* page : {&g_payloadPageTemplate, &g_fuelPageTemplate}) {
        for (const int dpi : {96, 120, 144, 168, 192, 240}) {
            for (const ControlTemplate& a : page->controls) {
                for (const ControlTemplate& b : page->controls) {
                    if (&a == &b || overlap({a.x, a.y, a.w, a.h}, {b.x, b.y, b.w, b.h}))
                        continue;
                    EXPECT_FALSE(overlap(DialogUnitsToPixels(a.x, a.y, a.w, a.h, dpi),
                                         DialogUnitsToPixels(b.x, b.y, b.w, b.h, dpi)))
                        << page->id << ": \"" << a.text << "\" and \"" << b.text << "\" at " << dpi;
                }
            }
        }
    }
}

} // namespace
