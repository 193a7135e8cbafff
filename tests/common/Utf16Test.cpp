#include "common/Utf16.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf16, WidensAndNarrowsBothWays) {
    struct Case {
        const char* utf8;
        std::wstring wide;
    };
    for (const Case& c :
         {Case{"", L""}, Case{"Aircraft.cfg", L"Aircraft.cfg"},
          Case{"\xd0\x98\xd0\xbb-18", {0x0418, 0x043b, L'-', L'1', L'8'}},
          Case{"\xe2\x82\xac", {0x20ac}}, Case{"\xf0\x9f\x9b\xab", {0xd83d, 0xdeeb}}}) {
        std::wstring wide;
        EXPECT_TRUE(Widen(c.utf8, wide)) << c.utf8;
        EXPECT_EQ(wide, c.wide) << c.utf8;
        EXPECT_EQ(Narrow(c.wide), c.utf8);
    }
}

TEST(Utf16, BytesThatAreNoUtf8AreRefusedOrReplaced) {
    // A Windows-1251 "я", a cut sequence, an overlong "/", a surrogate, a value past U+10FFFF.
    for (const char* bad : {"a\xff", "\xd0", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"}) {
        std::wstring wide;
        EXPECT_FALSE(Widen(bad, wide)) << bad;
        EXPECT_NE(Widen(bad).find(wchar_t{0xfffd}), std::wstring::npos) << bad;
    }
    EXPECT_EQ(Narrow(std::wstring{L'a', wchar_t(0xdc00), L'b'}), "a\xef\xbf\xbd"
                                                                 "b");
    EXPECT_EQ(Narrow(std::wstring{wchar_t(0xd800)}), "\xef\xbf\xbd");
}

} // namespace
