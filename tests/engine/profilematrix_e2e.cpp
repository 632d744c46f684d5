// Every profile of the catalogue, and every codec choice of the customisable ones, converts the
// kinds of file people have through the real fp.dll and FFmpeg into a file that ffprobe reads
// with the row's container, picture size and codecs and the source's length. A row that cannot
// make sense of a source (a sound row given a file without sound) must refuse it cleanly:
// a failed job that leaves no file.
//
// The sources are generated at run time, once per build folder. By default the matrix runs a
// sample: every case on the plain clip, and every source kind on the rows whose encoders and
// containers have limits the source can meet. With VIDORA_MATRIX_ALL_SOURCES=1 in the
// environment it runs every case on every source kind (bench/profile_matrix.sh --all-sources).
// Each case prints one line of the matrix table.

#include "engine/ConversionProgress.h"
#include "engine/EncoderCommandLine.h"
#include "engine/OutputPath.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"
#include "profiles/OptionSheet.h"
#include "support/Media.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

constexpr int kClipSeconds = 3;

// A kind of source file, made by FFmpeg from its generated sources. Every source lasts
// kClipSeconds.
struct SourceKind {
    const char* name; // in the cases' labels; empty for the plain clip
    const char* ending;
    bool hasSound;
    // FFmpeg's arguments after "-y"; "SUBTITLES" stands for a subtitle file made beside it.
    const char* arguments;
};

// clang-format off
const SourceKind kSourceKinds[] = {
    {"", ".avi", true,
     "-f lavfi -i testsrc=size=640x480:rate=25:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 "
     "-ac 2 -c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest"},
    {"hd", ".mp4", true,
     "-f lavfi -i testsrc2=size=1920x1080:rate=60:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 "
     "-ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 192k -shortest"},
    {"surround96k", ".mkv", true,
     "-f lavfi -i testsrc=size=640x360:rate=25:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=96000:duration=3,aformat=channel_layouts=5.1 "
     "-c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a flac -shortest"},
    {"portrait", ".mp4", true,
     "-f lavfi -i testsrc=size=321x577:rate=30000/1001:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 "
     "-ac 2 -c:v mpeg4 -q:v 4 -c:a aac -shortest"},
    {"tenbit", ".mkv", true,
     "-f lavfi -i testsrc=size=1280x720:rate=25:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 "
     "-ac 2 -c:v libx265 -preset ultrafast -pix_fmt yuv420p10le -x265-params log-level=error "
     "-c:a aac -shortest"},
    {"silent", ".mp4", false,
     "-f lavfi -i testsrc=size=640x480:rate=25:duration=3 -c:v libx264 -preset veryfast "
     "-pix_fmt yuv420p"},
    {"mono8k", ".3gp", true,
     "-f lavfi -i testsrc=size=176x144:rate=15:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=8000:duration=3 "
     "-ac 1 -c:v h263 -c:a aac -b:a 12k -shortest"},
    // Runs of pictures with gaps between them: the frame rate changes all the time.
    {"vfr", ".mp4", true,
     "-f lavfi -i testsrc=size=640x480:rate=30:duration=3,"
     "select=lt(mod(n\\,10)\\,4)+between(t\\,1\\,2) "
     "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 "
     "-vsync vfr -ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac"},
    {"tracks", ".mkv", true,
     "-f lavfi -i testsrc=size=640x480:rate=25:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 "
     "-f lavfi -i sine=frequency=880:sample_rate=44100:duration=3 -i SUBTITLES "
     "-map 0:v -map 1:a -map 2:a -map 3:s -ac:a:0 2 -ac:a:1 1 -c:v libx264 -preset veryfast "
     "-pix_fmt yuv420p -c:a aac -c:s srt -metadata:s:a:0 language=eng "
     "-metadata:s:a:1 language=deu -metadata:s:s:0 language=eng"},
    // One key picture for the whole clip and the index after the data.
    {"longgop", ".mp4", true,
     "-f lavfi -i testsrc=size=640x480:rate=25:duration=3 "
     "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 "
     "-ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 300 -keyint_min 300 "
     "-sc_threshold 0 -bf 3 -c:a aac -shortest"},
};
// clang-format on

constexpr char kSubtitles[] = "1\n00:00:00,000 --> 00:00:01,500\nA first line\n\n"
                              "2\n00:00:01,500 --> 00:00:03,000\nA second line\n";

const SourceKind& sourceKind(const QString& name) {
    for (const SourceKind& kind : kSourceKinds) {
        if (name == QLatin1StringView(kind.name))
            return kind;
    }
    return kSourceKinds[0];
}

// The source of a kind, made when this build folder has none yet. Cases run side by side in
// processes of their own: a source is written under a name of its own and then renamed.
QString sourceFile(const SourceKind& kind, QString* error) {
    const QString folder = QCoreApplication::applicationDirPath() + u"/matrix sources";
    QDir().mkpath(folder);
    const QByteArray recipe = QByteArray(kind.arguments) + kSubtitles;
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(recipe, QCryptographicHash::Sha1).toHex().left(10));
    const QString name = (*kind.name ? QLatin1StringView(kind.name) : QLatin1StringView("plain"));
    const QString path = folder + u'/' + name + u'-' + hash + QLatin1StringView(kind.ending);
    if (QFileInfo::exists(path))
        return path;
    const QString ownName = QStringLiteral("%1/.%2.%3%4")
                                .arg(folder, name)
                                .arg(QCoreApplication::applicationPid())
                                .arg(QLatin1StringView(kind.ending));
    const QString subtitles = ownName + u".srt";
    QFile subtitleFile(subtitles);
    if (!subtitleFile.open(QIODevice::WriteOnly) || subtitleFile.write(kSubtitles) < 0)
        return {};
    subtitleFile.close();
    QStringList arguments{QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                          QStringLiteral("-y")};
    for (const QString& argument :
         QString::fromLatin1(kind.arguments).split(u' ', Qt::SkipEmptyParts))
        arguments << (argument == u"SUBTITLES" ? subtitles : argument);
    arguments << ownName;
    QString output;
    const int code = test::runProgram(QStringLiteral("ffmpeg"), arguments, 300000, &output);
    QFile::remove(subtitles);
    if (code != 0 || !QFile::rename(ownName, path)) {
        QFile::remove(ownName);
        *error = output;
        // Another case may have made it meanwhile.
        return QFileInfo::exists(path) ? path : QString();
    }
    return path;
}

struct MatrixCase {
    int row = 0;
    QString label;
    QString source; // a kind's name, empty for the plain clip
    QString item;   // an item set after the row's option set, empty for none
    QString value;
    int start = 0;
    int duration = kClipSeconds;
    double threads = 2;
};

// The category of the few items the matrix sets: the video items, or else the audio items.
QString categoryOf(const QString& item) {
    return item.startsWith(u"Video") ? QStringLiteral("Video Options")
                                     : QStringLiteral("Audio Options");
}

// Every profile row, every codec the customisable rows offer, and the options that change a
// command line's shape, each on one source.
std::vector<MatrixCase> casesOn(const QString& source) {
    const QString suffix = source.isEmpty() ? QString() : u'_' + source;
    std::vector<MatrixCase> cases;
    for (int row = 0; row < Catalogue::RowCount; ++row)
        if (Catalogue::row(row)->kind == RowKind::Profile)
            cases.push_back({row, QStringLiteral("row%1").arg(row) + suffix, source, {}, {}});
    for (int row : {91, 92, 93}) {
        OptionSheet sheet;
        prolist(sheet);
        applyOptionSet(sheet, row);
        for (const char* caption : {"Video Codec", "Audio Codec"}) {
            const QString item = QString::fromLatin1(caption);
            const OptionItem* found = sheet.itemAt(categoryOf(item), item);
            for (const QString& choice : found->choices()) {
                QString name = choice;
                name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")),
                             QStringLiteral("_"));
                cases.push_back(
                    {row, QStringLiteral("row%1_%2_%3").arg(row).arg(item.left(1), name) + suffix,
                     source, item, choice});
            }
        }
    }
    const QString disable = QStringLiteral("Disable Audio");
    for (int row : {1, 25, 36})
        cases.push_back({row, QStringLiteral("row%1_no_audio").arg(row) + suffix, source, disable,
                         QStringLiteral("Yes")});
    MatrixCase trimmed{1, QStringLiteral("row1_trimmed") + suffix, source, {}, {}};
    trimmed.start = 1;
    trimmed.duration = 1;
    cases.push_back(trimmed);
    // The settings dialog takes fractional thread counts; the command line carries them.
    MatrixCase threads{1, QStringLiteral("row1_threads_2_5") + suffix, source, {}, {}};
    threads.threads = 2.5;
    cases.push_back(threads);
    return cases;
}

// Rows whose encoder or container has limits a source can meet: Windows Media video and sound
// (rates and channels), WMA, the PSP container (sound), Flash (MP3 rates), MPEG-1 (picture
// and sound rates), DVD (subtitles), Ogg Vorbis (bitrates), 3GP (small sizes, 8 kHz sound),
// and H.264 (picture sizes and depth).
constexpr int kRowsWithLimits[] = {1, 25, 26, 36, 70, 82, 83, 87, 89, 92, 96, 99};

std::vector<MatrixCase> matrixCases() {
    const char* all = std::getenv("VIDORA_MATRIX_ALL_SOURCES");
    const bool allSources = all != nullptr && std::string_view(all) == "1";
    std::vector<MatrixCase> cases = casesOn({});
    for (const SourceKind& kind : kSourceKinds) {
        if (*kind.name == '\0')
            continue;
        const QString source = QLatin1StringView(kind.name);
        for (MatrixCase& c : casesOn(source)) {
            const bool limited = std::find(std::begin(kRowsWithLimits), std::end(kRowsWithLimits),
                                           c.row) != std::end(kRowsWithLimits);
            if (allSources || (limited && c.item.isEmpty() && c.threads == 2))
                cases.push_back(std::move(c));
        }
        // "Disable Audio" on the PSP rows, where it asks for a silent track.
        if (!allSources && (source == u"silent" || source == u"surround96k"))
            cases.push_back({25, u"row25_no_audio_" + source, source,
                             QStringLiteral("Disable Audio"), QStringLiteral("Yes")});
    }
    return cases;
}

// The container FFmpeg reports for each output extension.
QString expectedFormat(const QString& extension) {
    static const QHash<QString, QString> formats{
        {QStringLiteral(".mp4"), QStringLiteral("mp4")},
        {QStringLiteral(".m4a"), QStringLiteral("mp4")},
        {QStringLiteral(".3gp"), QStringLiteral("3gp")},
        {QStringLiteral(".3g2"), QStringLiteral("3g2")},
        {QStringLiteral(".avi"), QStringLiteral("avi")},
        {QStringLiteral(".wmv"), QStringLiteral("asf")},
        {QStringLiteral(".wma"), QStringLiteral("asf")},
        {QStringLiteral(".flv"), QStringLiteral("flv")},
        {QStringLiteral(".swf"), QStringLiteral("swf")},
        {QStringLiteral(".mpg"), QStringLiteral("mpeg")},
        {QStringLiteral(".mp3"), QStringLiteral("mp3")},
        {QStringLiteral(".ogg"), QStringLiteral("ogg")},
        {QStringLiteral(".wav"), QStringLiteral("wav")},
        {QStringLiteral(".aac"), QStringLiteral("aac")},
    };
    return formats.value(extension);
}

// The codec ffprobe names for what an encoder of the command line writes.
QString codecWritten(const QString& encoder) {
    static const QHash<QString, QString> codecs{
        {QStringLiteral("libx264"), QStringLiteral("h264")},
        {QStringLiteral("libxvid"), QStringLiteral("mpeg4")},
        {QStringLiteral("msmpeg4"), QStringLiteral("msmpeg4v3")},
        {QStringLiteral("h263p"), QStringLiteral("h263")}, // H.263+ is read by the H.263 decoder
        {QStringLiteral("libfaac"), QStringLiteral("aac")},
        {QStringLiteral("libmp3lame"), QStringLiteral("mp3")},
        {QStringLiteral("libvorbis"), QStringLiteral("vorbis")},
    };
    return codecs.value(encoder, encoder);
}

// The value after the last of an option in the command's arguments, or `fallback`.
QString lastValue(const QStringList& arguments, const QString& option, const QString& fallback) {
    const qsizetype at = arguments.lastIndexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : fallback;
}

void PrintTo(const MatrixCase& c, std::ostream* out) {
    *out << c.label.toStdString();
}

class ProfileMatrix : public ::testing::TestWithParam<MatrixCase> {};

} // namespace

TEST_P(ProfileMatrix, ConvertsTheSourceOrRefusesItCleanly) {
    const MatrixCase& c = GetParam();
    const SourceKind& kind = sourceKind(c.source);
    const QString caption = QString::fromLatin1(Catalogue::row(c.row)->caption);
    const QString extension = Catalogue::outputExtension(caption);

    QString error;
    const QString source = sourceFile(kind, &error);
    ASSERT_FALSE(source.isEmpty()) << error.toStdString();
    // A program folder of the case's own, so cases running side by side keep their own
    // statistics file; fp.dll is the one the build made.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString programFolder = folder.path();
    ASSERT_TRUE(QFile::link(QStringLiteral(VIDORA_PROGRAM_DIR "/fp.dll"),
                            QDir(programFolder).filePath(QStringLiteral("fp.dll"))));
    // The clip lies in a folder of its own: an output of the source's type must not be the clip.
    QDir(programFolder).mkdir(QStringLiteral("clips"));
    const QString input =
        QDir(programFolder).filePath(u"clips/my clip ü" + QLatin1StringView(kind.ending));
    ASSERT_TRUE(QFile::link(source, input));

    OptionSheet sheet;
    prolist(sheet);
    applyOptionSet(sheet, c.row);
    if (!c.item.isEmpty()) {
        ASSERT_TRUE(sheet.SetValue(sheet.itemAt(categoryOf(c.item), c.item), c.value));
    }
    const auto values = readOptionValues(sheet);
    ASSERT_TRUE(values);
    const auto options = JobOptions::fromValues(*values);
    ASSERT_TRUE(options);

    EncoderJob job;
    job.profileIndex = c.row;
    job.inputPath = input;
    job.startSeconds = c.start;
    job.durationSeconds = c.duration;
    job.outputPath = QDir(programFolder).filePath(u"my clip ü" + extension);
    job.programFolder = programFolder;
    job.threads = c.threads;
    const auto command = BuildEncoderCommandLine(job, *options);
    ASSERT_TRUE(command);

    QString output;
    const int exitCode = test::runProgram(command->program, command->arguments, 300000, &output);
    const test::MediaInfo info = test::probeMedia(job.outputPath);
    const QString statsLine = ReadLastLineOfFile(StatsFileName(programFolder));
    const double encoded = encodedSecondsOfStatsLine(statsLine);
    const bool unfinishedLeft = QFileInfo::exists(temporaryOutputPath(job.outputPath));

    const bool soundOnly = c.row >= 94;
    const bool soundDisabled = values->disableAudio != u"No";
    const QStringList& arguments = command->arguments;
    // The PSP container takes no file without sound: it gets a silent track.
    const bool silentTrack = arguments.contains(QStringLiteral("psp"));
    const bool expectSound = silentTrack || (!soundDisabled && kind.hasSound);
    // The audio-only and WMA shapes convert the whole file whatever the trim says.
    const double expectedDuration = soundOnly ? kClipSeconds : c.duration;
    const QStringList size = values->videoSize.split(u'x');
    // Rows that name no encoder use their container's: Flash video with MP3, DVD with AC-3.
    const bool dvd = arguments.contains(QStringLiteral("-target"));
    const QString videoCodec =
        codecWritten(lastValue(arguments, QStringLiteral("-vcodec"),
                               dvd ? QStringLiteral("mpeg2video") : QStringLiteral("flv1")));
    const QString audioCodec =
        codecWritten(lastValue(arguments, QStringLiteral("-acodec"),
                               dvd ? QStringLiteral("ac3") : QStringLiteral("libmp3lame")));

    QStringList problems;
    const bool refusal = soundOnly && !kind.hasSound;
    if (unfinishedLeft)
        problems << QStringLiteral("unfinished file left");
    if (refusal) {
        // Nothing to convert: a clean failure that leaves no file.
        if (exitCode == 0)
            problems << QStringLiteral("exit 0");
        if (QFileInfo::exists(job.outputPath))
            problems << QStringLiteral("output left");
    } else {
        if (exitCode != 0)
            problems << QStringLiteral("exit %1").arg(exitCode);
        if (QFileInfo(job.outputPath).size() <= 0)
            problems << QStringLiteral("no output");
        if (!info.formatName.split(u',').contains(expectedFormat(extension)))
            problems << QStringLiteral("container %1").arg(info.formatName);
        if (!soundOnly && !info.hasVideo)
            problems << QStringLiteral("no video");
        if (!soundOnly && info.hasVideo &&
            (size.size() != 2 || info.width != size[0].toInt() || info.height != size[1].toInt()))
            problems << QStringLiteral("size %1x%2").arg(info.width).arg(info.height);
        if (!soundOnly && info.hasVideo && info.videoCodec != videoCodec)
            problems << QStringLiteral("video %1").arg(info.videoCodec);
        // Players of these devices decode 8-bit 4:2:0 H.264 only.
        if (info.videoCodec == u"h264" && info.pixelFormat != u"yuv420p")
            problems << QStringLiteral("picture %1").arg(info.pixelFormat);
        if (expectSound != info.hasAudio)
            problems << (info.hasAudio ? QStringLiteral("audio present")
                                       : QStringLiteral("no audio"));
        if (expectSound && info.hasAudio && info.audioCodec != audioCodec)
            problems << QStringLiteral("audio %1").arg(info.audioCodec);
        if (std::abs(info.duration - expectedDuration) > 0.5)
            problems << QStringLiteral("duration %1").arg(info.duration);
        if (encoded <= 0)
            problems << QStringLiteral("no encoded time in stats");
    }

    const QString result =
        problems.isEmpty() ? (refusal ? QStringLiteral("PASS (refused)") : QStringLiteral("PASS"))
                           : u"FAIL " + problems.join(u"; ");
    std::printf("MATRIX| %-30s | %-46s | %-4s | %-9s | %-9s | %5.2f s | %s\n", qPrintable(c.label),
                qPrintable(caption), qPrintable(extension), qPrintable(values->videoCodec.left(9)),
                qPrintable(values->audioCodec.left(9)), info.duration, qPrintable(result));
    std::fflush(stdout);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u"; ").toStdString() << "\n"
                                    << command->text.toStdString() << "\n"
                                    << output.right(3000).toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllProfiles, ProfileMatrix, ::testing::ValuesIn(matrixCases()),
                         [](const ::testing::TestParamInfo<MatrixCase>& info) {
                             return info.param.label.toStdString();
                         });
