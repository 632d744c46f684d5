// Every profile of the catalogue, and every codec choice of the customisable ones, converts a
// generated clip through the real fp.dll and FFmpeg into a file that ffprobe accepts.
// Each case prints one line of the matrix table (see bench/profile_matrix.sh).

#include "engine/ConversionProgress.h"
#include "engine/EncoderCommandLine.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"
#include "profiles/OptionSheet.h"
#include "support/Media.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

constexpr int kClipSeconds = 3;

struct MatrixCase {
    int row = 0;
    QString label;
    QString item; // an item set after the row's option set, empty for none
    QString value;
    int start = 0;
    int duration = kClipSeconds;
};

// The category of the few items the matrix sets: the video items, or else the audio items.
QString categoryOf(const QString& item) {
    return item.startsWith(u"Video") ? QStringLiteral("Video Options")
                                     : QStringLiteral("Audio Options");
}

std::vector<MatrixCase> matrixCases() {
    std::vector<MatrixCase> cases;
    for (int row = 0; row < Catalogue::RowCount; ++row)
        if (Catalogue::row(row)->kind == RowKind::Profile)
            cases.push_back({row, QStringLiteral("row%1").arg(row), {}, {}});
    // Every codec the customisable rows offer.
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
                cases.push_back({row,
                                 QStringLiteral("row%1_%2_%3").arg(row).arg(item.left(1), name),
                                 item, choice});
            }
        }
    }
    cases.push_back({1, QStringLiteral("row1_no_audio"), QStringLiteral("Disable Audio"),
                     QStringLiteral("Yes")});
    cases.push_back({36, QStringLiteral("row36_no_audio"), QStringLiteral("Disable Audio"),
                     QStringLiteral("Yes")});
    MatrixCase trimmed{1, QStringLiteral("row1_trimmed"), {}, {}};
    trimmed.start = 1;
    trimmed.duration = 1;
    cases.push_back(trimmed);
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

void PrintTo(const MatrixCase& c, std::ostream* out) {
    *out << c.label.toStdString();
}

class ProfileMatrix : public ::testing::TestWithParam<MatrixCase> {};

} // namespace

TEST_P(ProfileMatrix, ConvertsAGeneratedClip) {
    const MatrixCase& c = GetParam();
    const QString caption = QString::fromLatin1(Catalogue::row(c.row)->caption);
    const QString extension = Catalogue::outputExtension(caption);

    // A program folder of the case's own, so cases running side by side keep their own
    // statistics file; fp.dll is the one the build made.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString programFolder = folder.path();
    ASSERT_TRUE(QFile::link(QStringLiteral(VIDORA_PROGRAM_DIR "/fp.dll"),
                            QDir(programFolder).filePath(QStringLiteral("fp.dll"))));
    // The clip lies in a folder of its own: an .avi output must not be the clip itself.
    QDir(programFolder).mkdir(QStringLiteral("clips"));
    const QString input = QDir(programFolder).filePath(QStringLiteral("clips/my clip ü.avi"));
    QString error;
    ASSERT_TRUE(test::generateClip(input, kClipSeconds, QStringLiteral("640x480"), &error))
        << error.toStdString();

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
    job.threads = 2;
    const auto command = BuildEncoderCommandLine(job, *options);
    ASSERT_TRUE(command);

    QString output;
    const int exitCode = test::runProgram(command->program, command->arguments, 300000, &output);
    const test::MediaInfo info = test::probeMedia(job.outputPath);
    const QString statsLine = ReadLastLineOfFile(StatsFileName(programFolder));
    const double encoded = encodedSecondsOfStatsLine(statsLine);

    const bool audioOnly = c.row >= 94;
    const bool noAudio = values->disableAudio != u"No";
    // The audio-only and WMA shapes convert the whole file whatever the trim says.
    const double expectedDuration = audioOnly ? kClipSeconds : c.duration;
    const QStringList size = values->videoSize.split(u'x');

    QStringList problems;
    if (exitCode != 0)
        problems << QStringLiteral("exit %1").arg(exitCode);
    if (QFileInfo(job.outputPath).size() <= 0)
        problems << QStringLiteral("no output");
    if (!info.formatName.split(u',').contains(expectedFormat(extension)))
        problems << QStringLiteral("container %1").arg(info.formatName);
    if (!audioOnly && !info.hasVideo)
        problems << QStringLiteral("no video");
    if (!audioOnly && info.hasVideo &&
        (size.size() != 2 || info.width != size[0].toInt() || info.height != size[1].toInt()))
        problems << QStringLiteral("size %1x%2").arg(info.width).arg(info.height);
    if (noAudio == info.hasAudio)
        problems << (noAudio ? QStringLiteral("audio present") : QStringLiteral("no audio"));
    if (std::abs(info.duration - expectedDuration) > 0.5)
        problems << QStringLiteral("duration %1").arg(info.duration);
    if (encoded <= 0)
        problems << QStringLiteral("no encoded time in stats");

    std::printf("MATRIX| %-22s | %-46s | %-4s | %-9s | %-9s | %5.2f s | %s\n", qPrintable(c.label),
                qPrintable(caption), qPrintable(extension), qPrintable(values->videoCodec.left(9)),
                qPrintable(values->audioCodec.left(9)), info.duration,
                problems.isEmpty() ? "PASS" : qPrintable(u"FAIL " + problems.join(u"; ")));
    std::fflush(stdout);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u"; ").toStdString() << "\n"
                                    << command->text.toStdString() << "\n"
                                    << output.right(3000).toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllProfiles, ProfileMatrix, ::testing::ValuesIn(matrixCases()),
                         [](const ::testing::TestParamInfo<MatrixCase>& info) {
                             return info.param.label.toStdString();
                         });
