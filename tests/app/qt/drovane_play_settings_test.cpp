// drovane-play takes its defaults from the stored settings and never writes them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

struct Result {
    int code = -1;
    std::string output;  // standard output and error together
};

Result Play(const QString& configHome, const std::string& arguments,
            const std::string& environment = {}) {
    const std::string command = environment + "XDG_CONFIG_HOME='" + configHome.toStdString() +
                                "' '" + DROVANE_PLAY + "' " + arguments + " 2>&1";
    Result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

void WriteSettings(const QString& configHome, const QByteArray& values) {
    ASSERT_TRUE(QDir().mkpath(configHome + "/drovane"));
    QFile file(configHome + "/drovane/registry.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvell\\Drovane]\n" + values);
}

QStringList FilesIn(const QString& dir) {
    QStringList files;
    for (const QFileInfo& info :
         QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        files << info.fileName();
        if (info.isDir()) {
            for (const QString& inner : FilesIn(info.filePath()))
                files << info.fileName() + "/" + inner;
        }
    }
    return files;
}

TEST(DrovanePlaySettingsTest, ShowsStoredValuesAndThePath) {
    QTemporaryDir home;
    const Result missing = Play(home.path(), "settings");
    EXPECT_EQ(missing.code, 0);
    EXPECT_NE(missing.output.find("Settings file: " + home.path().toStdString() +
                                  "/drovane/registry.ini\n"
                                  "  The file does not exist yet.\n"
                                  "Frequency1: 16000\nFrequency2: 20000\nDelay: 500\nStep: 10\n"),
              std::string::npos)
        << missing.output;
    EXPECT_TRUE(FilesIn(home.path()).isEmpty()) << "showing creates nothing";

    WriteSettings(
        home.path(),
        "\"Frequency1\"=\"12000\"\n\"Frequency2\"=\"13000\"\n\"Delay\"=\"300\"\n\"Step\"=\"5\"\n");
    const Result stored = Play(home.path(), "settings");
    EXPECT_NE(stored.output.find("Frequency1: 12000\nFrequency2: 13000\nDelay: 300\nStep: 5\n"),
              std::string::npos)
        << stored.output;

    WriteSettings(home.path(), "\"Frequency1\"=12000\n");
    const Result broken = Play(home.path(), "settings");
    EXPECT_EQ(broken.code, 0);
    EXPECT_NE(broken.output.find(
                  "The file cannot be parsed: line 2: a text in double quotes is expected;"),
              std::string::npos)
        << broken.output;
    EXPECT_NE(broken.output.find("Frequency1: 16000\n"), std::string::npos) << broken.output;
}

TEST(DrovanePlaySettingsTest, SweepUsesStoredValuesUnlessGivenAndNeverWrites) {
    QTemporaryDir home;
    WriteSettings(
        home.path(),
        "\"Frequency1\"=\"12000\"\n\"Frequency2\"=\"40000\"\n\"Delay\"=\"300\"\n\"Step\"=\"5\"\n");
    const QStringList before = FilesIn(home.path());
    const QString wav = home.path() + "/out.wav";

    // The stored upper frequency is out of range, so the engine refuses it, as the dialog would.
    const Result refused =
        Play(home.path(), "sweep --seconds 0.1 --wav '" + wav.toStdString() + "'");
    EXPECT_EQ(refused.code, 2) << refused.output;
    EXPECT_NE(refused.output.find("Frequency must range from 0 to 32767"), std::string::npos)
        << refused.output;

    // A value on the command line wins over the stored one.
    const Result played =
        Play(home.path(), "sweep --to 20000 --seconds 0.1 --wav '" + wav.toStdString() + "'");
    EXPECT_EQ(played.code, 0) << played.output;
    QStringList after = FilesIn(home.path());
    after.removeAll("out.wav");
    EXPECT_EQ(after, before) << "playing writes no settings";
}

TEST(DrovanePlaySettingsTest, ASweepThatRefusesItsValuesRendersSilenceAndEnds) {
    QTemporaryDir home;
    for (const std::string values : {"--step 0", "--from 0"}) {
        const QString wav = home.path() + "/silent.wav";
        const Result run = Play(
            home.path(), "sweep " + values + " --seconds 0.25 --wav '" + wav.toStdString() + "'");
        EXPECT_EQ(run.code, 0) << run.output;
        EXPECT_NE(run.output.find("plays no sweep"), std::string::npos) << run.output;
        QFile file(wav);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << values;
        const QByteArray bytes = file.readAll();
        ASSERT_EQ(bytes.size(), 44 + 12000 * 4) << values << ": a quarter second of samples";
        EXPECT_EQ(bytes.mid(44), QByteArray(12000 * 4, '\0')) << values << ": all silent";
    }
}

TEST(DrovanePlaySettingsTest, AWavThatCannotBeWrittenFailsAndLeavesNothing) {
    QTemporaryDir home;
    const QString folder = home.path() + "/taken.wav";
    ASSERT_TRUE(QDir().mkpath(folder));
    const Result taken =
        Play(home.path(), "melody --seconds 0.1 --wav '" + folder.toStdString() + "'");
    EXPECT_EQ(taken.code, 1) << taken.output;
    EXPECT_NE(taken.output.find("cannot write"), std::string::npos) << taken.output;
    EXPECT_EQ(FilesIn(home.path()), QStringList{"taken.wav"}) << "no part file is left";

    const Result nowhere = Play(
        home.path(), "melody --seconds 0.1 --wav '" + home.path().toStdString() + "/no/such.wav'");
    EXPECT_EQ(nowhere.code, 1) << nowhere.output;
    EXPECT_EQ(FilesIn(home.path()), QStringList{"taken.wav"});
}

TEST(DrovanePlaySettingsTest, EveryMessageBeginsWithItsName) {
    QTemporaryDir home;
    WriteSettings(
        home.path(),
        "\"Frequency1\"=\"12000\"\n\"Frequency2\"=\"40000\"\n\"Delay\"=\"300\"\n\"Step\"=\"5\"\n");
    // No sound server and no sound card: the sound output's own message.
    const std::string noSound = "PULSE_SERVER=unix:/nonexistent ALSA_CONFIG_PATH=/dev/null ";
    struct Case {
        std::string environment, arguments, says;
    };
    for (const auto& [environment, arguments, says] :
         {Case{"", "sweep --from 40000", "--from must range from 0 to 32767"},
          Case{"", "sweep --seconds 1", "Frequency must range from 0 to 32767"},
          Case{"", "melody --seconds 1 --wav /no/x.wav", "cannot write /no/x.wav"},
          Case{noSound, "melody --seconds 0.2", "cannot open sound output"}}) {
        const Result run = Play(home.path(), arguments, environment);
        EXPECT_NE(run.code, -1);
        EXPECT_NE(run.output.find(says), std::string::npos) << arguments << ":\n" << run.output;
        std::istringstream lines(run.output);
        for (std::string line; std::getline(lines, line);)
            EXPECT_TRUE(line.starts_with("drovane-play: ")) << arguments << ": " << line;
    }
}

}  // namespace
