#include "gui/GuiTest.h"

#include "gui/GuiBackend.h"
#include "ui/DialogTemplate.h"
#include "ui/PropertySheet.h"

#include <clocale>
#include <utility>

GuiTest::GuiTest() : m_answerer(StartAnsweringMessages()) {}

GuiTest::~GuiTest() = default;

void GuiTest::TearDown() {
    for (const SeenMessage& message : m_answerer->Take())
        ADD_FAILURE() << "a message box nobody expected: " << message;
    std::string left;
    for (const std::string& window : TopLevelWindowsLeft())
        left += (left.empty() ? "" : ", ") + window;
    EXPECT_TRUE(left.empty()) << "windows left over: " << left;
}

std::vector<SeenMessage> GuiTest::TakeMessages() {
    return m_answerer->Take();
}

void GuiTest::AnswerQuestionsWith(bool yes) {
    m_answerer->AnswerQuestionsWith(yes);
}

std::unique_ptr<PageDriver> GuiTest::DriveSheet(CPropertySheet& sheet) {
    if (sheet.GetSafeHwnd() == nullptr && !sheet.Create()) {
        ADD_FAILURE() << "the sheet \"" << sheet.GetCaption() << "\" could not be created";
        return nullptr;
    }
    return MakePageDriver(sheet.GetSafeHwnd(), *m_answerer);
}

void GuiTest::WhenModal(std::function<void(PageDriver&)> act) {
    CallWhenModal([this, act = std::move(act)](NativeWindow* window) {
        const std::unique_ptr<PageDriver> driver = MakePageDriver(window, *m_answerer);
        act(*driver);
    });
}

namespace {

// The name of the Russian locale of the system's C library.
#ifdef _WIN32
constexpr const char* kRussianLocale = "Russian_Russia.1251";
#else
constexpr const char* kRussianLocale = "ru_RU.UTF-8";
#endif

} // namespace

RussianDesktop::RussianDesktop() : m_previous(std::setlocale(LC_ALL, nullptr)) {
    m_active = std::setlocale(LC_ALL, kRussianLocale) != nullptr;
    UseToolkitNumberLocale(true);
}

RussianDesktop::~RussianDesktop() {
    std::setlocale(LC_ALL, m_previous.c_str());
    UseToolkitNumberLocale(false);
}

std::ostream& operator<<(std::ostream& out, const SeenMessage& message) {
    return out << '"' << message.caption << "\": \"" << message.text << "\" ("
               << (message.icon == MessageIcon::Stop ? "stop" : "information") << ')';
}

void PrintTo(const DialogTemplate* page, std::ostream* out) {
    *out << '"' << page->caption << '"';
}
