#include "base/program_name.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramNameTest, FileNameWithoutFoldersAndLastExtension) {
    EXPECT_EQ(ProgramNameFromPath("C:\\Program Files\\Drovane\\drovane.exe"), "drovane");
    EXPECT_EQ(ProgramNameFromPath("/opt/drovane app/bin/drovane"), "drovane");
    EXPECT_EQ(ProgramNameFromPath("C:/mixed\\sep/drovane-copy.exe"), "drovane-copy");
    EXPECT_EQ(ProgramNameFromPath("drovane.backup.exe"), "drovane.backup") << "the last only";
    EXPECT_EQ(ProgramNameFromPath("C:\\dots.in.folder\\drovane"), "drovane")
        << "a folder's dot is no extension";
    EXPECT_EQ(ProgramNameFromPath("/home/user/.drovane"), ".drovane");
    EXPECT_EQ(ProgramNameFromPath(""), "");
}

}  // namespace
