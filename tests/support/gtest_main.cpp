// The tests' main: runs every test and tells CTest about skipped ones. A test that cannot run here
// (say, one that needs an unprivileged user) makes the whole program exit with kSkipped, which
// CTest reports as skipped instead of passed.
#include <gtest/gtest.h>

namespace {
constexpr int kSkipped = 77;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (result == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0)
        return kSkipped;
    return result;
}
