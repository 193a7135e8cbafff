#pragma once

#include "gui/PageDriver.h"

#include <QObject>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// Answers every message box of the program as soon as it is shown (OK) and remembers it.
class MessageBoxAnswerer : public QObject {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer() override;
    std::vector<SeenMessage> Take();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<SeenMessage> m_seen;
};

// A test of windows: message boxes never block it, and a message box it did not take, or a
// window left over, fails it.
class GuiTest : public ::testing::Test {
protected:
    void TearDown() override;
    std::vector<SeenMessage> TakeMessages() { return m_answerer.Take(); }

    MessageBoxAnswerer m_answerer;
};

// Pumps events until `done` holds, at most `milliseconds`; whether it held.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000);

std::ostream& operator<<(std::ostream& out, const SeenMessage& message);
