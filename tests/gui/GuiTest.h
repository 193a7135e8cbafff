#pragma once

#include "gui/PageDriver.h"
#include "ui/PropertySheet.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

struct DialogTemplate;
class MessageAnswerer;

// A test of windows, on whichever toolkit the program is built for. From its start to its end
// every message box of the program is answered at once (OK) and kept for TakeMessages, so that
// none blocks it; a message box that the test did not take, or a window left over, fails it.
class GuiTest : public ::testing::Test {
protected:
    GuiTest();
    ~GuiTest() override;
    void TearDown() override;

    // The message boxes answered since the last call, oldest first (the drivers' TakeMessages
    // take from the same list).
    std::vector<SeenMessage> TakeMessages();
    // How the questions of the program (Да / Нет) are answered from now on; Нет at first.
    void AnswerQuestionsWith(bool yes);

    // Creates the sheet's window without running it modally (Create) when it has none yet,
    // shows it, makes it the active window and returns a driver of it; nullptr, and a failed
    // test, when the sheet cannot be created. The driver must go before the sheet's window.
    std::unique_ptr<PageDriver> DriveSheet(CPropertySheet& sheet);

    // Returns at once. As soon as the next modal loop runs (a sheet's DoModal), `act` runs from
    // inside it with a driver of the modal window. A window still open 10 s after `act` has
    // returned is closed as Cancel closes it, and one that never ran modally within 10 s fails
    // the test: a test fails instead of hanging.
    void WhenModal(std::function<void(PageDriver&)> act);

private:
    std::unique_ptr<MessageAnswerer> m_answerer;
};

// A page of type `Page` alone on a sheet: Show() adds it and shows the sheet; at the test's end the
// sheet is closed before GuiTest looks for windows left over.
template <class Page>
class PageOnItsOwnSheet : public GuiTest {
protected:
    explicit PageOnItsOwnSheet(const char* caption = "Страница") : m_sheet(caption) {}
    void Show() {
        m_sheet.AddPage(&m_page);
        m_driver = DriveSheet(m_sheet);
        ASSERT_NE(m_driver, nullptr);
    }
    void TearDown() override {
        m_driver.reset();
        m_sheet.DestroyWindow();
        GuiTest::TearDown();
    }
    PageDriver& Driver() { return *m_driver; }

    Page m_page;
    CPropertySheet m_sheet;
    std::unique_ptr<PageDriver> m_driver;
};

// Lets the toolkit handle its events until `done` holds, at most `milliseconds`; whether it held.
// It returns as soon as `done` holds: the bound is for a machine under load.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 10000);

// The screen's scale as the system tells the tests, in dots per inch: 96 at 100 %, 144 at 150 %.
int ScreenDpi();

// A desktop set to Russian for the object's lifetime: the C library's locale (its numbers have a
// decimal comma) and the toolkit's own number conventions where it has any.
class RussianDesktop {
public:
    RussianDesktop();
    ~RussianDesktop();
    RussianDesktop(const RussianDesktop&) = delete;
    RussianDesktop& operator=(const RussianDesktop&) = delete;
    // Whether the system has the Russian locale.
    bool Active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

std::ostream& operator<<(std::ostream& out, const SeenMessage& message);
// A page's template, as a parameter of a test: its caption.
void PrintTo(const DialogTemplate* page, std::ostream* out);
