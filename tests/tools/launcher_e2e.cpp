// fp.dll and mp.dll from the program folder, running the real FFmpeg and MPlayer on clips made
// for each test.

#include "base/CommandLineText.h"
#include "launcher/EncoderOutput.h"
#include "launcher/OutputFiles.h"
#include "support/EventLoop.h"
#include "support/Processes.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/types.h>
#include <unistd.h>

namespace vidora {
namespace {

const QString ProgramFolder = QStringLiteral(VIDORA_PROGRAM_DIR);
const QString Encoder = ProgramFolder + "/fp.dll";
const QString Player = ProgramFolder + "/mp.dll";

struct ToolRun {
    int exitCode = -1;
    bool crashed = false;
    QByteArray output; // standard output and error together
};

ToolRun runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                const QString& workingFolder = {}) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty()) {
        process.setWorkingDirectory(workingFolder);
    }
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted(10000)) {
        run.output = process.errorString().toUtf8();
        return run;
    }
    // Standard input stays open and silent, as the program's key channel does: its end would
    // tell fp.dll that the program is gone.
    process.waitForFinished(180000);
    run.exitCode = process.exitCode();
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.output = process.readAll();
    return run;
}

// A clip of testsrc pictures with a stereo tone. With redTail > 0 its last seconds are plain
// red, so a test can tell where a conversion started.
void makeClip(const QString& path, int seconds, const QString& size = "640x480", int redTail = 0) {
    QStringList arguments = {"-v", "error", "-y"};
    const QString rate = QStringLiteral(":rate=25:duration=");
    arguments << "-f"
              << "lavfi"
              << "-i"
              << "testsrc=size=" + size + rate + QString::number(seconds - redTail);
    if (redTail > 0) {
        arguments << "-f"
                  << "lavfi"
                  << "-i"
                  << "color=c=red:size=" + size + rate + QString::number(redTail);
    }
    arguments << "-f"
              << "lavfi"
              << "-i"
              << "sine=frequency=440:sample_rate=44100:duration=" + QString::number(seconds);
    if (redTail > 0) {
        arguments << "-filter_complex"
                  << "[0:v][1:v]concat=n=2:v=1:a=0[v]"
                  << "-map"
                  << "[v]"
                  << "-map"
                  << "2:a";
    }
    arguments << "-ac"
              << "2"
              << "-c:v"
              << "mpeg4"
              << "-q:v"
              << "4"
              << "-g"
              << "25"
              << "-c:a"
              << "pcm_s16le" << path;
    const ToolRun run = runTool("ffmpeg", arguments);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
}

QJsonObject probe(const QString& path) {
    const ToolRun run =
        runTool("ffprobe", {"-v", "error", "-show_format", "-show_streams", "-of", "json", path});
    return QJsonDocument::fromJson(run.output).object();
}

QJsonObject streamOfType(const QJsonObject& probed, const QString& type) {
    for (const QJsonValue& stream : probed["streams"].toArray()) {
        if (stream["codec_type"].toString() == type) {
            return stream.toObject();
        }
    }
    return {};
}

double durationOf(const QJsonObject& probed) {
    return probed["format"].toObject()["duration"].toString().toDouble();
}

// The lines of the statistics file as the progress display splits them, the last piece
// (after the final line end) dropped.
QStringList statisticsLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList pieces = QString::fromUtf8(file.readAll()).split('\n');
    pieces.removeLast();
    return pieces;
}

// The encoded time of a statistics line, read as the progress display reads it; -1 when the
// line has no such field.
double encodedTime(const QString& line) {
    const QStringList fields = line.trimmed().split('=');
    if (fields.size() < 6) {
        return -1;
    }
    bool ok = false;
    const double seconds = fields[5].chopped(2).trimmed().toDouble(&ok);
    return ok ? seconds : -1;
}

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The first picture of a file squeezed to one pixel: its red, green and blue.
QByteArray firstPixel(const QString& path) {
    QProcess process;
    process.start("ffmpeg", {"-v", "error", "-i", path, "-frames:v", "1", "-vf", "scale=1:1", "-f",
                             "rawvideo", "-pix_fmt", "rgb24", "-"});
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

QList<qint64> childrenOf(qint64 processId) {
    QFile file(QStringLiteral("/proc/%1/task/%1/children").arg(processId));
    QList<qint64> children;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& id : file.readAll().split(' ')) {
            if (!id.trimmed().isEmpty()) {
                children << id.trimmed().toLongLong();
            }
        }
    }
    return children;
}

using test::waitFor;

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(Encoder).isExecutable()) << Encoder.toStdString();
        ASSERT_TRUE(QFileInfo(Player).isExecutable()) << Player.toStdString();
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + "/program folder ä";
        ASSERT_TRUE(QDir().mkpath(m_folder));
        m_statistics = m_folder + "/curconvert.log";
    }

    // The encoder's command line of the program for a profile part whose output is "OUT".
    QStringList encoderLine(const QString& input, const QString& profilePart,
                            const QString& output) const {
        QString part = profilePart;
        part.replace("OUT", output);
        const QString text = '"' + Encoder + "\" -i \"" + input + '"' + part +
                             " -threads  2 -vstats_file \"" + m_statistics + '"';
        QStringList arguments = vidora::splitCommandLine(text);
        arguments.removeFirst();
        return arguments;
    }

    // A started encoder with the given arguments; its standard output and error are discarded.
    void startEncoder(QProcess& process, const QStringList& arguments) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(Encoder, arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    // Waits until the encoder has written statistics, so it is really encoding.
    void waitUntilEncoding() {
        ASSERT_TRUE(waitFor([&] { return !statisticsLines(m_statistics).isEmpty(); }, 30000));
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_statistics;
};

struct VideoShape {
    const char* name;
    const char* profilePart; // "OUT" stands for the output path
    const char* ending;
    const char* videoCodec;
    int width;
    int height;
    const char* audioCodec; // "" for none
    int sampleRate;
};

// Profile rows of each shape, some with values a user may choose that the tool must fit.
const VideoShape VideoShapes[] = {
    {"iPadX264",
     " -f mp4 -vcodec  libx264 -qmin 10 -qmax 51 -qdiff 4 -me_range 16 -keyint_min 25 -qcomp 0.6 "
     "  -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 -t 3 -s 1024x768 -aspect 4:3 -acodec "
     "libfaac \"OUT\"",
     ".mp4", "h264", 1024, 768, "aac", 44100},
    {"iPodXvid",
     " -f mp4 -vcodec  libxvid  -aspect 4:3   -ab 64000  -ac 2 -ar 44100 -b 512000 -r 25 -ss 0 "
     "-t 3 -s 320x240 -aspect 4:3 -acodec libfaac \"OUT\"",
     ".mp4", "mpeg4", 320, 240, "aac", 44100},
    {"iPhoneX264At720x405",
     " -f mp4 -vcodec  libx264 -qmin 10 -qmax 51 -qdiff 4 -me_range 16 -keyint_min 25 -qcomp 0.6 "
     "  -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 -t 3 -s 720x405 -aspect 16:9 -acodec "
     "libfaac \"OUT\"",
     ".mp4", "h264", 720, 406, "aac", 44100},
    {"Psp",
     " -f psp -vcodec   mpeg4  -ab 64000  -ac 2 -ar 24000 -b 512000 -r 29.97 -ss 0 -t 3 -s "
     "368x208 -aspect 4:3 -acodec libfaac \"OUT\"",
     ".mp4", "mpeg4", 368, 208, "aac", 24000},
    {"WindowsMedia", "  -vcodec wmv2 -b 768000 -r 25 -ss 0 -t 3 -s 320x240 -acodec wmav2 \"OUT\"",
     ".wmv", "wmv2", 320, 240, "wmav2", 44100},
    {"WiiMjpegPcm",
     "   -vcodec mjpeg  -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 -t 3 -s 720x480 "
     "-aspect 4:3 -acodec pcm_s16le \"OUT\"",
     ".avi", "mjpeg", 720, 480, "pcm_s16le", 44100},
    {"Phone3gp",
     "   -vcodec h263  -f 3gp -ac 1 -ar 8000 -ab 12.2k    -b 64000 -r 15 -ss 0 -t 3 -s 176x144 "
     "-aspect 4:3 -acodec libfaac \"OUT\"",
     ".3gp", "h263", 176, 144, "aac", 8000},
    {"Phone3g2",
     " -f 3g2  -vcodec h263  -ac 1 -ar 8000 -ab 12.2k    -b 64000 -r 15 -ss 0 -t 3 -s 176x144 "
     "-aspect 4:3 -acodec libfaac \"OUT\"",
     ".3g2", "h263", 176, 144, "aac", 8000},
    {"FlashAt48000",
     "  -ab 64000  -ac 2 -ar 48000 -b 512000 -r 25 -ss 0 -t 3 -s 320x240 -acodec libmp3lame "
     "\"OUT\"",
     ".flv", "flv1", 320, 240, "mp3", 44100},
    {"SwfAt24000",
     "  -ab 64000  -ac 2 -ar 24000 -b 512000 -r 25 -ss 0 -t 3 -s 320x240 -acodec libmp3lame "
     "\"OUT\"",
     ".swf", "flv1", 320, 240, "mp3", 22050},
    {"DvdPal", " -target pal-dvd  -b 8000000 -r 25 -ss 0 -t 3 -s 720x576 \"OUT\"", ".mpg",
     "mpeg2video", 720, 576, "ac3", 48000},
    {"Mpeg1At8Fps",
     "   -vcodec mpeg1video  -ab 224000  -ac 2 -ar 8000 -b 1152000 -r 8 -ss 0 -t 3 -s 352x240 "
     "-acodec mp2 \"OUT\"",
     ".mpg", "mpeg1video", 352, 240, "mp2", 16000},
    {"CustomAviAc3At22050",
     " -f avi   -vcodec   mpeg4  -ab 128000  -ac 2 -ar 22050 -b 768000 -r 25 -ss 0 -t 3 -s "
     "1080x720 -aspect 16:9 -acodec ac3 \"OUT\"",
     ".avi", "mpeg4", 1080, 720, "ac3", 32000},
    {"AudioDisabled",
     " -f mp4  -vcodec  mpeg4  -ab 128000  -ac 2 -ar 44100 -b 512000 -r 25 -ss 0 -t 3 -s 320x240 "
     "-aspect 4:3 -acodec libfaac -an  \"OUT\"",
     ".mp4", "mpeg4", 320, 240, "", 0},
};

void PrintTo(const VideoShape& shape, std::ostream* stream) {
    *stream << shape.name;
}

class VideoShapeTest : public LauncherTest, public ::testing::WithParamInterface<VideoShape> {};

TEST_P(VideoShapeTest, WritesThePictureSoundAndStatistics) {
    const VideoShape& shape = GetParam();
    // A double quote cannot stand in a path of the command line's text, so none is used here.
    const QString input = m_dir.path() + "/it's a -clip ä.avi";
    makeClip(input, 3);
    const QString output = m_dir.path() + "/out folder/it's a -clip ä_New" + shape.ending;
    ASSERT_TRUE(QDir().mkpath(m_dir.path() + "/out folder"));

    const ToolRun run = runTool(Encoder, encoderLine(input, shape.profilePart, output),
                                QProcessEnvironment::systemEnvironment(), m_folder);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    // Nothing stood after the output file where FFmpeg would have ignored it.
    EXPECT_FALSE(run.output.contains("Trailing option")) << run.output.toStdString();

    const QJsonObject probed = probe(output);
    const QJsonObject video = streamOfType(probed, "video");
    EXPECT_EQ(video["codec_name"].toString(), shape.videoCodec);
    EXPECT_EQ(video["width"].toInt(), shape.width);
    EXPECT_EQ(video["height"].toInt(), shape.height);
    const QJsonObject audio = streamOfType(probed, "audio");
    EXPECT_EQ(audio["codec_name"].toString(), shape.audioCodec);
    if (shape.sampleRate > 0) {
        EXPECT_EQ(audio["sample_rate"].toString().toInt(), shape.sampleRate);
    }
    if (QString(shape.ending) != ".swf") { // an SWF file states no duration
        EXPECT_NEAR(durationOf(probed), 3.0, 0.5);
    }

    const QStringList lines = statisticsLines(m_statistics);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_NEAR(encodedTime(lines.last()), 3.0, 0.5) << lines.last().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, VideoShapeTest, ::testing::ValuesIn(VideoShapes),
                         [](const auto& info) { return std::string(info.param.name); });

struct AudioShape {
    const char* name;
    const char* profilePart;
    const char* ending;
    const char* audioCodec;
};

const AudioShape AudioShapes[] = {
    {"Mp3", "  -ab 128000  -ac 2 -ar 44100  -vn -f  mp3  -acodec  libmp3lame \"OUT\"", ".mp3",
     "mp3"},
    {"Ogg", "  -ab 320000  -ac 2 -ar 8000  -vn -f  ogg -acodec  libvorbis \"OUT\"", ".ogg",
     "vorbis"},
    {"Wave", "  -ab 128000  -ac 2 -ar 44100  -vn -f  wav -acodec  pcm_s16le \"OUT\"", ".wav",
     "pcm_s16le"},
    {"Aac", "  -ab 128000  -ac 2 -ar 44100  -vn -acodec  libfaac \"OUT\"", ".aac", "aac"},
    {"Wma", " -acodec wmav2 -vn \"OUT\"", ".wma", "wmav2"},
    {"M4a", "  -ab 128000  -ac 2 -ar 44100  -vn -acodec  libfaac \"OUT\"", ".m4a", "aac"},
};

void PrintTo(const AudioShape& shape, std::ostream* stream) {
    *stream << shape.name;
}

class AudioShapeTest : public LauncherTest, public ::testing::WithParamInterface<AudioShape> {};

TEST_P(AudioShapeTest, WritesTheSoundAndStatisticsLinesOfItsOwn) {
    const AudioShape& shape = GetParam();
    const QString input = m_dir.path() + "/clip ä.avi";
    makeClip(input, 3, "320x240");
    const QString output = m_dir.path() + "/clip ä_New" + shape.ending;
    {
        // The last line of an earlier job.
        QFile earlier(m_statistics);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(
            "frame=  999 q= 2.0 f_size=  1234 s_size=   456kB time= 99.000 br=  987.6kbits/s "
            "avg_br=  365.0kbits/s type= P\n");
    }

    const ToolRun run = runTool(Encoder, encoderLine(input, shape.profilePart, output));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();

    const QJsonObject probed = probe(output);
    EXPECT_EQ(streamOfType(probed, "audio")["codec_name"].toString(), shape.audioCodec);
    EXPECT_TRUE(streamOfType(probed, "video").isEmpty());
    EXPECT_NEAR(durationOf(probed), 3.0, 0.5);

    const QStringList lines = statisticsLines(m_statistics);
    ASSERT_FALSE(lines.isEmpty());
    double previous = 0;
    for (const QString& line : lines) {
        const double seconds = encodedTime(line);
        EXPECT_GE(seconds, previous) << line.toStdString();
        previous = seconds;
    }
    EXPECT_NEAR(encodedTime(lines.last()), 3.0, 0.5) << lines.last().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, AudioShapeTest, ::testing::ValuesIn(AudioShapes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LauncherTest, AudioJobReportsProgressWhileItRuns) {
    const QString input = m_dir.path() + "/clip.avi";
    makeClip(input, 4, "160x120");
    // -re makes FFmpeg read at playing speed, so the job lasts about four seconds.
    QStringList arguments = encoderLine(
        input, "  -ab 128000  -ac 2 -ar 44100  -vn -f  mp3  -acodec  libmp3lame \"OUT\"",
        m_dir.path() + "/clip.mp3");
    arguments.prepend("-re");
    const ToolRun run = runTool(Encoder, arguments);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QStringList lines = statisticsLines(m_statistics);
    ASSERT_GE(lines.size(), 4);
    EXPECT_GT(encodedTime(lines[1]), 0);
    EXPECT_LT(encodedTime(lines[1]), 3.0);
    EXPECT_NEAR(encodedTime(lines.last()), 4.0, 0.5);
}

TEST_F(LauncherTest, VideoRowOnASoundFileStillReportsProgress) {
    const QString input = m_dir.path() + "/song ä.mp3";
    const ToolRun made = runTool("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                                            "sine=frequency=440:duration=3", "-ac", "2", input});
    ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
    const QString output = m_dir.path() + "/song ä_New.mp4";
    const ToolRun run = runTool(
        Encoder,
        encoderLine(input,
                    " -f mp4 -vcodec  mpeg4  -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 "
                    "-t 3 -s 320x240 -aspect 4:3 -acodec libfaac \"OUT\"",
                    output));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    // No picture, so FFmpeg writes no statistics; the launcher does.
    EXPECT_TRUE(streamOfType(probe(output), "video").isEmpty());
    const QStringList lines = statisticsLines(m_statistics);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_NEAR(encodedTime(lines.last()), 3.0, 0.5);
}

TEST_F(LauncherTest, TrimStartIsKeptWhenItSeeksBeforeTheInput) {
    const QString input = m_dir.path() + "/red end.avi";
    makeClip(input, 11, "320x240", 3);
    const char* part = " -f mp4 -vcodec  mpeg4  -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 "
                       "-ss START -t 3 -s 320x240 -aspect 4:3 -acodec libfaac \"OUT\"";

    const QString late = m_dir.path() + "/late.mp4";
    ToolRun run = runTool(Encoder, encoderLine(input, QString(part).replace("START", "8"), late));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_NEAR(durationOf(probe(late)), 3.0, 0.5);
    EXPECT_NEAR(encodedTime(statisticsLines(m_statistics).last()), 3.0, 0.5);
    const QByteArray latePixel = firstPixel(late);
    ASSERT_EQ(latePixel.size(), 3);
    EXPECT_GT(quint8(latePixel[0]), 200);
    EXPECT_LT(quint8(latePixel[1]), 60);
    EXPECT_LT(quint8(latePixel[2]), 60);

    const QString early = m_dir.path() + "/early.mp4";
    run = runTool(Encoder, encoderLine(input, QString(part).replace("START", "0"), early));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_NE(firstPixel(early), latePixel);
}

TEST_F(LauncherTest, NeverWritesOntoItsInputWhateverTheSpelling) {
    const QString input = m_dir.path() + "/in put ä.avi";
    makeClip(input, 1, "160x120");
    ASSERT_TRUE(QFile::link(input, m_dir.path() + "/link.avi"));
    const QByteArray before = fileHash(input);
    const QDateTime modified = QFileInfo(input).lastModified();
    const char* wmv = "  -vcodec wmv2 -b 768000 -r 25 -ss 0 -t 1 -s 320x240 -acodec wmav2 \"OUT\"";

    struct Spelling {
        const char* name;
        QString output;
        QString workingFolder;
    };
    const QList<Spelling> spellings = {
        {"symbolic link", m_dir.path() + "/link.avi", {}},
        {"./", "./in put ä.avi", m_dir.path()},
        {"doubled slashes", m_dir.path().replace("/", "//") + "//in put ä.avi", {}},
        {"..", m_dir.path() + "/../" + QFileInfo(m_dir.path()).fileName() + "/in put ä.avi", {}},
    };
    for (const Spelling& spelling : spellings) {
        const ToolRun run =
            runTool(Encoder, encoderLine(input, wmv, spelling.output),
                    QProcessEnvironment::systemEnvironment(), spelling.workingFolder);
        EXPECT_NE(run.exitCode, 0) << spelling.name;
        EXPECT_TRUE(run.output.startsWith("fp.dll: will not write")) << run.output.toStdString();
        EXPECT_EQ(run.output.count('\n'), 1) << run.output.toStdString();
    }

    // The statistics file is written too, so it may not be the input either.
    QStringList arguments = encoderLine(input, wmv, m_dir.path() + "/out.wmv");
    arguments.last() = "./link.avi";
    const ToolRun run =
        runTool(Encoder, arguments, QProcessEnvironment::systemEnvironment(), m_dir.path());
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(m_dir.path() + "/out.wmv"));

    EXPECT_EQ(fileHash(input), before);
    EXPECT_EQ(QFileInfo(input).lastModified(), modified);
    EXPECT_TRUE(QFileInfo(m_dir.path() + "/link.avi").isSymLink());
}

TEST_F(LauncherTest, ExistingOutputIsReplacedWithoutAQuestion) {
    const QString input = m_dir.path() + "/clip.avi";
    makeClip(input, 1, "160x120");
    const QString output = m_dir.path() + "/clip.mp3";
    QFile old(output);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    // Standard input stays open and silent, as the program's key channel does.
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(
        Encoder,
        encoderLine(input,
                    "  -ab 128000  -ac 2 -ar 44100  -vn -f  mp3  -acodec  libmp3lame \"OUT\"",
                    output));
    ASSERT_TRUE(process.waitForFinished(60000)) << "FFmpeg waits for an answer";
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_GT(QFileInfo(output).size(), 1000);
}

// A job of the iPad row that reads its 10 s source at playing speed, so it is still at work
// when a test stops it.
class StoppedJobTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        m_input = m_dir.path() + "/long ä.avi";
        makeClip(m_input, 10, "320x240");
        m_output = m_dir.path() + "/out folder/it's long ä.mp4";
        m_temporary = QString::fromStdString(temporaryOutputPath(m_output.toStdString()));
        ASSERT_TRUE(QDir().mkpath(m_dir.path() + "/out folder"));
    }

    QStringList longJob() const {
        QStringList arguments = encoderLine(
            m_input,
            " -f mp4 -vcodec  libx264 -qmin 10 -qmax 51 -qdiff 4 -me_range 16 -keyint_min 25 "
            "-qcomp 0.6   -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 -t 10 -s 320x240 "
            "-aspect 4:3 -acodec libfaac \"OUT\"",
            m_output);
        arguments.prepend("-re");
        return arguments;
    }

    // Starts the long job and waits until FFmpeg writes its temporary file.
    void startLongJob(QProcess& process) {
        startEncoder(process, longJob());
        waitUntilEncoding();
        ASSERT_TRUE(waitFor([&] { return QFileInfo(m_temporary).size() > 0; }, 10000));
        EXPECT_FALSE(QFileInfo::exists(m_output)) << "written under its final name";
        EXPECT_TRUE(QFileInfo(m_temporary).isHidden());
    }

    qint64 encoderOf(qint64 launcher) {
        const QList<qint64> children = childrenOf(launcher);
        EXPECT_EQ(children.size(), 1);
        return children.isEmpty() ? 0 : children.first();
    }

    // Nothing of a stopped job is left in the output folder, nor under the final name.
    void expectNothingLeft() {
        EXPECT_FALSE(QFileInfo::exists(m_output));
        EXPECT_FALSE(QFileInfo::exists(m_temporary));
        EXPECT_EQ(QDir(m_dir.path() + "/out folder")
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
    }

    QString m_input;
    QString m_output;
    QString m_temporary;
};

TEST_F(StoppedJobTest, QuitKeyCancelsWithinASecondAndLeavesNothing) {
    QProcess process;
    ASSERT_NO_FATAL_FAILURE(startLongJob(process));
    QThread::msleep(500);

    QElapsedTimer timer;
    timer.start();
    process.write("q");
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_LE(timer.elapsed(), 1000);
    // FFmpeg ends with 0 on its quit key; the job was not done, though.
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), StoppedExitCode);
    expectNothingLeft();
}

TEST_F(StoppedJobTest, TerminateReachesFfmpegAndItsCodeComesBack) {
    QProcess process;
    ASSERT_NO_FATAL_FAILURE(startLongJob(process));
    process.terminate(); // SIGTERM to fp.dll
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 255); // FFmpeg's code when a signal stopped it
    expectNothingLeft();
}

TEST_F(StoppedJobTest, AKilledFfmpegLeavesNothing) {
    QProcess process;
    ASSERT_NO_FATAL_FAILURE(startLongJob(process));
    const qint64 encoder = encoderOf(process.processId());
    ASSERT_GT(encoder, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(encoder), SIGKILL), 0);
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 128 + SIGKILL);
    expectNothingLeft();
}

TEST_F(StoppedJobTest, FfmpegEndsWhenTheLauncherIsKilledAndNothingHasTheFinalName) {
    QProcess process;
    ASSERT_NO_FATAL_FAILURE(startLongJob(process));
    const qint64 encoder = encoderOf(process.processId());
    QFile name(QStringLiteral("/proc/%1/comm").arg(encoder));
    ASSERT_TRUE(name.open(QIODevice::ReadOnly));
    EXPECT_EQ(name.readAll().trimmed(), "ffmpeg");

    process.kill();
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_TRUE(waitFor([&] { return !test::processRuns(encoder); }, 3000));
    QThread::msleep(300);
    EXPECT_FALSE(QFileInfo::exists(m_output));
    // What a killed launcher leaves is the program's to remove, under the name it knows.
    EXPECT_TRUE(QFileInfo::exists(m_temporary));
}

TEST_F(StoppedJobTest, TheEndOfTheKeyChannelStopsTheJob) {
    QProcess process;
    ASSERT_NO_FATAL_FAILURE(startLongJob(process));
    const qint64 encoder = encoderOf(process.processId());
    process.closeWriteChannel(); // as when the program's end closes the pipe
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), StoppedExitCode);
    EXPECT_TRUE(!test::processRuns(encoder));
    expectNothingLeft();
}

// The program that starts the encoder ends while the job runs: a shell stands in for it,
// holding the encoder's standard input as the program does.
TEST_F(StoppedJobTest, TheEncoderEndsWithTheProgramThatStartedIt) {
    for (int signalNumber : {SIGKILL, SIGTERM}) {
        QProcess program;
        program.setStandardOutputFile(QProcess::nullDevice());
        program.setStandardErrorFile(QProcess::nullDevice());
        program.start("bash",
                      QStringList{"-c", "coproc ENCODER { exec \"$@\"; }; wait", "bash", Encoder} +
                          longJob());
        ASSERT_TRUE(program.waitForStarted(10000));
        waitUntilEncoding();
        ASSERT_TRUE(waitFor([&] { return QFileInfo(m_temporary).size() > 0; }, 10000));
        const QList<qint64> launchers = childrenOf(program.processId());
        ASSERT_EQ(launchers.size(), 1);
        const qint64 encoder = encoderOf(launchers.first());
        ASSERT_GT(encoder, 0);
        ASSERT_GT(program.processId(), 0);
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signalNumber), 0);
        ASSERT_TRUE(program.waitForFinished(5000));
        EXPECT_TRUE(waitFor(
            [&] { return !test::processRuns(launchers.first()) && !test::processRuns(encoder); },
            6000))
            << "signal " << signalNumber;
        expectNothingLeft();
        QFile::remove(m_statistics);
    }
}

TEST_F(StoppedJobTest, AnExistingFileIsReplacedOnlyByACompleteOne) {
    const QByteArray old = "an older file under the overwrite policy";
    const auto writeOld = [&] {
        QFile file(m_output);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    };
    const auto contents = [&] {
        QFile file(m_output);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    writeOld();
    {
        QProcess process;
        startEncoder(process, longJob());
        waitUntilEncoding();
        const qint64 encoder = encoderOf(process.processId());
        ASSERT_GT(encoder, 0);
        ::kill(static_cast<pid_t>(encoder), SIGKILL);
        ASSERT_TRUE(process.waitForFinished(5000));
        EXPECT_EQ(contents(), old) << "after a failed job";
    }
    {
        QProcess process;
        startEncoder(process, longJob());
        waitUntilEncoding();
        process.write("q");
        ASSERT_TRUE(process.waitForFinished(5000));
        EXPECT_EQ(contents(), old) << "after a cancelled job";
    }
    EXPECT_FALSE(QFileInfo::exists(m_temporary));

    QStringList whole = longJob();
    whole.removeFirst(); // at full speed
    const ToolRun run = runTool(Encoder, whole);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_NEAR(durationOf(probe(m_output)), 10.0, 0.5);
    EXPECT_FALSE(QFileInfo::exists(m_temporary));
}

TEST_F(LauncherTest, ARunThatEncodedNothingFailsAndLeavesNothing) {
    const QString input = m_dir.path() + "/short.avi";
    makeClip(input, 1, "160x120");
    const QString output = m_dir.path() + "/short.mp4";
    // A start beyond the clip's end: FFmpeg writes a file without streams and ends with 0,
    // without a word when its streams have headers.
    const ToolRun run = runTool(
        Encoder, encoderLine(input,
                             " -f mp4 -vcodec  mpeg4  -ab 128000  -ac 2 -ar 44100 -b 512000 -r 25 "
                             "-ss 5 -t 1 -s 320x240 -aspect 4:3 -acodec libfaac \"OUT\"",
                             output));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.output.endsWith("no file was written\n")) << run.output.toStdString();
    EXPECT_FALSE(QFileInfo::exists(output));
    EXPECT_FALSE(
        QFileInfo::exists(QString::fromStdString(temporaryOutputPath(output.toStdString()))));
}

// A small disk of its own, filled while a job writes to it. Needs root and tmpfs.
class FullDiskTest : public StoppedJobTest {
protected:
    void SetUp() override {
        StoppedJobTest::SetUp();
        if (::geteuid() != 0) {
            GTEST_SKIP() << "filling a disk needs a tmpfs of its own, which only root can mount";
        }
        m_disk = m_dir.path() + "/small disk";
        ASSERT_TRUE(QDir().mkpath(m_disk));
        const ToolRun mount = runTool("mount", {"-t", "tmpfs", "-o", "size=2m", "tmpfs", m_disk});
        if (mount.exitCode != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << mount.output.trimmed().toStdString();
        }
        m_mounted = true;
    }
    void TearDown() override {
        if (m_mounted) {
            runTool("umount", {m_disk});
        }
    }
    QString m_disk;
    bool m_mounted = false;
};

TEST_F(FullDiskTest, AFullDiskLeavesNoBrokenOrEmptyFile) {
    // 1.7 of the 2 MB are taken; the 10 s job writes about 1 MB.
    {
        QFile filler(m_disk + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        ASSERT_EQ(filler.write(QByteArray(1700 * 1024, 'x')), 1700 * 1024);
    }
    QStringList arguments = longJob();
    arguments.removeFirst(); // at full speed
    const QString output = m_disk + "/clip.mp4";
    arguments.replaceInStrings(m_output, output);
    const ToolRun first = runTool(Encoder, arguments);
    EXPECT_NE(first.exitCode, 0) << first.output.right(2000).toStdString();
    EXPECT_TRUE(first.output.contains("No space left on device"))
        << first.output.right(2000).toStdString();
    EXPECT_FALSE(QFileInfo::exists(output));

    // Now the disk is full to the last byte, and the next job cannot even begin its file.
    {
        QFile rest(m_disk + "/rest");
        ASSERT_TRUE(rest.open(QIODevice::WriteOnly));
        while (rest.write(QByteArray(4096, 'x')) == 4096 && rest.flush()) {
        }
    }
    const ToolRun second = runTool(Encoder, arguments);
    EXPECT_NE(second.exitCode, 0);
    EXPECT_EQ(QDir(m_disk).entryList(QDir::Files | QDir::Hidden), (QStringList{"filler", "rest"}));
}

TEST_F(LauncherTest, ExitCodeIsFfmpegs) {
    const QString input = m_dir.path() + "/clip.avi";
    makeClip(input, 1, "160x120");
    const QStringList arguments = encoderLine(
        input,
        "  -vcodec no_such_codec -b 768000 -r 25 -ss 0 -t 1 -s 320x240 -acodec wmav2 \"OUT\"",
        m_dir.path() + "/out.wmv");
    const ToolRun launched = runTool(Encoder, arguments);
    QStringList direct = arguments;
    direct.prepend("-y");
    const ToolRun ffmpeg = runTool("ffmpeg", direct);
    EXPECT_NE(ffmpeg.exitCode, 0);
    EXPECT_EQ(launched.exitCode, ffmpeg.exitCode);
    EXPECT_FALSE(launched.crashed);

    // FFmpeg's error output reaches the program unchanged, and nothing comes on standard output.
    QProcess process;
    process.start(Encoder, arguments);
    ASSERT_TRUE(process.waitForFinished(30000));
    const QByteArray errors = process.readAllStandardError();
    EXPECT_TRUE(errors.startsWith("ffmpeg version ")) << errors.toStdString();
    EXPECT_TRUE(errors.endsWith("Unknown encoder 'no_such_codec'\n")) << errors.toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
}

TEST_F(LauncherTest, MissingToolsNameTheirPackage) {
    const QString emptyFolder = m_dir.path() + "/empty bin";
    ASSERT_TRUE(QDir().mkpath(emptyFolder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", emptyFolder);
    const QString input = m_dir.path() + "/none.avi";

    const ToolRun encoder =
        runTool(Encoder, encoderLine(input, " -acodec wmav2 -vn \"OUT\"", m_dir.path() + "/x.wma"),
                environment);
    EXPECT_EQ(encoder.exitCode, 127);
    EXPECT_EQ(encoder.output, "fp.dll: ffmpeg not found; install the Debian package ffmpeg\n");

    const ToolRun player = runTool(Player, {"-identify", "-vo", "null", input}, environment);
    EXPECT_EQ(player.exitCode, 127);
    EXPECT_EQ(player.output, "mp.dll: mplayer not found; install the Debian package mplayer\n");
}

TEST_F(LauncherTest, PlayerIdentifiesWithThePriorityDropped) {
    const QString input = m_dir.path() + "/it's a -clip ä.avi";
    makeClip(input, 2);
    const ToolRun probeRun =
        runTool(Player, {"-priority", "abovenormal", "-identify", "-benchmark", "-nosound", "-vo",
                         "null", "-vf", "cropdetect", "-endpos", "1", input});
    EXPECT_EQ(probeRun.exitCode, 0) << probeRun.output.toStdString();
    EXPECT_FALSE(probeRun.output.contains("Unknown option"));
    EXPECT_TRUE(probeRun.output.contains("\nID_VIDEO_WIDTH=640\n"));
    EXPECT_TRUE(probeRun.output.contains("\nID_VIDEO_HEIGHT=480\n"));
    EXPECT_TRUE(probeRun.output.contains("\nID_LENGTH=2.00\n")) << probeRun.output.toStdString();

    const ToolRun quick = runTool(Player, {"-priority", "abovenormal", "-identify", "-vo", "null",
                                           "-ao", "null", "-frames", "0", input});
    EXPECT_EQ(quick.exitCode, 0);
    EXPECT_TRUE(quick.output.contains("\nID_VIDEO_FORMAT=FMP4\n"));
}

TEST_F(LauncherTest, PlayerIsMplayerItselfAndTakesKeysOnStandardInput) {
    const QString input = m_dir.path() + "/clip.avi";
    makeClip(input, 12, "160x120");
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(Player, {"-priority", "abovenormal", "-vo", "null", "-ao", "null", input});
    ASSERT_TRUE(process.waitForStarted(5000));
    ASSERT_TRUE(waitFor(
        [&] {
            process.waitForReadyRead(50);
            return process.peek(1 << 20).contains("Starting playback");
        },
        10000));

    const QString executable =
        QFileInfo(QStringLiteral("/proc/%1/exe").arg(process.processId())).symLinkTarget();
    EXPECT_EQ(executable, QFileInfo(QStandardPaths::findExecutable("mplayer")).canonicalFilePath());

    QElapsedTimer timer;
    timer.start();
    process.write("q");
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_LE(timer.elapsed(), 1000);
    EXPECT_TRUE(process.readAll().contains("(Quit)"));
}

TEST_F(LauncherTest, PlayerPreviewOutputOpensOnAnXServer) {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty()) {
        GTEST_SKIP() << "Xvfb (Debian package xvfb) is not installed";
    }
    int display = 90 + int(QCoreApplication::applicationPid() % 400);
    while (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) ||
           QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display))) {
        ++display;
    }
    QProcess server;
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(xvfb, {QStringLiteral(":%1").arg(display), "-nolisten", "tcp", "-screen", "0",
                        "800x600x24"});
    ASSERT_TRUE(server.waitForStarted(5000));
    ASSERT_TRUE(waitFor(
        [&] { return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)); },
        10000));

    const QString input = m_dir.path() + "/clip.avi";
    makeClip(input, 2, "160x120");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", QStringLiteral(":%1").arg(display));
    const ToolRun run = runTool(Player,
                                {"-priority", "abovenormal", "-framedrop", "-colorkey", "0",
                                 "-nokeepaspect", "-autosync", "100", "-vo", "gl2", "-vf",
                                 "screenshot", "-ao", "null", "-frames", "5", input},
                                environment);
    server.terminate();
    server.waitForFinished(5000);

    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    // The first output of the list this build has; "gl2" alone would give "gl_tiled" or none.
    EXPECT_TRUE(run.output.contains("VO: [gl]") || run.output.contains("VO: [xv]") ||
                run.output.contains("VO: [x11]"))
        << run.output.toStdString();
    EXPECT_FALSE(run.output.contains("Error opening/initializing the selected video_out"));
}

} // namespace
} // namespace vidora
