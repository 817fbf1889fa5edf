#include "framework/ExePaths.h"

#include <gtest/gtest.h>

namespace {

TEST(ExePaths, DirectoryEndsWithItsSeparator) {
    EXPECT_EQ(ExeDirectory("C:\\Program Files\\Lumeyra\\Lumeyra.exe"), "C:\\Program Files\\Lumeyra\\");
    EXPECT_EQ(ExeDirectory("C:\\Lumeyra.exe"), "C:\\");
    EXPECT_EQ(ExeDirectory("\\\\server\\share\\a.b\\Lumeyra.EXE"), "\\\\server\\share\\a.b\\");
}

TEST(ExePaths, NoDirectoryPartGivesEmpty) {
    EXPECT_EQ(ExeDirectory("Lumeyra.exe"), "");
    EXPECT_EQ(ExeDirectory(""), "");
}

TEST(ExePaths, RenamedOrExtensionlessProgramStillFindsItsDirectory) {
    // Counting back by the length of "name.exe" would cut these short.
    EXPECT_EQ(ExeDirectory("C:\\Tools\\Lumeyra.bin.x"), "C:\\Tools\\");
    EXPECT_EQ(ExeDirectory("C:\\Tools\\Lumeyra"), "C:\\Tools\\");
}

TEST(ExePaths, AppNameAndHelpFile) {
    EXPECT_EQ(AppNameFromPath("C:\\Program Files\\Lumeyra\\Lumeyra.exe"), "Lumeyra");
    EXPECT_EQ(AppNameFromPath("C:\\my.dir\\Tool"), "Tool");
    EXPECT_EQ(HelpFilePath("C:\\Program Files\\Lumeyra\\Lumeyra.exe"),
              "C:\\Program Files\\Lumeyra\\Lumeyra.CHM");
    EXPECT_EQ(HelpFilePath("C:\\my.dir\\Tool"), "C:\\my.dir\\Tool.CHM");
}

}  // namespace
