#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory() : m_previous(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "il18-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
    fs::current_path(m_path);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
    fs::remove_all(m_path, ignored);
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        ADD_FAILURE() << "cannot read " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        ADD_FAILURE() << "cannot write " << path;
}

fs::path TestDataFile(std::string_view relative) {
    return fs::path(LOADER_TESTDATA_DIR) / relative;
}
