// Writes to a settings file from a separate process, for the tests of concurrent writers and of
// writers killed at random moments.
//   registry_writer hammer FILE TAG COUNT   writes COUNT times to its own key and to a shared one,
//                                           checking after each write that the values stayed
//   registry_writer loop FILE RUN           writes the four tone values forever, in order, after
//                                           printing one line once the key exists
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/qt/file_registry.h"
#include "tests/settings/qt/writer_texts.h"

namespace {

constexpr auto kHklm = RegistryRoot::LocalMachine;

int Hammer(FileRegistry& registry, const std::string& tag, int count) {
    const std::string own = std::string(kWriterKey) + "\\" + tag;
    for (int i = 0; i < count; ++i) {
        const std::string text = tag + std::to_string(i);
        if (!registry.CreateKey(kHklm, kWriterKey) || !registry.CreateKey(kHklm, own) ||
            !registry.WriteValue(kHklm, own, "Count", text) ||
            !registry.WriteValue(kHklm, kWriterKey, tag, text)) {
            std::fprintf(stderr, "%s: write %d failed\n", tag.c_str(), i);
            return 1;
        }
        if (registry.ReadValue(kHklm, own, "Count") != text ||
            registry.ReadValue(kHklm, kWriterKey, tag) != text) {
            std::fprintf(stderr, "%s: update %d was lost\n", tag.c_str(), i);
            return 1;
        }
    }
    return 0;
}

int Loop(FileRegistry& registry, int run) {
    if (!registry.CreateKey(kHklm, kWriterKey)) return 1;
    std::puts("ready");
    std::fflush(stdout);
    for (long counter = 0;; ++counter) {
        for (const char* name : kWriterValues) {
            if (!registry.WriteValue(kHklm, kWriterKey, name, WriterText(run, counter))) return 1;
            // A dot after the first value, so that the killer knows the writer is under way,
            // however slow the machine.
            if (counter == 0 && name == kWriterValues[0]) {
                std::putchar('.');
                std::fflush(stdout);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "hammer" && argc == 5) {
        FileRegistry registry(QString::fromLocal8Bit(argv[2]));
        return Hammer(registry, argv[3], std::atoi(argv[4]));
    }
    if (mode == "loop" && argc == 4) {
        FileRegistry registry(QString::fromLocal8Bit(argv[2]));
        return Loop(registry, std::atoi(argv[3]));
    }
    std::fputs("usage: registry_writer hammer FILE TAG COUNT | loop FILE RUN\n", stderr);
    return 2;
}
