#pragma once

#include "gui/GuiTest.h"
#include "gui/PageDriver.h"

class QWidget;

// PageDriver on Qt widgets: the controls are the window's descendants named by their ids.
class QtPageDriver : public PageDriver {
public:
    // `window` is shown and made the active window.
    QtPageDriver(QWidget* window, MessageBoxAnswerer& answerer);

    bool ShowPage(int index) override;
    void TypeInto(int id, std::string_view text) override;
    void LeaveField() override;
    void Click(int id) override;
    void PressEnter() override;
    void ChooseEntry(int id, int index) override;
    std::string Read(int id) override;
    bool HasFocus(int id) override;
    std::vector<SeenMessage> TakeMessages() override { return m_answerer.Take(); }
    bool SavePicture(const std::filesystem::path& file) override;

    // The control; fails the test when there is none.
    QWidget* Control(int id);

private:
    QWidget* m_window;
    MessageBoxAnswerer& m_answerer;
};
