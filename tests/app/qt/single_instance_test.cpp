// One running copy per executable name: the lock, the activation message and stale leftovers.
#include "app/qt/single_instance.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <atomic>
#include <future>
#include <memory>

#include "tests/support/qt/qt_test_environment.h"

using namespace std::chrono_literals;

namespace {

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QCoreApplication>();

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

// Runs the event loop until `done` holds or 10 s have passed.
template <typename Done>
bool ProcessEventsUntil(Done done) {
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

TEST_F(SingleInstanceTest, OneCopyPerNameHoldsTheLockUntilItEnds) {
    auto first = std::make_unique<SingleInstance>("drovane", dir.path());
    ASSERT_TRUE(first->Acquire());
    SingleInstance second("drovane", dir.path());
    EXPECT_FALSE(second.Acquire());
    SingleInstance otherName("drovane-copy", dir.path());
    EXPECT_TRUE(otherName.Acquire()) << "a copy under another file name runs beside it";

    first.reset();
    SingleInstance third("drovane", dir.path());
    EXPECT_TRUE(third.Acquire()) << "the lock goes with the copy that held it";
}

TEST_F(SingleInstanceTest, ALaterCopyActivatesTheRunningOne) {
    SingleInstance running("drovane", dir.path());
    ASSERT_TRUE(running.Acquire());
    int activations = 0;
    QString token;
    ASSERT_TRUE(running.Listen([&](const QString& given) {
        ++activations;
        token = given;
    }));

    // The later copy blocks while it talks, so it runs on a thread of its own, as it would in a
    // process of its own; this thread serves the running copy's socket.
    std::future<bool> sent = std::async(std::launch::async, [&] {
        SingleInstance later("drovane", dir.path());
        return !later.Acquire() && later.ActivateRunningCopy(5000, "sway-token_1");
    });
    EXPECT_TRUE(ProcessEventsUntil([&] { return activations > 0; }));
    ProcessEventsUntil(
        [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(token, "sway-token_1") << "the desktop's activation token is handed on";
}

TEST_F(SingleInstanceTest, ActivatingWithNobodyListeningGivesUpAfterItsTimeout) {
    SingleInstance lonely("drovane", dir.path());
    EXPECT_FALSE(lonely.ActivateRunningCopy(200));
}

TEST_F(SingleInstanceTest, LeftoversOfACopyThatDiedAreTakenOver) {
    // A copy that dies holding the lock and leaving its socket file behind.
    const pid_t child = fork();
    if (child == 0) {
        auto* dead = new SingleInstance("drovane", dir.path());
        if (!dead->Acquire()) _exit(1);
        QFile socket(dead->SocketPath());
        _exit(socket.open(QIODevice::WriteOnly) ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    SingleInstance next("drovane", dir.path());
    ASSERT_EQ(QDir(dir.path()).entryList({"*.lock"}).size(), 1) << "the dead copy's lock is there";
    EXPECT_TRUE(next.Acquire()) << "a lock whose holder is gone is stale";
    int activations = 0;
    EXPECT_TRUE(next.Listen([&](const QString&) { ++activations; }))
        << "the dead copy's socket file is replaced";
}

// The lock's folder: $XDG_RUNTIME_DIR when it is private, else the program's own under the
// temporary folder; none, with the reason, when that is not private either.
TEST_F(SingleInstanceTest, TheLockGoesToAPrivateFolderOrTheReasonIsGiven) {
    const QString own = dir.filePath("tmp/drovane-%1").arg(getuid());
    QDir().mkpath(dir.filePath("open"));
    QDir().mkpath(dir.filePath("run"));
    QFile::setPermissions(dir.filePath("run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString fits = dir.filePath(QString(102 - own.size(), 'r'));  // see the cases
    for (const QString& folder : {fits, fits + 'r'})
        QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const struct {
        QString runtime;  // XDG_RUNTIME_DIR; empty for unset
        bool ownIsALink;
        QString chosen;
        const char* why;
    } cases[] = {
        {dir.filePath("run"), false, dir.filePath("run"), ""},
        {"", false, own, ""},
        {dir.filePath("open"), false, own, ""},  // open to other users
        {"run", false, own, ""},                 // relative
        {"", true, "", "not a folder"},
        {fits, false, fits, ""},  // its socket path, 106 bytes, is as long as later starts reach
        {fits + 'r', false, own, ""},
    };
    qputenv("TMPDIR", QFile::encodeName(dir.filePath("tmp")));
    for (const auto& c : cases) {
        QDir(dir.filePath("tmp")).removeRecursively();
        QDir().mkpath(dir.filePath("tmp"));
        if (c.ownIsALink) QFile::link(dir.filePath("run"), own);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(c.runtime));
        QString why;
        EXPECT_EQ(SingleInstance::PrivateFolder("drovane", &why), c.chosen)
            << c.runtime.toStdString();
        EXPECT_TRUE(why.contains(c.why)) << why.toStdString();
        if (c.chosen == own) {
            EXPECT_EQ(QFileInfo(own).permissions() & 0x0077, 0) << "closed";
        }
    }
    if (getuid() == 0) {  // only root can give the program's own folder to another user
        ASSERT_EQ(chown(QFile::encodeName(dir.filePath("tmp")).constData(), 12345, 12345), 0);
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
        QDir().rename(dir.filePath("tmp"), dir.filePath("drovane-%1").arg(getuid()));
        QString why;
        EXPECT_EQ(SingleInstance::PrivateFolder("drovane", &why), QString());
        EXPECT_TRUE(why.contains("another user's")) << why.toStdString();
    }
    qunsetenv("TMPDIR");
}

TEST_F(SingleInstanceTest, ARequestLongerThanALineClosesTheConnection) {
    SingleInstance running("drovane", dir.path());
    ASSERT_TRUE(running.Acquire());
    int activations = 0;
    ASSERT_TRUE(running.Listen([&](const QString&) { ++activations; }));
    std::future<bool> closed = std::async(std::launch::async, [&] {
        QLocalSocket socket;
        socket.connectToServer(running.SocketPath());
        socket.write(QByteArray(1 << 20, 'a'));
        socket.waitForBytesWritten(5000);
        return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(5000);
    });
    ProcessEventsUntil([&] { return closed.wait_for(0s) == std::future_status::ready; });
    EXPECT_TRUE(closed.get()) << "the running copy hung up";
    EXPECT_EQ(activations, 0);
}

// A caller is hung up on once served, or when it has not sent a whole request in time.
TEST_F(SingleInstanceTest, NoCallerIsHeldOnceServedOrAfterTheQuietLimit) {
    SingleInstance running("drovane", dir.path());
    int activations = 0;
    ASSERT_TRUE(running.Listen([&](const QString&) { ++activations; }, 200ms));
    for (const char* says : {"", "activ", "activate\n"}) {
        QLocalSocket caller;
        caller.connectToServer(running.SocketPath());
        ASSERT_TRUE(caller.waitForConnected(1000));
        caller.write(says);
        EXPECT_TRUE(ProcessEventsUntil([&] { return caller.state() == caller.UnconnectedState; }))
            << says;
    }
    EXPECT_EQ(activations, 1);
}

// Callers that come while the running copy has no descriptor left are served once it has again.
TEST_F(SingleInstanceTest, CallersAreServedAfterTheDescriptorsRanOut) {
    SingleInstance running("drovane", dir.path());
    int activations = 0;
    ASSERT_TRUE(running.Listen([&](const QString&) { ++activations; }));
    rlimit limit = {};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    for (const int callers : {1, 10}) {  // the later ones come after accepting has failed
        activations = 0;
        QLocalSocket calls[10];
        for (int i = 0; i < callers; ++i) {
            calls[i].connectToServer(running.SocketPath());
            ASSERT_TRUE(calls[i].write("activate\n") > 0 && calls[i].flush());
        }
        const int lowest = ::dup(STDOUT_FILENO);  // every descriptor below it is in use
        ::close(lowest);
        const rlimit none = {static_cast<rlim_t>(lowest), limit.rlim_max};
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 300);  // accepting fails
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
        EXPECT_TRUE(ProcessEventsUntil([&] { return activations == callers; })) << callers;
    }
}

}  // namespace
