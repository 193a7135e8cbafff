// The payload page shows the weights and balance of the aircraft of the example Aircraft.cfg as
// the pilot plans on either page, and a plan over the maximum take-off mass is written only when
// the pilot says so.
#include "gui/SheetOverAFile.h"
#include "res/DialogTemplates.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

using LoadFiguresTest = SheetOverAFileTest;

constexpr int kFigureLines[] = {IDC_EMPTY_WEIGHT, IDC_MAX_LOAD, IDC_ACTUAL_LOAD, IDC_BALANCE};

// The lines of the payload page's summary that show the figures.
std::vector<std::string> Figures(PageDriver& driver) {
    std::vector<std::string> lines;
    for (int id : kFigureLines)
        lines.push_back(driver.Read(id));
    return lines;
}

// Every figure line fits its field as the page shows it now.
void ExpectTheLinesFit(PageDriver& driver) {
    const auto& controls = g_payloadPageTemplate.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (std::ranges::find(kFigureLines, controls[i].id) == std::end(kFigureLines))
            continue;
        const TextFit fit = driver.MeasureText(i);
        EXPECT_LE(fit.width, fit.roomWidth) << driver.Read(controls[i].id);
    }
}

TEST_F(LoadFiguresTest, FollowThePlanAndAskBeforeAnOverweightWrite) {
    const SeenMessage question{"Предупреждение",
                               "Взлетная масса 70719 кг больше максимальной 64000 кг. Записать?",
                               MessageIcon::Information};
    const SeenMessage loaded{"Сообщение", "Пассажиры и груз на борту", MessageIcon::Information};
    std::vector<std::vector<std::string>> figures;
    std::vector<std::vector<SeenMessage>> messages;
    std::string unasked;
    WhenModal([&](PageDriver& driver) {
        // The file's full tanks leave 3921 kg for the cabins and holds.
        figures.push_back(Figures(driver));
        driver.PressKey(IDC_SLIDER_CABIN3, DriverKey::End, 1);
        figures.push_back(Figures(driver));
        for (int slider :
             {IDC_SLIDER_CABIN1, IDC_SLIDER_CABIN2, IDC_SLIDER_HOLD1, IDC_SLIDER_HOLD2})
            driver.PressKey(slider, DriverKey::End, 1);
        figures.push_back(Figures(driver));
        ExpectTheLinesFit(driver);

        driver.Click(IDC_LOAD_PAYLOAD);
        messages.push_back(driver.TakeMessages());
        unasked = ReadFileBytes("Aircraft.cfg") == m_original ? "untouched" : "written";
        AnswerQuestionsWith(true);
        driver.Click(IDC_LOAD_PAYLOAD);
        messages.push_back(driver.TakeMessages());

        // A trip of 3600 km at 8100 m needs less fuel than the file holds.
        driver.ShowPage(1);
        driver.ChooseEntry(IDC_FLIGHT_LEVEL, 5);
        driver.Click(IDC_CALCULATE_FUEL);
        driver.ShowPage(0);
        figures.push_back(Figures(driver));
        driver.Click(IDC_LOAD_PAYLOAD);
        messages.push_back(driver.TakeMessages());

        // 22000 kg typed on the fuel page: over the maximum with this payload.
        AnswerQuestionsWith(false);
        const std::string loadedFile = ReadFileBytes("Aircraft.cfg");
        driver.ShowPage(1);
        driver.TypeInto(IDC_TOTAL_FUEL, "22000");
        driver.LeaveField();
        driver.Click(IDC_FILL_FUEL);
        messages.push_back(driver.TakeMessages());
        unasked += ReadFileBytes("Aircraft.cfg") == loadedFile ? ", untouched" : ", written";
        driver.ClickSheetButton("Отмена");
    });
    m_sheet.DoModal();

    EXPECT_EQ(figures,
              (std::vector<std::vector<std::string>>{
                  {"Вес пустого: 34929 кг", "Предельная загрузка: 3921 кг.",
                   "Фактическая загрузка:   0 кг.", "Центровка 11,42% САХ"},
                  {"Вес пустого: 34929 кг", "Предельная загрузка: 3921 кг.",
                   "Фактическая загрузка:   1050 кг.", "Центровка 15,42% САХ"},
                  {"Вес пустого: 34929 кг", "Предельная загрузка: 3921 кг.",
                   "Фактическая загрузка:   10640 кг. Перегруз 6719 кг", "Центровка 10,21% САХ"},
                  {"Вес пустого: 34929 кг", "Предельная загрузка: 12759 кг.",
                   "Фактическая загрузка:   10640 кг.", "Центровка 10,71% САХ"},
              }));
    EXPECT_EQ(unasked, "untouched, untouched"); // Нет wrote nothing
    EXPECT_EQ(messages, (std::vector<std::vector<SeenMessage>>{
                            {question},
                            {question, loaded},
                            {loaded},
                            {{"Предупреждение",
                              "Взлетная масса 69169 кг больше максимальной 64000 кг. Записать?",
                              MessageIcon::Information}}}));
    EXPECT_NE(ReadFileBytes("Aircraft.cfg").find("station_load.1=10031.032, -5.742"),
              std::string::npos);
}

} // namespace
