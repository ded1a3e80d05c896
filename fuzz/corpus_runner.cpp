// Runs a fuzz target's entry point over every file in the given folders: the inputs a fuzzer kept
// become a regression test that a plain (or sanitised) build runs without libFuzzer. An input that
// breaks a check aborts the program; the last name printed is that input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> read{std::istreambuf_iterator<char>(in), {}};
            // As libFuzzer does, each input gets an allocation of exactly its size, so that the
            // address sanitizer sees a read one byte past its end.
            const auto input = std::make_unique<std::uint8_t[]>(read.size());
            std::copy(read.begin(), read.end(), input.get());
            std::printf("%s\n", entry.path().c_str());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(input.get(), read.size());
            ++count;
        }
    }
    std::printf("%zu inputs passed\n", count);
    // A corpus that is not there is a mistake, not a pass.
    return count > 0 ? 0 : 1;
}
