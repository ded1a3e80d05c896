// Other processes write the settings file at the same time, or die while writing it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "settings/qt/file_registry.h"
#include "settings/registry_file_format.h"
#include "tests/settings/qt/writer_texts.h"

extern char** environ;

namespace {

constexpr auto kHklm = RegistryRoot::LocalMachine;

// A registry_writer child process; killed and reaped when it goes out of scope.
class Writer {
public:
    explicit Writer(std::vector<std::string> args, bool pipeOutput = false) {
        args.insert(args.begin(), REGISTRY_WRITER);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int fds[2] = {-1, -1};
        if (pipeOutput && pipe(fds) == 0) {
            posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
            posix_spawn_file_actions_addclose(&actions, fds[0]);
            posix_spawn_file_actions_addclose(&actions, fds[1]);
        }
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (fds[1] >= 0) close(fds[1]);
        m_output = fds[0];
    }
    ~Writer() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            Wait();
        }
        if (m_output >= 0) close(m_output);
    }
    bool Started() const { return m_pid > 0; }
    // Reads the child's output up to and including `marker`; false when it ends first.
    bool WaitFor(char marker) {
        char c = 0;
        while (m_output >= 0 && read(m_output, &c, 1) == 1) {
            if (c == marker) return true;
        }
        return false;
    }
    void Kill() { kill(m_pid, SIGKILL); }
    // The exit code, or 128 + signal.
    int Wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
};

std::optional<RegistryDocument> ParseFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    return ParseRegistryFile(std::string_view(bytes.constData(), bytes.size())).document;
}

TEST(FileRegistryStressTest, TwoProcessesSavingAtOnceLoseNoUpdate) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("registry.ini").toStdString();
    constexpr int kSaves = 500;
    const auto start = std::chrono::steady_clock::now();
    Writer a({"hammer", path, "A", std::to_string(kSaves)});
    Writer b({"hammer", path, "B", std::to_string(kSaves)});
    ASSERT_TRUE(a.Started() && b.Started());
    EXPECT_EQ(a.Wait(), 0);
    EXPECT_EQ(b.Wait(), 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("2 x %d saves (3 writes each) in %.2f s\n", kSaves, seconds);

    FileRegistry registry(QString::fromStdString(path));
    const std::string last = std::to_string(kSaves - 1);
    EXPECT_EQ(registry.ReadValue(kHklm, kWriterKey, "A"), "A" + last);
    EXPECT_EQ(registry.ReadValue(kHklm, kWriterKey, "B"), "B" + last);
    EXPECT_EQ(registry.ReadValue(kHklm, std::string(kWriterKey) + "\\A", "Count"), "A" + last);
    EXPECT_EQ(registry.ReadValue(kHklm, std::string(kWriterKey) + "\\B", "Count"), "B" + last);
}

// The counter behind each of the four values: -1 for the text it had before this run.
std::optional<std::vector<long>> Counters(const RegistryDocument& document, int run,
                                          const std::vector<std::string>& before) {
    std::vector<long> counters;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<std::string> text =
            document.ReadValue(kHklm, kWriterKey, kWriterValues[i]);
        if (!text) return std::nullopt;
        if (*text == before[i]) {
            counters.push_back(-1);
        } else if (const std::optional<long> counter = WriterCounter(run, *text)) {
            counters.push_back(*counter);
        } else {
            return std::nullopt;
        }
    }
    return counters;
}

TEST(FileRegistryStressTest, WriterKilledAtRandomMomentsAlwaysLeavesAWholeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.ini");
    {
        FileRegistry registry(path);
        ASSERT_TRUE(registry.CreateKey(kHklm, kWriterKey));
        for (const char* name : kWriterValues) {
            ASSERT_TRUE(registry.WriteValue(kHklm, kWriterKey, name, WriterText(0, 0)));
        }
    }
    std::vector<std::string> before(4, WriterText(0, 0));
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 8000);
    constexpr int kKills = 600;
    int changed = 0, mixed = 0, insideWrite = 0;
    qsizetype temporaries = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int run = 1; run <= kKills; ++run) {
        Writer writer({"loop", path.toStdString(), std::to_string(run)}, true);
        ASSERT_TRUE(writer.Started());
        // Once the writer has written its first value (however loaded the machine), the kill lands
        // at a random moment of the writes that follow.
        ASSERT_TRUE(writer.WaitFor('.')) << "run " << run;
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        writer.Kill();
        ASSERT_EQ(writer.Wait(), 128 + SIGKILL) << "run " << run;

        const std::optional<RegistryDocument> document = ParseFile(path);
        ASSERT_TRUE(document) << "run " << run << ": the file does not parse";
        const std::optional<std::vector<long>> c = Counters(*document, run, before);
        ASSERT_TRUE(c) << "run " << run << ": a value is neither the old nor a new text";
        // Values are written in order, so each lags the one before by at most one round.
        const std::vector<long>& k = *c;
        ASSERT_TRUE(k[0] >= k[1] && k[1] >= k[2] && k[2] >= k[3] && k[3] >= k[0] - 1)
            << "run " << run << ": " << k[0] << " " << k[1] << " " << k[2] << " " << k[3];
        // A completed write renames its temporary file away; one left means the kill cut a write.
        const qsizetype cut = QDir(dir.path()).entryList({"registry.ini.??????"}).size();
        if (cut > temporaries) ++insideWrite;
        temporaries = cut;
        if (k[0] >= 0) ++changed;
        if (k[0] != k[3]) ++mixed;
        for (std::size_t i = 0; i < 4; ++i) {
            before[i] = *document->ReadValue(kHklm, kWriterKey, kWriterValues[i]);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    std::printf(
        "%d kills in %.1f s: %d runs changed the file, %d stopped between two values of a "
        "round, %d cut a file write short; files left: %s\n",
        kKills, seconds, changed, mixed, insideWrite, left.join(' ').toStdString().c_str());
    for (const QString& name : left) {
        EXPECT_TRUE(name == "registry.ini" || name == "registry.ini.lock" ||
                    (name.startsWith("registry.ini.") && name.size() == 19))
            << "left behind: " << name.toStdString();
    }
    EXPECT_EQ(changed, kKills) << "every run wrote a value before its kill";
    EXPECT_GT(mixed + insideWrite, kKills / 10) << "kills must land inside rounds and writes";
}

}  // namespace
