#include "base/qt/replacing_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "tests/support/linux/child_process.h"

namespace {

// "x" is written over what the shell made at it and at names that temporary files had ("x.new",
// "x.part"): only a regular file is replaced, a link at "x" alone is followed, nothing waits, and
// nothing else in the folder is touched.
TEST(ReplacingFileTest, ReplacesOnlyARegularFileThroughItsLinks) {
    const struct {
        const char *before, *error, *after;  // the shell's commands and test around the write
    } cases[] = {
        {"true", "", "grep -qx new x && test \"$(ls -A)\" = x"},
        {"echo old >x; chmod 600 x", "", "grep -qx new x && stat -c%a x | grep -qx 600"},
        {"echo old >t; ln -s t x", "", "test -L x && grep -qx new t"},
        {"ln -s t x", "", "test -L x && grep -qx new t"},
        {"echo mine >t; ln -s t x.part; ln -s t x.new", "", "grep -qx mine t && grep -qx new x"},
        {"echo mine >x.new; mkdir x.d", "",
         "grep -qx mine x.new && test -d x.d && grep -qx new x && test $(ls -A | wc -l) = 3"},
        {"mkfifo x.part x.new", "", "test -p x.part -a -p x.new && grep -qx new x"},
        {"mkfifo x", "it is a named pipe, not a regular file", "test -p x"},
        {"mkfifo p; ln -s p x", "it is a named pipe, not a regular file", "test -p p -a -L x"},
        {"mknod x c 1 3", "it is a device, not a regular file", "test -c x"},
        {"mkdir x", "it is a folder, not a regular file", "test -d x"},
        {"ln -s y x; ln -s x y", "Too many levels of symbolic links", "test -L x -a -L y"},
        {"ln -s m/x x", "No such file or directory", "test -L x -a ! -e m"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        QTemporaryDir dir;
        const auto shell = [&](const std::string& command) {
            return std::system(("cd '" + dir.path().toStdString() + "' && " + command).c_str());
        };
        if (shell(c.before) != 0) {
            std::printf("skipped, the shell cannot: %s\n", c.before);  // mknod without root
            continue;
        }
        const auto status = RunInChild([&] {
            ReplacingFile file(dir.filePath("x"));
            const bool done = file.Write("new\n", 4) && file.Commit();
            return done == !*c.error && file.Error().ends_with(c.error) ? 0 : 1;
        });
        ASSERT_TRUE(status) << "the write waits for something";
        EXPECT_EQ(*status, 0) << "wrong result or message";
        EXPECT_EQ(shell(c.after), 0);
    }
}

TEST(ReplacingFileTest, AFileNotCommittedLeavesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(ReplacingFile(dir.filePath("x")).Write("new", 3));
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
}

}  // namespace
