#pragma once

#include "common/MessageCallback.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A message as the user would have seen it.
struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

// Records every message instead of showing it.
class RecordingCallback : public MessageCallback {
public:
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override {
        messages.push_back({std::string(text), std::string(caption), icon});
    }
    std::vector<ShownMessage> messages;
};

// From now on every case of the test program starts with the payload totals at zero, as the
// program does: the totals are the program's, not a page's, and a test program run whole (as under
// Wine) runs all its cases in one process. For a test program's main(), before RUN_ALL_TESTS().
void StartEveryCaseWithThePayloadTotalsAtZero();

// A fresh empty directory that is the current directory for the object's lifetime; removed
// with everything in it afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// The lines of a file, each with its line end ("\n", "\r\n") where it has one.
std::vector<std::string> Lines(std::string_view bytes);

// A line of a rewritten file that holds one of the rewrite's keys.
struct KeyLine {
    std::size_t line; // its index in the file
    std::size_t key;  // the first of the keys that the old line holds
    std::string text; // the new line, without its line end
};

// Checks the rewrite of a file from `before` to `after`: the same number of lines, and every line
// that holds none of `keys` the same text with its line end made CR LF (a last line without a line
// end is never replaced and stays as it is). Returns the new lines of those that held a key, in
// the file's order, for the caller to check.
std::vector<KeyLine> ExpectOtherLinesUnchanged(std::string_view before, std::string_view after,
                                               const std::vector<std::string>& keys);

// Why a case of ../shared/testdata does not run.
inline constexpr const char* kNoSharedTestData =
    "../shared/testdata is not beside the repository: this case of a real file is skipped";

// `name` in the current directory, as a UTF-8 text ("/tmp/il18-test-x/Aircraft.cfg").
std::string FullPathOf(std::string_view name);

// A file of the project's own test files (tests/data).
std::filesystem::path DataFile(std::string_view name);
// A file of ../shared/testdata (real files of other aircraft), or empty when the folder is not
// there; the caller then skips its case with a note.
std::filesystem::path SharedDataFile(std::string_view relative);

// A name for a case of a parameterised test, made of `text` (a typed text, a file name): letters
// and digits as they are, '-' as "minus", '+' as "plus", '.' as "dot", every other character as
// '_'; "empty" for an empty text, "Number" before a name of digits only.
std::string CaseName(std::string_view text);

// Names each case of a table after its parameter's `name`, for INSTANTIATE_TEST_SUITE_P.
struct NameOfCase {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return CaseName(info.param.name);
    }
};

// Names each case after its parameter's `text`.
struct NameOfText {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return CaseName(info.param.text);
    }
};
