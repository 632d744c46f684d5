// One window per person: the files of the command line, the first start that listens, and a
// later start of the real program that hands its files over and ends.

#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "support/EventLoop.h"
#include "support/ProgramFolder.h"
#include "support/ProgramRun.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using namespace vidora;

namespace {

const QString kProgram = QStringLiteral(VIDORA_PROGRAM_DIR "/vidora");

QStringList runtimeFolder(const QTemporaryDir& folder) {
    return {u"XDG_RUNTIME_DIR=" + folder.path()};
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_runtime.isValid() && m_work.isValid()); }
    QTemporaryDir m_runtime;
    QTemporaryDir m_work;
};

} // namespace

TEST(CommandLineFiles, EveryArgumentIsAFileWithItsFullPath) {
    const QString here = QStringLiteral("/home/me/my clips");
    EXPECT_EQ(filesFromArguments({"vidora"}, here), QStringList());
    EXPECT_EQ(filesFromArguments({"vidora", "a.avi", "../b c.mp4", "/abs/ü'x\".mkv", "-d.avi",
                                  "file:///m/a%20b.avi", "", "./sub/../e.avi"},
                                 here),
              (QStringList{"/home/me/my clips/a.avi", "/home/me/b c.mp4", "/abs/ü'x\".mkv",
                           "/home/me/my clips/-d.avi", "/m/a b.avi", "/home/me/my clips/e.avi"}));
    // "--" ends the options there are none of; a second one is a file's name.
    EXPECT_EQ(filesFromArguments({"vidora", "--", "--", "x"}, QStringLiteral("/w")),
              (QStringList{"/w/--", "/w/x"}));
}

TEST_F(SingleInstanceTest, TheFirstStartListensAlsoAfterOneThatCrashed) {
    // What a start killed with SIGKILL leaves: its lock file and its socket.
    QFile(m_runtime.filePath(QStringLiteral("vidora.lock"))).open(QIODevice::WriteOnly);
    QFile(m_runtime.filePath(QStringLiteral("vidora.socket"))).open(QIODevice::WriteOnly);
    SingleInstance first(m_runtime.path());
    EXPECT_EQ(first.start({}), SingleInstance::Start::First);
    EXPECT_EQ(first.socketPath(), m_runtime.filePath(QStringLiteral("vidora.socket")));
    EXPECT_FALSE(QFileInfo(first.socketPath()).isFile()) << "the stale socket was replaced";
    EXPECT_TRUE(QFileInfo::exists(first.socketPath()));
}

TEST_F(SingleInstanceTest, ALaterStartHandsItsFilesToTheFirstAndEnds) {
    SingleInstance first(m_runtime.path());
    ASSERT_EQ(first.start({}), SingleInstance::Start::First);
    QSignalSpy handedOver(&first, &SingleInstance::filesHandedOver);

    const QStringList files{"clip one.avi", "-it's \"quoted\" ü.mp4", "/elsewhere/x.mkv"};
    test::ProgramRun later(kProgram, files, runtimeFolder(m_runtime), m_work.path());
    EXPECT_EQ(later.exitCode(15000), 0) << later.errors().toStdString();
    ASSERT_TRUE(test::waitFor([&] { return handedOver.size() == 1; }, 5000));
    EXPECT_EQ(handedOver.first().first().toStringList(),
              (QStringList{m_work.filePath(QStringLiteral("clip one.avi")),
                           m_work.filePath(QStringLiteral("-it's \"quoted\" ü.mp4")),
                           "/elsewhere/x.mkv"}));

    // A start without files hands over an empty list: the window only comes to the front.
    test::ProgramRun bare(kProgram, {}, runtimeFolder(m_runtime), m_work.path());
    EXPECT_EQ(bare.exitCode(15000), 0);
    ASSERT_TRUE(test::waitFor([&] { return handedOver.size() == 2; }, 5000));
    EXPECT_EQ(handedOver.last().first().toStringList(), QStringList());
}

TEST_F(SingleInstanceTest, ALaterStartEndsWhenTheFirstDoesNotAnswer) {
    // A first start that holds the lock and never listens.
    const int lock =
        ::open(QFile::encodeName(m_runtime.filePath(QStringLiteral("vidora.lock"))).constData(),
               O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    test::ProgramRun later(kProgram, {QStringLiteral("a.avi")}, runtimeFolder(m_runtime),
                           m_work.path());
    EXPECT_EQ(later.exitCode(20000), 1);
    EXPECT_TRUE(later.errors().contains(QStringLiteral("already running but does not answer")));
    ::close(lock);
}

TEST(HandedOverFiles, AreAddedAsIfDropped) {
    QTemporaryDir folder;
    const test::ProgramFolder programFolder(folder.path());
    test::MessageRecorder messages;
    MainWindow window;
    const QString notes = folder.filePath(QStringLiteral("notes.txt"));
    QFile(notes).open(QIODevice::WriteOnly);
    window.addHandedOverFiles({notes});
    EXPECT_EQ(window.jobs().count(), 0);
    EXPECT_EQ(messages.shown, QStringList{"information: Only Video files are allowed!"});
}
