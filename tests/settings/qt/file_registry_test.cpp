#include "settings/qt/file_registry.h"

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <utility>

#include "settings/registry_settings.h"
#include "tests/support/memory_registry.h"
#include "tests/support/scripted_prompt.h"

// The file system calls that make a change durable, as the settings code makes them: these
// definitions take the place of the C library's for this test program and pass every call on.
// Each records "fsync PATH" or "rename FROM TO".
namespace durability {
std::mutex mutex;
std::vector<std::string> calls;

void Record(std::string call) {
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
}

std::vector<std::string> Take() {
    std::lock_guard lock(mutex);
    return std::exchange(calls, {});
}
}  // namespace durability

extern "C" int fsync(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t n = readlink(link, target, sizeof target - 1);
    durability::Record("fsync " + std::string(target, n > 0 ? static_cast<std::size_t>(n) : 0));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static const auto real =
        reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    durability::Record(std::string("rename ") + from + " " + to);
    return real(from, to);
}

namespace {

constexpr auto kHklm = RegistryRoot::LocalMachine;
const std::string kProduct = "SOFTWARE\\Corvell\\Drovane";
const std::vector<std::string> kSixMessages = {
    "Cannot create key in registry", "Cannot create key in registry",
    "Error when saving Frequency1",  "Error when saving Frequency2",
    "Error when saving Delay",       "Error when saving Step"};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

struct Params {
    std::int32_t f1 = 0, f2 = 0, delay = 0, step = 0;
    bool operator==(const Params&) const = default;
};

class FileRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path() const { return dir.filePath(QStringLiteral("drovane/registry.ini")); }
    Params Load(FileRegistry& registry) {
        CRegistrySettings settings(registry, logon, prompt, "/usr/bin/drovane");
        Params p;
        settings.LoadToneParams(p.f1, p.f2, p.delay, p.step);
        return p;
    }
    void Save(FileRegistry& registry, Params p) {
        CRegistrySettings settings(registry, logon, prompt, "/usr/bin/drovane");
        settings.SaveToneParams(p.f1, p.f2, p.delay, p.step);
    }

    QTemporaryDir dir;
    MemoryLogonEntry logon;
    ScriptedPrompt prompt;
};

// "v0", "v1", ... (built by appending: GCC 12 at -O2 warns falsely about ValueName(i))
std::string ValueName(std::size_t i) {
    std::string name = "v";
    name += std::to_string(i);
    return name;
}

TEST_F(FileRegistryTest, HostileValuesRoundTripThroughTheFile) {
    const std::vector<std::string> texts = {"",
                                            "  16000",
                                            "250ms",
                                            "\"q\"",
                                            "a\\b\\\\",
                                            std::string("z\0z", 3),
                                            "line\nnext\r",
                                            "사운드 설정",
                                            "\xff\xc3 not utf-8",
                                            "[HKEY_LOCAL_MACHINE\\fake]",
                                            "\"x\"=\"y\"",
                                            std::string(5000, '9')};
    {
        FileRegistry registry(path());
        ASSERT_TRUE(registry.CreateKey(kHklm, kProduct));
        for (std::size_t i = 0; i < texts.size(); ++i) {
            ASSERT_TRUE(registry.WriteValue(kHklm, kProduct, ValueName(i), texts[i]));
            ASSERT_TRUE(registry.WriteValue(kHklm, kProduct, texts[i] + "#name", texts[i]));
        }
    }
    FileRegistry reopened(path());
    EXPECT_EQ(reopened.Problem(), "");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(reopened.ReadValue(kHklm, kProduct, ValueName(i)), texts[i]) << i;
        EXPECT_EQ(reopened.ReadValue(kHklm, kProduct, texts[i] + "#name"), texts[i]) << i;
    }
    EXPECT_EQ(reopened.ReadValue(kHklm, kProduct, "absent"), std::nullopt);
    EXPECT_EQ(reopened.ReadValue(RegistryRoot::CurrentUser, kProduct, "v0"), std::nullopt);
    EXPECT_TRUE(reopened.DeleteValue(kHklm, kProduct, "v0"));
    EXPECT_FALSE(reopened.DeleteValue(kHklm, kProduct, "v0"));
    EXPECT_EQ(FileRegistry(path()).ReadValue(kHklm, kProduct, "v0"), std::nullopt);
    EXPECT_FALSE(reopened.CreateKey(kHklm, "bad\\\\path"));
}

TEST_F(FileRegistryTest, AChangeIsOnDiskBeforeItTakesTheFilesName) {
    FileRegistry registry(path());
    ASSERT_TRUE(registry.CreateKey(kHklm, kProduct));
    durability::Take();
    ASSERT_TRUE(registry.WriteValue(kHklm, kProduct, "Delay", "300"));
    const std::string file = path().toStdString();
    const std::string folder = QFileInfo(path()).absolutePath().toStdString();
    EXPECT_THAT(
        durability::Take(),
        ::testing::ElementsAre(::testing::StartsWith("fsync " + folder + "/#"),
                               ::testing::AllOf(::testing::StartsWith("rename " + file + "."),
                                                ::testing::EndsWith(" " + file)),
                               "fsync " + folder))
        << "the new file's contents, then its name, then the folder's entry reach the disk";

    ASSERT_TRUE(registry.WriteValue(kHklm, kProduct, "Delay", "300"));
    EXPECT_TRUE(durability::Take().empty()) << "an unchanged value writes nothing";
}

TEST_F(FileRegistryTest, ReadingNeverCreatesAnything) {
    FileRegistry registry(path());
    EXPECT_EQ(Load(registry), (Params{16000, 20000, 500, 10}));
    EXPECT_FALSE(registry.WriteValue(kHklm, kProduct, "Step", "5")) << "the key does not exist";
    EXPECT_FALSE(QFileInfo::exists(path()));
    EXPECT_EQ(registry.Problem(), "");
}

TEST_F(FileRegistryTest, SaveCreatesTheDirectoryAndAReadableFile) {
    FileRegistry registry(path());
    Save(registry, {12000, 13000, 300, 5});
    EXPECT_TRUE(prompt.errors.empty());
    EXPECT_EQ(Load(registry), (Params{12000, 13000, 300, 5}));
    const QByteArray text = ReadAll(path());
    EXPECT_TRUE(
        text.contains("\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell]\n\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell\\Drovane]\n"
                      "\"Frequency1\"=\"12000\"\n\"Frequency2\"=\"13000\"\n"
                      "\"Delay\"=\"300\"\n\"Step\"=\"5\"\n"))
        << text.toStdString();
    const QStringList left = QDir(dir.filePath("drovane")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.join(' ').toStdString(), "registry.ini registry.ini.lock");
}

// A user who made the file private (or shared it with a group) keeps that mode across saves.
TEST_F(FileRegistryTest, ASaveKeepsTheFilesMode) {
    FileRegistry registry(path());
    for (mode_t mode : {0600, 0640, 0604}) {
        Save(registry, {12000, 13000, 300, 5});
        ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), mode), 0);
        Save(registry, {15000, 19000, 400, 2});
        struct stat after = {};
        ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, mode);
    }
}

TEST_F(FileRegistryTest, HandEditedFileIsRead) {
    QDir().mkpath(dir.filePath("drovane"));
    WriteAll(path(),
             "; my settings\r\n[HKEY_LOCAL_MACHINE\\software\\corvell\\drovane]\r\n"
             "  \"frequency1\" = \"15000\"\r\n\"FREQUENCY2\"=\"19000 Hz\"\r\n\"Delay\"=\" 400\"\r\n"
             "\"Step\"=\"2\"\r\n");
    FileRegistry registry(path());
    EXPECT_EQ(Load(registry), (Params{15000, 19000, 400, 2}));
}

TEST_F(FileRegistryTest, LinkedFileIsUpdatedWhereItLives) {
    QDir().mkpath(dir.filePath("dotfiles"));
    QDir().mkpath(dir.filePath("drovane"));
    WriteAll(dir.filePath("dotfiles/registry.ini"),
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell\\Drovane]\n");
    ASSERT_TRUE(QFile::link(dir.filePath("dotfiles/registry.ini"), path()));
    FileRegistry registry(path());
    Save(registry, {12000, 13000, 300, 5});
    EXPECT_TRUE(prompt.errors.empty());
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_TRUE(ReadAll(dir.filePath("dotfiles/registry.ini")).contains("\"Step\"=\"5\""));
    EXPECT_EQ(Load(registry), (Params{12000, 13000, 300, 5}));
}

TEST_F(FileRegistryTest, CorruptFileReadsAsMissingAndIsKeptAside) {
    std::mt19937 random(12345);
    QByteArray noise(3000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const QByteArray good =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell\\Drovane]\n\"Frequency1\"=\"12000\"\n"
        "\"Frequency2\"=\"13000\"\n\"Delay\"=\"300\"\n\"Step\"=\"5\"\n";
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"random bytes", noise},
        {"truncated inside a value", good.left(good.size() - 4)},
        {"UTF-16", QByteArray("\xff\xfe", 2) +
                       QByteArray::fromRawData(
                           reinterpret_cast<const char*>(QString::fromLatin1(good).utf16()),
                           good.size() * 2)},
        {"Latin-1", good + "\"Name\"=\"caf\xe9\"\n"},
        {"larger than a settings file", good + QByteArray(2 << 20, ';')},
    };
    QDir().mkpath(dir.filePath("drovane"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(path(), c.bytes);
        ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0640), 0);
        FileRegistry registry(path());
        EXPECT_EQ(Load(registry), (Params{16000, 20000, 500, 10}));
        EXPECT_EQ(ReadAll(path()), c.bytes) << "loading leaves the broken file alone";
        EXPECT_TRUE(registry.Problem().starts_with("cannot be parsed: ")) << registry.Problem();

        Save(registry, {14000, 15000, 400, 6});
        EXPECT_TRUE(prompt.errors.empty());
        EXPECT_EQ(Load(registry), (Params{14000, 15000, 400, 6}));
        EXPECT_EQ(QFile::permissions(path()), QFile::permissions(path() + ".broken"));
        EXPECT_EQ(ReadAll(path() + ".broken"), c.bytes) << "the newest broken file is kept";
        EXPECT_EQ(QDir(dir.filePath("drovane")).entryList({"*.broken*"}).join(' ').toStdString(),
                  "registry.ini.broken");
    }

    // A link to a file that is not a settings file: the link goes aside, the file stays as it is.
    WriteAll(dir.filePath("notes.txt"), "my notes\n");
    QFile::remove(path());
    ASSERT_TRUE(QFile::link(dir.filePath("notes.txt"), path()));
    FileRegistry linked(path());
    Save(linked, {14000, 15000, 400, 6});
    EXPECT_EQ(ReadAll(dir.filePath("notes.txt")), "my notes\n");
    EXPECT_FALSE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(Load(linked), (Params{14000, 15000, 400, 6}));
    EXPECT_EQ(QFileInfo(path() + ".broken").symLinkTarget(), dir.filePath("notes.txt"));
}

TEST_F(FileRegistryTest, PathThatIsADirectoryIsLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(path()));
    FileRegistry registry(path());
    EXPECT_EQ(Load(registry), (Params{16000, 20000, 500, 10}));
    EXPECT_EQ(registry.Problem(), "cannot be read");
    Save(registry, {14000, 15000, 400, 6});
    EXPECT_EQ(prompt.errors, kSixMessages);
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(FileRegistryTest, DirectoryThatCannotBeCreatedGivesTheMessages) {
    WriteAll(dir.filePath("drovane"), "a file where the directory should be");
    FileRegistry registry(path());
    Save(registry, {14000, 15000, 400, 6});
    EXPECT_EQ(prompt.errors, kSixMessages);
    EXPECT_EQ(ReadAll(dir.filePath("drovane")), "a file where the directory should be");
}

// Runs `check` in a child process without root's power to write anywhere; its exit code is the
// result. Without root the check runs as the current user.
int RunUnprivileged(const std::function<int()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(77);
        }
        _exit(check());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Checks that need a user without root's power to read and write anything. Run as a CTest test
// of their own: where no such user can be had, they are skipped, and CTest says so.
class FileRegistryUnprivilegedTest : public FileRegistryTest {
protected:
    // Runs `check` as the unprivileged user with the settings folder open to it; skips the test
    // where that cannot be done.
    void RunAsUnprivilegedUser(const std::function<int()>& check) {
        ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        ASSERT_EQ(chmod(QFile::encodeName(path() + ".lock").constData(), 0666), 0);
        result = RunUnprivileged([&] {
            if (access(QFile::encodeName(dir.filePath("drovane")).constData(), X_OK) != 0) {
                return 78;
            }
            return check();
        });
        chmod(QFile::encodeName(dir.filePath("drovane")).constData(), 0755);
        chmod(QFile::encodeName(path()).constData(), 0644);
        if (result == 77) GTEST_SKIP() << "cannot drop root's rights here";
        if (result == 78) {
            GTEST_SKIP() << "the temporary folder is out of an unprivileged user's reach";
        }
    }
    void StoreFirstValues() {
        FileRegistry registry(path());
        Save(registry, {12000, 13000, 300, 5});
        ASSERT_TRUE(prompt.errors.empty());
    }

    int result = -1;
};

TEST_F(FileRegistryUnprivilegedTest, ReadOnlyDirectoryGivesTheSixMessagesAndKeepsTheFile) {
    StoreFirstValues();
    const QByteArray before = ReadAll(path());
    ASSERT_EQ(chmod(QFile::encodeName(dir.filePath("drovane")).constData(), 0555), 0);
    RunAsUnprivilegedUser([&] {
        if (access(QFile::encodeName(path()).constData(), R_OK) != 0) return 78;
        FileRegistry registry(path());
        Save(registry, {14000, 15000, 400, 6});
        if (prompt.errors != kSixMessages) return 1;
        if (Load(registry) != Params{12000, 13000, 300, 5}) return 2;
        return 0;
    });
    EXPECT_EQ(result, 0) << "1: wrong messages, 2: values changed";
    EXPECT_EQ(ReadAll(path()), before);
}

// A file that exists but cannot be read holds values nobody can see: a save must not replace it
// with a file that lacks them, even where the folder would let it.
TEST_F(FileRegistryUnprivilegedTest, UnreadableFileIsNeverReplaced) {
    StoreFirstValues();
    const QByteArray before = ReadAll(path());
    ASSERT_EQ(chmod(QFile::encodeName(dir.filePath("drovane")).constData(), 0777), 0);
    ASSERT_EQ(chmod(QFile::encodeName(path()).constData(), 0), 0);
    RunAsUnprivilegedUser([&] {
        FileRegistry registry(path());
        if (registry.Problem() != "cannot be read") return 1;
        Save(registry, {14000, 15000, 400, 6});
        if (prompt.errors != kSixMessages) return 2;
        return 0;
    });
    EXPECT_EQ(result, 0) << "1: the file read as readable, 2: wrong messages";
    EXPECT_EQ(ReadAll(path()), before) << "the values nobody could read are still there";
}

}  // namespace
