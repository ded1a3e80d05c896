#include "settings/qt/qt_logon_entry.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>

#include "settings/desktop_entry.h"
#include "settings/qt/file_registry.h"
#include "settings/registry_settings.h"
#include "tests/support/memory_registry.h"
#include "tests/support/scripted_prompt.h"

namespace {

// A string value read back: \s, \n, \t, \r and \\ unescaped. Nullopt when malformed.
std::optional<std::string> StringValue(std::string_view value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            unescaped += value[i];
            continue;
        }
        if (++i == value.size()) return std::nullopt;
        switch (value[i]) {
            case 's':
                unescaped += ' ';
                break;
            case 'n':
                unescaped += '\n';
                break;
            case 't':
                unescaped += '\t';
                break;
            case 'r':
                unescaped += '\r';
                break;
            case '\\':
                unescaped += '\\';
                break;
            default:
                return std::nullopt;
        }
    }
    return unescaped;
}

// The Exec value's arguments, read back the way freedesktop.org desktop entries define them:
// first the string escapes, then quoting, then the doubled percent sign. Nullopt when malformed.
std::optional<std::vector<std::string>> ExecArguments(std::string_view value) {
    const std::optional<std::string> text = StringValue(value);
    if (!text) return std::nullopt;
    const std::string& unescaped = *text;
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (i < unescaped.size()) {
        if (unescaped[i] == ' ') {
            ++i;
            continue;
        }
        std::string argument;
        if (unescaped[i] != '"') return std::nullopt;  // every argument we write is quoted
        for (++i;; ++i) {
            if (i == unescaped.size()) return std::nullopt;
            const char c = unescaped[i];
            if (c == '"') break;
            if (c == '\\') {
                if (++i == unescaped.size()) return std::nullopt;
                if (std::string_view("\"`$\\").find(unescaped[i]) == std::string_view::npos) {
                    return std::nullopt;
                }
                argument += unescaped[i];
            } else if (c == '%') {
                if (++i == unescaped.size() || unescaped[i] != '%') return std::nullopt;
                argument += '%';
            } else {
                argument += c;
            }
        }
        ++i;
        arguments.push_back(argument);
    }
    return arguments;
}

// The value of `key` in the entry `file`, as written.
std::string KeyValue(const QString& file, const QByteArray& key) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(key + "=")) return line.mid(key.size() + 1).toStdString();
    }
    return {};
}

std::string ExecLine(const QString& file) { return KeyValue(file, "Exec"); }

// desktop-file-validate's exit code and everything it printed.
std::pair<int, std::string> Validate(const QString& file) {
    const std::string command = "desktop-file-validate '" + file.toStdString() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, "cannot run desktop-file-validate"};
    std::string output;
    char buffer[512];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

bool GlibRunsAStubAt(const QString& entry, const std::string& program) {
    setenv("STUB", program.c_str(), 1);
    setenv("ENTRY", QFile::encodeName(entry).constData(), 1);
    return std::system(R"(mkdir -p "${STUB%/*}" && printf '#!/bin/sh\n: >"$0.ran"\n' >"$STUB" &&
        chmod +x "$STUB" && DBUS_SESSION_BUS_ADDRESS=unix:path=/none gio launch "$ENTRY" &&
        timeout 10 sh -c 'until [ -e "$STUB.ran" ]; do sleep 0.02; done')") == 0;
}

const std::vector<std::string> kPaths = {
    "/usr/bin/drovane",
    "/opt/My Apps/drovane",
    "/home/a\"b/it's/drovane",
    "/tmp/$HOME/${PATH}/drovane",
    "/tmp/back\\slash\\\\/drovane",
    "/tmp/`id`;|&<>*?#()~/drovane",
    "/tmp/100%/%f %u/drovane",
    "/tmp/a=b/100%/drovane",
    "/home/사용자/드로바네/drovane",
    "/tmp/tab\there/new\nline/cr\r/drovane",
};

TEST(DesktopEntryTest, ExecParsesBackToTheExactPathAndValidates) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int index = 0;
    for (const std::string& tail : kPaths) {
        const std::string path = dir.path().toStdString() + tail;
        SCOPED_TRACE(path);
        const QString file = dir.filePath(QStringLiteral("entry%1.desktop").arg(index++));
        QtLogonEntry entry(file);
        ASSERT_TRUE(entry.Write(path));
        const std::string exec = ExecLine(file);
        EXPECT_EQ(ExecArguments(exec).value_or(std::vector<std::string>(1)).back(), path) << exec;
        EXPECT_TRUE(GlibRunsAStubAt(file, path)) << exec;
        EXPECT_EQ(StringValue(KeyValue(file, "TryExec")), path) << "the program's own path";
        const auto [code, output] = Validate(file);
        EXPECT_EQ(code, 0) << output;
        EXPECT_EQ(output, "") << "no warnings either";
    }
}

TEST(DesktopEntryTest, FileHasTheKeysDesktopSessionsRead) {
    const std::optional<std::string> text = AutostartDesktopFile("/usr/bin/drovane");
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->starts_with("[Desktop Entry]\nType=Application\nName=Drovane\n")) << *text;
    for (const char* line : {"\nExec=\"/usr/bin/drovane\"\n", "\nHidden=false\n",
                             "\nX-GNOME-Autostart-enabled=true\n", "\nTerminal=false\n"}) {
        EXPECT_NE(text->find(line), std::string::npos) << line;
    }
}

TEST(DesktopEntryTest, PathsADesktopFileCannotCarryAreRefused) {
    EXPECT_EQ(DesktopExecValue("/tmp/\xff/drovane"), std::nullopt);
    EXPECT_EQ(DesktopExecValue(std::string("/tmp/\0/drovane", 15)), std::nullopt);
    EXPECT_EQ(DesktopExecValue("/tmp/\x1b[31m/drovane"), std::nullopt);
    EXPECT_EQ(DesktopExecValue(""), std::nullopt) << "what Qt gives in a folder not in UTF-8";
}

class QtLogonEntryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString EntryPath() const { return dir.filePath("config/autostart/Drovane Startup.desktop"); }

    QTemporaryDir dir;
    MemoryRegistry registry;
    ScriptedPrompt prompt;
};

TEST_F(QtLogonEntryTest, PresenceIsTheState) {
    QtLogonEntry entry(EntryPath());
    CRegistrySettings settings(registry, entry, prompt, "/opt/My Apps/drovane");
    EXPECT_FALSE(settings.IsRunAtLogon());
    settings.SetRunAtLogon(true);
    EXPECT_TRUE(settings.IsRunAtLogon()) << "the autostart directory is created";
    EXPECT_EQ(ExecArguments(ExecLine(EntryPath())),
              std::vector<std::string>{"/opt/My Apps/drovane"});

    CRegistrySettings moved(registry, entry, prompt, "/usr/local/bin/drovane");
    moved.SetRunAtLogon(true);
    EXPECT_EQ(ExecLine(EntryPath()), "\"/usr/local/bin/drovane\"") << "the second enable replaces";

    QFile empty(EntryPath());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    EXPECT_TRUE(settings.IsRunAtLogon()) << "an empty file still counts";

    settings.SetRunAtLogon(false);
    EXPECT_FALSE(settings.IsRunAtLogon());
    EXPECT_FALSE(QFileInfo::exists(EntryPath()));
    settings.SetRunAtLogon(false);
    EXPECT_TRUE(prompt.errors.empty());
    const QStringList left =
        QDir(dir.filePath("config/autostart")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
}

TEST_F(QtLogonEntryTest, EntryThatCannotBeWrittenGivesItsMessage) {
    QDir().mkpath(dir.filePath("config"));
    QFile blocker(dir.filePath("config/autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtLogonEntry entry(EntryPath());
    CRegistrySettings settings(registry, entry, prompt, "/usr/bin/drovane");
    settings.SetRunAtLogon(true);
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Cannot set program run on startup"});
    EXPECT_FALSE(settings.IsRunAtLogon());

    prompt.errors.clear();
    QtLogonEntry writable(dir.filePath("elsewhere/Drovane Startup.desktop"));
    CRegistrySettings strange(registry, writable, prompt, "/tmp/\xff/drovane");
    strange.SetRunAtLogon(true);
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Cannot set program run on startup"});

    // A full disk: no byte can be written (a file size limit of 0 stands for it).
    prompt.errors.clear();
    QtLogonEntry full(dir.filePath("full/Drovane Startup.desktop"));
    CRegistrySettings onFullDisk(registry, full, prompt, "/usr/bin/drovane");
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit none{0, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    onFullDisk.SetRunAtLogon(true);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Cannot set program run on startup"});
    EXPECT_EQ(
        QDir(dir.filePath("full")).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(),
        "")
        << "no entry, empty or not, and no temporary file";
}

TEST(DefaultPathTest, FollowsXdgConfigHome) {
    const char* saved = getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/srv/cfg", 1);
    EXPECT_EQ(FileRegistry::DefaultPath(), "/srv/cfg/drovane/registry.ini");
    EXPECT_EQ(QtLogonEntry::DefaultPath(), "/srv/cfg/autostart/Drovane Startup.desktop");
    for (const char* ignored : {"", "relative/cfg"}) {
        setenv("XDG_CONFIG_HOME", ignored, 1);
        EXPECT_EQ(FileRegistry::DefaultPath(), QDir::homePath() + "/.config/drovane/registry.ini");
        EXPECT_EQ(QtLogonEntry::DefaultPath(),
                  QDir::homePath() + "/.config/autostart/Drovane Startup.desktop");
    }
    if (saved) {
        setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
