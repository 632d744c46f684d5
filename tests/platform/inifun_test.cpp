// The settings file on real files: names, limits, kept lines, unreadable content and
// interrupted writes.

#include "platform/Inifun.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vidora {
namespace {

class Inifun : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("settings.dat")); }

    void writeFile(const QByteArray& bytes) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray fileBytes() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString read(const char* section, const char* key) const {
        return ReadSetting(path(), QString::fromUtf8(section), QString::fromUtf8(key));
    }

    bool write(const char* section, const char* key, const QString& value) const {
        return WriteSetting(path(), QString::fromUtf8(section), QString::fromUtf8(key), value);
    }

    QTemporaryDir m_dir;
};

// Lowers the largest file this process may write, so that a write fails part-way as on a full
// disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_previous;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = SIG_DFL;
};

TEST_F(Inifun, SectionAndKeyNamesMatchRegardlessOfCase) {
    ASSERT_TRUE(write("Set", "profile", QStringLiteral("12")));
    EXPECT_EQ(read("set", "profile"), QStringLiteral("12"));
    EXPECT_EQ(read("SET", "PROFILE"), QStringLiteral("12"));
    EXPECT_EQ(fileBytes(), QByteArray("[Set]\nprofile=12\n"));

    // A later write under another spelling lands in the same section, on the same line.
    ASSERT_TRUE(write("set", "Profile", QStringLiteral("13")));
    ASSERT_TRUE(write("sEt", "thread", QStringLiteral("2")));
    EXPECT_EQ(fileBytes(), QByteArray("[Set]\nprofile=13\nthread=2\n"));
}

TEST_F(Inifun, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(read("set", "profile"), QString());
    EXPECT_FALSE(QFile::exists(path())) << "a read never creates the file";

    writeFile("[other]\nprofile=4\n[set]\nthread=2\n");
    EXPECT_EQ(read("set", "profile"), QString());
    EXPECT_EQ(read("none", "thread"), QString());
    EXPECT_EQ(read("other", "profile"), QStringLiteral("4"));
    EXPECT_EQ(read("set", ""), QString());
}

TEST_F(Inifun, ValuesAreTrimmedSoABlankFolderReadsEmpty) {
    writeFile(
        "[set]\n  outputfolder =   /home/me/My Videos  \nblank=     \nnone=\nquoted=\"a b\"\n");
    EXPECT_EQ(read("set", "outputfolder"), QStringLiteral("/home/me/My Videos"));
    EXPECT_EQ(read("set", "blank"), QString());
    EXPECT_EQ(read("set", "none"), QString());
    EXPECT_EQ(read("set", "quoted"), QStringLiteral("\"a b\"")) << "quotes are part of the value";

    ASSERT_TRUE(write("set", "outputfolder", QStringLiteral("   ")));
    EXPECT_EQ(read("set", "outputfolder"), QString());
}

TEST_F(Inifun, LongValuesAreReadAndWrittenWhole) {
    // Paths of a few hundred characters are ordinary: a folder must never come back cut short
    // (that would name a different folder).
    for (const qsizetype length : {127, 128, 200, 1000, 4096}) {
        const QString folder = u'/' + QString(length - 1, u'a');
        ASSERT_TRUE(write("set", "outputfolder", folder)) << length;
        EXPECT_EQ(read("set", "outputfolder"), folder) << length;
    }
    const QString spaced = QString(126, u'd') + QStringLiteral(" tail");
    ASSERT_TRUE(write("set", "outputfolder", spaced));
    EXPECT_EQ(read("set", "outputfolder"), spaced);
}

TEST_F(Inifun, NonAsciiFolderNamesSurviveAsUtf8) {
    const QString folder = QStringLiteral("/home/zoë/Vidéos/動画 'mine'");
    ASSERT_TRUE(write("set", "outputfolder", folder));
    EXPECT_EQ(read("set", "outputfolder"), folder);
    EXPECT_EQ(fileBytes(), "[set]\noutputfolder=" + folder.toUtf8() + '\n');

    // A character outside the basic plane at any place comes back whole.
    const QString emoji = QString(127, u'x') + QStringLiteral("\U0001F3AC");
    ASSERT_TRUE(write("set", "outputfolder", emoji));
    EXPECT_EQ(read("set", "outputfolder"), emoji);
}

TEST_F(Inifun, AWriteReplacesTheKeyInPlaceAndKeepsEveryOtherLine) {
    writeFile("; Vidora settings\n"
              "[other]\n"
              "thread=9\n"
              "\n"
              "[set]\n"
              "outputfolder=/videos\n"
              "Thread = 2\n"
              "# keep me\n"
              "\n"
              "[last]\n"
              "x=1\n");
    ASSERT_TRUE(write("set", "thread", QStringLiteral("4")));
    ASSERT_TRUE(write("set", "profile", QStringLiteral("12")));
    ASSERT_TRUE(write("new", "key", QStringLiteral("v")));
    EXPECT_EQ(fileBytes(), QByteArray("; Vidora settings\n"
                                      "[other]\n"
                                      "thread=9\n"
                                      "\n"
                                      "[set]\n"
                                      "outputfolder=/videos\n"
                                      "Thread=4\n"
                                      "# keep me\n"
                                      "profile=12\n"
                                      "\n"
                                      "[last]\n"
                                      "x=1\n"
                                      "[new]\n"
                                      "key=v\n"));
    EXPECT_EQ(read("other", "thread"), QStringLiteral("9"));
    EXPECT_EQ(read("set", "thread"), QStringLiteral("4"));
}

TEST_F(Inifun, CrLfFilesAreReadAndWrittenBackWithLf) {
    writeFile("\xEF\xBB\xBF[set]\r\noutputfolder=/videos\r\nthread=2\r\n");
    EXPECT_EQ(read("set", "outputfolder"), QStringLiteral("/videos"));
    EXPECT_EQ(read("set", "thread"), QStringLiteral("2"));
    ASSERT_TRUE(write("set", "thread", QStringLiteral("3")));
    EXPECT_EQ(fileBytes(), QByteArray("[set]\noutputfolder=/videos\nthread=3\n"));
}

TEST_F(Inifun, AValueCanNeverAddLines) {

    ASSERT_TRUE(write("set", "outputfolder", QStringLiteral("/x\n[evil]\nkey=1")));
    EXPECT_EQ(read("set", "outputfolder"), QStringLiteral("/x"));
    EXPECT_EQ(read("evil", "key"), QString());
    ASSERT_TRUE(write("set", "outputfolder", QStringLiteral("/y\r\nthread=99")));
    EXPECT_EQ(read("set", "thread"), QString());
    EXPECT_EQ(fileBytes(), QByteArray("[set]\noutputfolder=/y\n"));
}

TEST_F(Inifun, NamesThatWouldNotReadBackAreRefused) {
    EXPECT_FALSE(write("set", "", QStringLiteral("1")));
    EXPECT_FALSE(write("", "profile", QStringLiteral("1")));
    EXPECT_FALSE(write("set", "a=b", QStringLiteral("1")));
    EXPECT_FALSE(write("set", ";profile", QStringLiteral("1")));
    EXPECT_FALSE(write("s]et", "profile", QStringLiteral("1")));
    EXPECT_FALSE(write("set", "pro\nfile", QStringLiteral("1")));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(Inifun, ABinaryFileReadsEmptyAndTheNextWriteReplacesIt) {
    QByteArray binary;
    for (int round = 0; round < 1000; ++round)
        for (int byte = 0; byte < 256; ++byte)
            binary.append(static_cast<char>(byte));
    writeFile(binary);
    EXPECT_EQ(read("set", "profile"), QString());
    ASSERT_TRUE(write("set", "profile", QStringLiteral("3")));
    EXPECT_EQ(fileBytes(), QByteArray("[set]\nprofile=3\n"));
}

TEST_F(Inifun, UnreadableLinesAreDroppedAndReadableOnesKept) {
    writeFile("[set]\nthread=2\n\x01\x02\x03garbage\xff\xfe\n\x89PNG\r\n\x1a\nautoshut=1\n" +
              QByteArray("outputfolder=/a\0/b\n", 19) + QByteArray(100000, 'x') +
              "\nexistedfile=1\n");
    EXPECT_EQ(read("set", "thread"), QStringLiteral("2"));
    EXPECT_EQ(read("set", "autoshut"), QStringLiteral("1"));
    EXPECT_EQ(read("set", "existedfile"), QStringLiteral("1"));
    EXPECT_EQ(read("set", "outputfolder"), QString()) << "a line with NUL bytes is not text";
    ASSERT_TRUE(write("set", "profile", QStringLiteral("7")));
    EXPECT_EQ(fileBytes(), QByteArray("[set]\nthread=2\nautoshut=1\nexistedfile=1\nprofile=7\n"));
}

TEST_F(Inifun, AHugeFileIsReadOnlyAsFarAsASettingsFileGoes) {
    // 10 MB without a line end: nothing readable.
    writeFile(QByteArray(10 * 1024 * 1024, 'x'));
    EXPECT_EQ(read("set", "profile"), QString());
    ASSERT_TRUE(write("set", "profile", QStringLiteral("5")));
    EXPECT_EQ(fileBytes(), QByteArray("[set]\nprofile=5\n"));

    // Settings in front of a 10 MB tail are kept; the tail goes.
    writeFile("[set]\nthread=2\n" + QByteArray(10 * 1024 * 1024, 'x') + "\nprofile=9\n");
    EXPECT_EQ(read("set", "thread"), QStringLiteral("2"));
    EXPECT_EQ(read("set", "profile"), QString());
    ASSERT_TRUE(write("set", "autoshut", QStringLiteral("0")));
    EXPECT_EQ(fileBytes(), QByteArray("[set]\nthread=2\nautoshut=0\n"));
}

TEST_F(Inifun, AnInterruptedWriteKeepsTheLastGoodFile) {
    QByteArray good = "[set]\noutputfolder=/videos\nthread=2\n";
    for (int i = 0; i < 100; ++i)
        good += "; a comment line that makes the file larger than the limit\n";
    writeFile(good);
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(write("set", "thread", QStringLiteral("4")));
    }
    EXPECT_EQ(fileBytes(), good);
    EXPECT_EQ(read("set", "thread"), QStringLiteral("2"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("settings.dat")})
        << "no half-written file is left beside it";

    ASSERT_TRUE(write("set", "thread", QStringLiteral("4")));
    EXPECT_EQ(read("set", "thread"), QStringLiteral("4"));
}

TEST_F(Inifun, AWriteThatCannotHappenIsReportedAndChangesNothing) {
    const QString inMissingFolder = m_dir.filePath(QStringLiteral("missing/settings.dat"));
    EXPECT_FALSE(WriteSetting(inMissingFolder, QStringLiteral("set"), QStringLiteral("profile"),
                              QStringLiteral("1")));
    EXPECT_FALSE(QFile::exists(inMissingFolder));
    EXPECT_EQ(ReadSetting(inMissingFolder, QStringLiteral("set"), QStringLiteral("profile")),
              QString());

    // A folder where the file should be: reads empty, is never replaced.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("settings.dat")));
    EXPECT_EQ(read("set", "profile"), QString());
    EXPECT_FALSE(write("set", "profile", QStringLiteral("1")));
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(Inifun, OnlyAnOrdinaryFileIsRead) {
    // A pipe named settings.dat would block any reader that opened it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0644), 0);
    EXPECT_EQ(read("set", "profile"), QString());
    EXPECT_FALSE(write("set", "profile", QStringLiteral("1")));
    EXPECT_FALSE(QFileInfo(path()).isFile()) << "the pipe is left alone";
    QFile::remove(path());

    // A link to a device reads as no settings too.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path()));
    EXPECT_EQ(read("set", "profile"), QString());
    EXPECT_FALSE(write("set", "profile", QStringLiteral("1")));
}

TEST_F(Inifun, AReplacedFileKeepsItsPermissionsAndItsPlaceBehindALink) {
    writeFile("[set]\nprofile=3\n");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup));
    // As root a read-only file can still be replaced; as anyone else the write is refused.
    if (write("set", "profile", QStringLiteral("4"))) {
        EXPECT_EQ(read("set", "profile"), QStringLiteral("4"));
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0440u);
    } else {
        EXPECT_EQ(read("set", "profile"), QStringLiteral("3"));
    }

    // A settings file that is a link to one elsewhere stays a link; its target is replaced.
    const QString target = m_dir.filePath(QStringLiteral("real settings.dat"));
    QFile::remove(path());
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[set]\nthread=2\n");
    }
    ASSERT_TRUE(QFile::link(target, path()));
    ASSERT_TRUE(write("set", "thread", QStringLiteral("4")));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    QFile real(target);
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    EXPECT_EQ(real.readAll(), QByteArray("[set]\nthread=4\n"));
}

TEST_F(Inifun, TemporariesOfEndedWritesAreRemovedAndRunningOnesKept) {
    writeFile("[set]\nprofile=3\n");
    const auto temporary = [this](qint64 pid) {
        const QString name = path() + QStringLiteral(".tmp.") + QString::number(pid);
        QFile file(name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[set]\nprofile=");
        return name;
    };
    // A process id above the kernel's largest never runs.
    const QString ended = temporary(4194305);
    const QString running = temporary(::getpid());
    const QString foreign = m_dir.filePath(QStringLiteral("settings.dat.bak"));
    QFile(foreign).open(QIODevice::WriteOnly);

    RemoveLeftoverSettingsTemporaries(path());
    EXPECT_FALSE(QFile::exists(ended));
    // Behind a link the temporaries lie beside the file the link names.
    const QString real = m_dir.filePath(QStringLiteral("elsewhere/settings.dat"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QFile::rename(path(), real));
    ASSERT_TRUE(QFile::link(real, path()));
    const QString endedThere = real + QStringLiteral(".tmp.4194305");
    QFile(endedThere).open(QIODevice::WriteOnly);
    RemoveLeftoverSettingsTemporaries(path());
    EXPECT_FALSE(QFile::exists(endedThere));
    EXPECT_TRUE(QFile::exists(running)) << "a write in progress is left alone";
    EXPECT_TRUE(QFile::exists(foreign));
    EXPECT_EQ(read("set", "profile"), QStringLiteral("3"));
}

TEST_F(Inifun, TheSettingsFileLiesInTheProgramFolder) {
    const test::ProgramFolder folder(m_dir.path());
    EXPECT_EQ(settingsFilePath(), m_dir.path() + QStringLiteral("/settings.dat"));
}

} // namespace
} // namespace vidora
