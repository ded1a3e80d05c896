// settings-bench: reading a settings file near the size cap (100,000 values in one key, about
// 1 MB), as the program does at every start; and writing it back.
#include <benchmark/benchmark.h>

#include <string>

#include "settings/registry_file_format.h"

namespace {

std::string LargeFile() {
    std::string text = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Drovane]\n";
    for (int i = 0; i < 100000; ++i) text += "\"v" + std::to_string(i) + "\"=\"1\"\n";
    return text;
}

void ParseHundredThousandValues(benchmark::State& state) {
    const std::string text = LargeFile();
    for (auto _ : state) {
        RegistryFileParse parsed = ParseRegistryFile(text);
        benchmark::DoNotOptimize(parsed);
        if (!parsed.document) state.SkipWithError(parsed.error.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseHundredThousandValues)->Unit(benchmark::kMillisecond);

void FormatHundredThousandValues(benchmark::State& state) {
    const RegistryDocument document = *ParseRegistryFile(LargeFile()).document;
    for (auto _ : state) benchmark::DoNotOptimize(FormatRegistryFile(document));
}
BENCHMARK(FormatHundredThousandValues)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
