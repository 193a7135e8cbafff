#pragma once

// A small configuration file and one rule, for the tests of what the rewrite does when the file
// system is against it.
#include "config/ConfigRewriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

inline const std::vector<LineRule> kRules = {{"Center1", "Center1=new\n"}};
inline const std::string kBefore = "[fuel]\r\nCenter1=1, 2, 3\r\nLeftTip=4\n";
inline const std::string kAfter = "[fuel]\r\nCenter1=new\r\nLeftTip=4\r\n";

// Rewrites with kRules; what the user was shown.
inline std::vector<ShownMessage> Rewrite(FileOps& ops = FileOps::System()) {
    RecordingCallback owner;
    ConfigRewriter(ops).RewriteConfigFile(kRules, "done", owner);
    return owner.messages;
}

inline void ExpectCompleted(const std::vector<ShownMessage>& messages) {
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "done");
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
}

// One message, with the stop icon, holding `text`, and never the completion text.
inline void ExpectFailed(const std::vector<ShownMessage>& messages, std::string_view text) {
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Stop);
    EXPECT_NE(messages[0].text.find(text), std::string::npos) << messages[0].text;
    EXPECT_EQ(messages[0].text.find("done"), std::string::npos);
}

// "Unable to open the file.", then why, naming Aircraft.cfg of the current directory.
inline void ExpectCannotOpen(const std::vector<ShownMessage>& messages, std::string_view reason) {
    ExpectFailed(messages, reason);
    EXPECT_EQ(messages[0].text.rfind("Unable to open the file.\r\nНе удалось открыть файл «" +
                                         FullPathOf(kConfigFileName) + "»: ",
                                     0),
              0u)
        << messages[0].text;
}
