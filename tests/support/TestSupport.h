#pragma once

#include "config/MessageCallback.h"

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
