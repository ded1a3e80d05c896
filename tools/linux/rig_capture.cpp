// rig-capture: copies raw float32 samples from standard input to a file and notes, for every
// block as it arrives, how many frames had arrived and the wall-clock time, so that a sample can be
// placed in time (an upper bound: a sample is never later than its block's arrival).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("Usage: rig-capture SAMPLES_FILE TIMES_FILE < raw float32 mono\n", stderr);
        return 2;
    }
    std::FILE* samples = std::fopen(argv[1], "wb");
    std::FILE* times = std::fopen(argv[2], "w");
    if (!samples || !times) {
        std::fprintf(stderr, "rig-capture: cannot write %s\n", !samples ? argv[1] : argv[2]);
        return 1;
    }
    std::vector<char> block(1 << 16);
    unsigned long long bytes = 0;
    for (;;) {
        const ssize_t n = read(STDIN_FILENO, block.data(), block.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        if (std::fwrite(block.data(), 1, static_cast<std::size_t>(n), samples) !=
            static_cast<std::size_t>(n)) {
            std::fprintf(stderr, "rig-capture: cannot write %s\n", argv[1]);
            return 1;
        }
        bytes += static_cast<unsigned long long>(n);
        std::fprintf(times, "%llu %lld.%09ld\n", bytes / 4, static_cast<long long>(now.tv_sec),
                     now.tv_nsec);
        // A rig may measure the part recorded so far while the recording goes on.
        std::fflush(samples);
        std::fflush(times);
    }
    const bool ok = std::fclose(samples) == 0 && std::fclose(times) == 0;
    return ok ? 0 : 1;
}
