#pragma once

#include "app/LoaderAppSheet.h"
#include "gui/GuiTest.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <iterator>
#include <string>

// The loader's sheet over a scratch copy of the example Aircraft.cfg.
class SheetOverAFileTest : public GuiTest {
protected:
    // Nothing was written: the file as it was, and no other file beside it.
    void ExpectTheFileUntouched() {
        EXPECT_TRUE(ReadFileBytes("Aircraft.cfg") == m_original);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_scratch.path()),
                                std::filesystem::directory_iterator()),
                  1);
    }

    ScratchDirectory m_scratch;
    // In the folder before the sheet is made, which reads it.
    std::string m_original = [] {
        std::string bytes =
            ReadFileBytes(std::filesystem::path(LOADER_EXAMPLES_DIR) / "Aircraft.cfg");
        WriteFileBytes("Aircraft.cfg", bytes);
        return bytes;
    }();
    CLoaderAppSheet m_sheet{kLoaderSheetCaption};
};
