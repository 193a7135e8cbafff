// The payload page shows the weights and balance of the example aircraft as the pilot plans on
// either page, and a plan over the maximum take-off mass is written only when the pilot says so.
#include "gui/SheetOverAFile.h"
#include "res/DialogTemplates.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using LoadFiguresTest = SheetOverAFileTest;

// The load limit, the actual load and the balance as the page shows them.
std::string Figures(PageDriver& driver) {
    EXPECT_EQ(driver.Read(IDC_EMPTY_WEIGHT), "Вес пустого: 34929 кг");
    return driver.Read(IDC_MAX_LOAD) + " | " + driver.Read(IDC_ACTUAL_LOAD) + " | " +
           driver.Read(IDC_BALANCE);
}

SeenMessage Question(const char* takeOff) {
    return {"Предупреждение",
            "Взлетная масса " + std::string(takeOff) +
                " кг больше максимальной 64000 кг. Записать?",
            MessageIcon::Information};
}

TEST_F(LoadFiguresTest, FollowThePlanAndAskBeforeAnOverweightWrite) {
    const SeenMessage loaded{"Сообщение", "Пассажиры и груз на борту", MessageIcon::Information};
    std::vector<std::string> figures;
    std::vector<std::vector<SeenMessage>> messages;
    WhenModal([&](PageDriver& driver) {
        figures.push_back(Figures(driver)); // the file's full tanks
        driver.PressKey(IDC_SLIDER_CABIN3, DriverKey::End, 1);
        figures.push_back(Figures(driver));
        for (int slider :
             {IDC_SLIDER_CABIN1, IDC_SLIDER_CABIN2, IDC_SLIDER_HOLD1, IDC_SLIDER_HOLD2})
            driver.PressKey(slider, DriverKey::End, 1);
        figures.push_back(Figures(driver));
        const auto& controls = g_payloadPageTemplate.controls;
        const TextFit fit = driver.MeasureText(
            std::ranges::find(controls, IDC_ACTUAL_LOAD, &ControlTemplate::id) - controls.begin());
        EXPECT_LE(fit.width, fit.roomWidth);

        for (const bool yes : {false, true}) {
            AnswerQuestionsWith(yes);
            driver.Click(IDC_LOAD_PAYLOAD);
            messages.push_back(driver.TakeMessages());
            EXPECT_EQ(ReadFileBytes("Aircraft.cfg") == m_original, !yes);
        }

        // 3600 km at 8100 m, then 22000 kg typed: the fill of the second is asked for.
        driver.ShowPage(1);
        driver.ChooseEntry(IDC_FLIGHT_LEVEL, 5);
        driver.Click(IDC_CALCULATE_FUEL);
        driver.ShowPage(0);
        figures.push_back(Figures(driver));
        driver.ShowPage(1);
        driver.TypeInto(IDC_TOTAL_FUEL, "22000");
        driver.LeaveField();
        AnswerQuestionsWith(false);
        const std::string loadedFile = ReadFileBytes("Aircraft.cfg");
        driver.Click(IDC_FILL_FUEL);
        messages.push_back(driver.TakeMessages());
        EXPECT_EQ(ReadFileBytes("Aircraft.cfg"), loadedFile);
        driver.ClickSheetButton("Отмена");
    });
    m_sheet.DoModal();

    EXPECT_EQ(figures, (std::vector<std::string>{
                           "Предельная загрузка: 3921 кг. | Фактическая загрузка:   0 кг. | "
                           "Центровка 11,42% САХ",
                           "Предельная загрузка: 3921 кг. | Фактическая загрузка:   1050 кг. | "
                           "Центровка 15,42% САХ",
                           "Предельная загрузка: 3921 кг. | Фактическая загрузка:   10640 кг. "
                           "+6719 кг | Центровка 10,21% САХ",
                           "Предельная загрузка: 12759 кг. | Фактическая загрузка:   10640 кг. | "
                           "Центровка 10,71% САХ"}));
    EXPECT_EQ(messages,
              (std::vector<std::vector<SeenMessage>>{
                  {Question("70719")}, {Question("70719"), loaded}, {Question("69169")}}));
}

} // namespace
