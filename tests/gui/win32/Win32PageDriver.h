#pragma once

#include "gui/GuiBackend.h"
#include "gui/PageDriver.h"
#include "ui/win32/Win32Window.h"

// The PageDriver of the Win32 backend: mouse and keyboard messages sent to the controls as the
// system sends them for a user's input, each followed by the handling of everything it caused.
class Win32PageDriver : public PageDriver {
public:
    Win32PageDriver(HWND sheet, MessageAnswerer& answerer);

    NativeWindow* Window() const override { return ToHandle(m_sheet); }
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

private:
    HWND Page() const;
    HWND Control(int id);
    void Settle();
    void PressVirtualKey(HWND target, WPARAM key);

    HWND m_sheet;
    MessageAnswerer& m_answerer;
};

// Lets the windows handle everything that is pending, as the time between a user's actions does.
void PumpMessages();
// Writes the picture as a PNG file (8-bit RGB, stored without compression).
bool WritePng(const RgbImage& image, const std::filesystem::path& file);
