// What the rewrite does with what only Windows has: file attributes, and files that another
// program holds open.
#include "RewriteFixture.h"
#include "config/ConfigRewriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include "common/Win32Api.h"

namespace fs = std::filesystem;

namespace {

TEST(RewriteWin32, AttributesAreKept) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    ASSERT_TRUE(SetFileAttributesA(kConfigFileName, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const auto messages = Rewrite();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "done");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kAfter);
    // Hidden and system as before, and marked as changed since the last backup.
    EXPECT_EQ(GetFileAttributesA(kConfigFileName),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE});
}

// Another program has a file open while the user presses the button.
struct HeldCase {
    const char* name;
    const char* file;      // the file it holds
    DWORD access, sharing; // how it opened it
    const char* message;   // what the user is told
};

void PrintTo(const HeldCase& c, std::ostream* out) {
    *out << c.name;
}

class RewriteHeldFile : public testing::TestWithParam<HeldCase> {};

TEST_P(RewriteHeldFile, IsReportedAndTheFileStaysAsItWas) {
    const HeldCase& c = GetParam();
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    if (!fs::exists(c.file))
        WriteFileBytes(c.file, "stale");
    const HANDLE held = CreateFileA(c.file, c.access, c.sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto messages = Rewrite();
    CloseHandle(held);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Stop);
    EXPECT_NE(messages[0].text.find(c.message), std::string::npos) << messages[0].text;
    // The file by its full path.
    EXPECT_NE(messages[0].text.find("«" + FullPathOf(kConfigFileName) + "»"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kBefore);
    if (std::string_view(c.file) == kConfigFileName) {
        EXPECT_FALSE(fs::exists(kTempFileName));
    }
    // Once the other program has let go, the next run goes through.
    EXPECT_EQ(Rewrite().at(0).text, "done");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kAfter);
    EXPECT_FALSE(fs::exists(kTempFileName));
}

INSTANTIATE_TEST_SUITE_P(
    Sharing, RewriteHeldFile,
    testing::Values(
        // Nobody else may open it: it cannot even be read.
        HeldCase{"read_without_sharing", kConfigFileName, GENERIC_READ, 0,
                 "Unable to open the file."},
        // Being written elsewhere: reading it now could give half of each.
        HeldCase{"being_written", kConfigFileName, GENERIC_WRITE,
                 FILE_SHARE_READ | FILE_SHARE_WRITE, "Unable to open the file."},
        // Read elsewhere, but not to be replaced meanwhile.
        HeldCase{"read_elsewhere", kConfigFileName, GENERIC_READ, FILE_SHARE_READ,
                 "Не удалось заменить файл «"},
        // A temporary file left by an earlier run, still held open by some program.
        HeldCase{"temporary_file_held", kTempFileName, GENERIC_READ, 0,
                 "\\TempFile.txt»: файл занят."}),
    NameOfCase());

} // namespace
