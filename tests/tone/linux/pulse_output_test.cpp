#include "tone/linux/pulse_output.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace {

// Without a server to reach, opening fails with libpulse's reason, whichever step failed.
TEST(PulseOutputTest, OpeningWithoutAServerFailsWithLibpulsesReason) {
    struct Case {
        const char* server;
        const char* why;
    };
    const Case cases[] = {
        {"", "PulseAudio: Invalid server"},                                      // on connecting
        {"unix:/nonexistent/drovane/native", "PulseAudio: Connection refused"},  // the same
        {"tcp:127.0.0.1:1", "PulseAudio: Connection refused"},  // while waiting for the context
    };
    for (const Case& test : cases) {
        setenv("PULSE_SERVER", test.server, 1);
        std::string why;
        EXPECT_EQ(PulseOutput::Open(why), nullptr) << test.server;
        EXPECT_EQ(why, test.why) << test.server;
    }
    unsetenv("PULSE_SERVER");
}

}  // namespace
