#pragma once

#include "common/MessageCallback.h"

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
