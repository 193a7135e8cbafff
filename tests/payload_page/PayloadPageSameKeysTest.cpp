// Keys, clicks and window changes on the payload page that must show alike on every backend: the
// sliders' page keys and groove, the summary fields over the page, the sheet restored.

#include "PayloadPageFixture.h"

#include "res/DialogTemplates.h"
#include "ui/DialogTemplate.h"

#include <string>
#include <utility>
#include <vector>

namespace {

struct SliderKeys {
    const char* name;
    std::vector<std::pair<DriverKey, int>> keys; // pressed in turn on hold 1's slider
    const char* kg;                              // hold 1's mass then
};

void PrintTo(const SliderKeys& keys, std::ostream* out) {
    *out << keys.name;
}

class PayloadPageSliderKeysTest : public PayloadPageTest,
                                  public ::testing::WithParamInterface<SliderKeys> {};

// A page is a fifth of the range; PageDown and Down move toward the maximum, as the system's
// slider moves.
TEST_P(PayloadPageSliderKeysTest, KeysMoveTheSliderAsTheSystemsDoes) {
    Driver().Focus(IDC_SLIDER_HOLD1);
    for (const auto& [key, times] : GetParam().keys)
        Driver().PressKey(kFocusedControl, key, times);
    EXPECT_EQ(Driver().Read(IDC_HOLD1_KG), GetParam().kg);
}

INSTANTIATE_TEST_SUITE_P(
    Hold1, PayloadPageSliderKeysTest,
    ::testing::Values(
        SliderKeys{
            "PageDownTwiceAndPageUp", {{DriverKey::PageDown, 2}, {DriverKey::PageUp, 1}}, "400"},
        SliderKeys{"PageUpFromTheEnd", {{DriverKey::End, 1}, {DriverKey::PageUp, 1}}, "1600"},
        SliderKeys{"DownThrice", {{DriverKey::Down, 3}}, "3"},
        SliderKeys{"UpFromTheEnd", {{DriverKey::End, 1}, {DriverKey::Up, 1}}, "1999"}));

TEST_F(PayloadPageTest, ClickOnTheGrooveMovesTheSliderAPage) {
    Driver().Click(IDC_SLIDER_HOLD1); // its middle, right of the thumb at 0
    EXPECT_EQ(Driver().ReadSlider(IDC_SLIDER_HOLD1).position, 400);
    EXPECT_EQ(Driver().Read(IDC_HOLD1_KG), "400");
}

TEST_F(PayloadPageTest, SummaryFieldsShowThePageBehindThem) {
    const RgbImage page = Driver().Grab();
    ASSERT_GT(page.width, 0);
    const DialogTemplate& dialog = *FindDialogTemplate(IDD_PAYLOAD_PAGE);
    // Between the two columns of the summary, inside its frame.
    const int gapX = DialogUnitsToPixels(149, 0, 0, 0).x;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.kind != ControlKind::Edit || (control.style & kStyleNoBorder) == 0)
            continue;
        const PixelRect field = DialogUnitsToPixels(control.x, control.y, control.w, control.h);
        // The field's end, where none of its text reaches.
        const int y = field.y + field.h / 2;
        EXPECT_EQ(page.Pixel(field.x + field.w - 2, y), page.Pixel(gapX, y))
            << "field " << control.id;
    }
}

TEST_F(PayloadPageTest, RestoredSheetShowsNoIconOverThePage) {
    Enter(IDC_CABIN2, "65");
    const RgbImage before = Driver().Grab();
    Driver().Minimize(true);
    ASSERT_TRUE(m_page.IsIconic());
    Driver().Grab(); // a paint while minimized, which shows the program's icon
    Driver().Minimize(false);
    ASSERT_FALSE(m_page.IsIconic());
    const RgbImage after = Driver().Grab();
    ASSERT_EQ(after.width, before.width);
    // Where the icon is drawn: the middle of the page.
    int changed = 0;
    for (int y = (after.height - 31) / 2; y < (after.height + 33) / 2; ++y)
        for (int x = (after.width - 31) / 2; x < (after.width + 33) / 2; ++x)
            if (after.Pixel(x, y) != before.Pixel(x, y))
                ++changed;
    EXPECT_EQ(changed, 0);
}

} // namespace
