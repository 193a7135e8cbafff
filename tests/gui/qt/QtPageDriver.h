#pragma once

#include "gui/GuiBackend.h"
#include "gui/PageDriver.h"

class QWidget;

// PageDriver on Qt widgets: the controls are the window's descendants named by their ids, and
// the keys and clicks are QTest's.
class QtPageDriver : public PageDriver {
public:
    // `window` is shown and made the active window.
    QtPageDriver(QWidget* window, MessageAnswerer& answerer);

    NativeWindow* Window() const override;
    bool ShowPage(int index) override;
    void TypeInto(int id, std::string_view text) override;
    void LeaveField() override;
    void Focus(int id) override;
    void Click(int id) override;
    void PressEnter() override;
    void PressKey(int id, DriverKey key, int times) override;
    void ChooseEntry(int id, int index) override;
    void TurnWheel(int id, int notches) override;
    void Minimize(bool minimized) override;
    std::string Read(int id) override;
    SliderView ReadSlider(int id) override;
    TextFit MeasureText(std::size_t index) override;
    bool HasFocus(int id) override;
    SheetView ReadSheet() override;
    void ClickSheetButton(std::string_view text) override;
    void CloseWindow() override;
    RgbImage Grab() override;
    bool SavePicture(const std::filesystem::path& file) override;
    std::vector<SeenMessage> TakeMessages() override { return m_answerer.Take(); }

    // The control; fails the test when there is none.
    QWidget* Control(int id);

private:
    QWidget* m_window;
    MessageAnswerer& m_answerer;
};
