#include "app/qt/quit_on_signal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/support/linux/child_process.h"

namespace {

// SIGTERM ends the program through its event loop, or when that does not run (the window's thread
// is held by a file, a lock, a message box) as the signal itself would, once the grace is over.
TEST(QuitOnSignalTest, SigtermAlwaysEndsTheProgram) {
    for (const bool loopRuns : {true, false}) {
        const auto status = RunInChild([&] {
            int argc = 1;
            char* argv[] = {const_cast<char*>("drovane-test"), nullptr};
            QCoreApplication app(argc, argv);
            QuitOnSignal quit(std::chrono::seconds(1));
            ::raise(SIGTERM);
            if (loopRuns) return app.exec();
            for (;;) ::pause();
        });
        ASSERT_TRUE(status) << "still running 10 s after SIGTERM";
        EXPECT_EQ(WIFEXITED(*status) && WEXITSTATUS(*status) == 0, loopRuns);
        EXPECT_EQ(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM, !loopRuns);
    }
}

}  // namespace
