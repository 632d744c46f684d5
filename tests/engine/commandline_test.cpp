#include "base/CommandLineText.h"
#include "engine/EncoderCommandLine.h"

#include <gtest/gtest.h>
#include <utility>

using namespace vidora;

namespace {

OptionValues workedExampleValues() {
    OptionValues v;
    v.videoCodec = QStringLiteral("x264");
    v.aspectRatio = QStringLiteral("4:3");
    v.videoSize = QStringLiteral("1024x768");
    v.videoBitrate = QStringLiteral("768");
    v.frameRate = QStringLiteral("25");
    v.audioCodec = QStringLiteral("aac");
    v.disableAudio = QStringLiteral("No");
    v.audioBitrate = QStringLiteral("128");
    v.sampleRate = QStringLiteral("44100");
    v.audioChannel = QStringLiteral("2");
    return v;
}

EncoderJob workedExampleJob(int profileIndex, const QString& output) {
    EncoderJob job;
    job.profileIndex = profileIndex;
    job.inputPath = QStringLiteral("/in/a.avi");
    job.startSeconds = 0;
    job.durationSeconds = 95;
    job.outputPath = output;
    job.programFolder = QStringLiteral("/App");
    job.threads = 2;
    return job;
}

QString build(const EncoderJob& job, const JobOptions& options) {
    const auto command = BuildEncoderCommandLine(job, options);
    EXPECT_TRUE(command.has_value());
    return command ? command->text : QString();
}

// Distinct placeholder values, so every field can be found in the expected texts below.
JobOptions placeholderOptions() {
    JobOptions o;
    o.videoCodec = QStringLiteral("VCODEC");
    o.aspectRatio = QStringLiteral("AR");
    o.videoSize = QStringLiteral("SIZE");
    o.videoBitrate = QStringLiteral("VB");
    o.frameRate = QStringLiteral("FR");
    o.audioCodec = QStringLiteral("ACODEC");
    o.audioBitrate = 96;
    o.sampleRate = QStringLiteral("SR");
    o.audioChannels = 1;
    return o;
}

EncoderJob placeholderJob(int profileIndex) {
    EncoderJob job;
    job.profileIndex = profileIndex;
    job.inputPath = QStringLiteral("IN");
    job.startSeconds = 7;
    job.durationSeconds = 42;
    job.outputPath = QStringLiteral("OUT");
    job.programFolder = QStringLiteral("/App");
    job.threads = 2;
    return job;
}

// The profile part of every catalogue row with the placeholder values, typed from the
// row-by-row table of argument shapes.
const std::pair<int, const char*> kProfileParts[] = {
    {0, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {1, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {2, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {3, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {4, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {5, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {6, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {7, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {8, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {9, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
        "-aspect AR -acodec ACODEC \"OUT\""},
    {10, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {11, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {12, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {13, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {14, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {15, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {16, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {17, " -f mp4 -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {18, "  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {19, "  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {20, "  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {21, "  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {22, "  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {23, "  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {24, " -f psp -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {25, " -f psp -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {26, " -f psp -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {27, "  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect "
         "AR -acodec ACODEC \"OUT\""},
    {28, "  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect "
         "AR -acodec ACODEC \"OUT\""},
    {29, "  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect "
         "AR -acodec ACODEC \"OUT\""},
    {30, "  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect "
         "AR -acodec ACODEC \"OUT\""},
    {31, "  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect "
         "AR -acodec ACODEC \"OUT\""},
    {32, "  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect "
         "AR -acodec ACODEC \"OUT\""},
    {33, "  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect "
         "AR -acodec ACODEC \"OUT\""},
    {34, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {35, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {36, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {37, " -f mp4  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {38, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {39, " -f mp4  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {40, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {41, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {42, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {43, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {44, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {45, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {46, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {47, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {48, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {49, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {50, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {51, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {52, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {53, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {54, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {55, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {56, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {57, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {58, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {59, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-acodec ACODEC \"OUT\""},
    {60, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-acodec ACODEC \"OUT\""},
    {61, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {62, " -f mp4  -vcodec  VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {63, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {64, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {65, " -f avi  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {66, " -f mp4  -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {67, "   -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {68, "   -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR "
         "-acodec ACODEC \"OUT\""},
    {69, "   -vcodec VCODEC  -f 3gp -ac 1 -ar 8000 -ab 12.2k    -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {70, "   -vcodec VCODEC  -f 3gp -ac 1 -ar 8000 -ab 12.2k    -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {71, " -f 3g2  -vcodec VCODEC  -ac 1 -ar 8000 -ab 12.2k    -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {72, " -f mp4  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {73, " -f mp4  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {74, " -f mp4  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {75, " -f mp4  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {76, " -f mp4  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {77, " -f mp4  -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {78, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {79, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {80, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {81, "  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {82, "  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {83, "  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {84, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {85, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec ACODEC \"OUT\""},
    {86, " -target ntsc-dvd  -b VB000 -r FR -ss 7 -t 42 -s SIZE \"OUT\""},
    {87, " -target ntsc-dvd  -b VB000 -r FR -ss 7 -t 42 -s SIZE \"OUT\""},
    {88, " -target pal-dvd  -b VB000 -r FR -ss 7 -t 42 -s SIZE \"OUT\""},
    {89, "   -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec "
         "ACODEC \"OUT\""},
    {90, "   -vcodec VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE -acodec "
         "ACODEC \"OUT\""},
    {91, " -f avi   -vcodec   VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {92, "  -vcodec VCODEC -b VB000 -r FR -ss 7 -t 42 -s SIZE -aspect AR -acodec ACODEC \"OUT\""},
    {93, " -f mp4  -vcodec    VCODEC  -ab 96000  -ac 1 -ar SR -b VB000 -r FR -ss 7 -t 42 -s SIZE "
         "-aspect AR -acodec ACODEC \"OUT\""},
    {94, "  -ab 96000  -ac 1 -ar SR  -vn -f  mp3  -acodec  libmp3lame \"OUT\""},
    {95, "  -ab 96000  -ac 1 -ar SR  -vn -f  mp3  -acodec  libmp3lame \"OUT\""},
    {96, "  -ab 96000  -ac 1 -ar SR  -vn -f  ogg -acodec  libvorbis \"OUT\""},
    {97, "  -ab 96000  -ac 1 -ar SR  -vn -f  wav -acodec  pcm_s16le \"OUT\""},
    {98, "  -ab 96000  -ac 1 -ar SR  -vn -acodec  libfaac \"OUT\""},
    {99, " -acodec ACODEC -vn \"OUT\""},
    {100, "  -ab 96000  -ac 1 -ar SR  -vn -acodec  libfaac \"OUT\""},
};

} // namespace

TEST(EncoderCommandLine, ReproducesTheWorkedExamples) {
    const auto options = JobOptions::fromValues(workedExampleValues());
    ASSERT_TRUE(options);
    EXPECT_EQ(
        build(workedExampleJob(1, QStringLiteral("/out/a.mp4")), *options),
        QStringLiteral(
            R"("/App/fp.dll" -i "/in/a.avi" -f mp4 -vcodec  libx264 -qmin 10 -qmax 51 -qdiff 4 -me_range 16 -keyint_min 25 -qcomp 0.6   -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 -t 95 -s 1024x768 -aspect 4:3 -acodec libfaac "/out/a.mp4" -threads  2 -vstats_file "/App/curconvert.log")"));
    EXPECT_EQ(
        build(workedExampleJob(95, QStringLiteral("/out/a.mp3")), *options),
        QStringLiteral(
            R"("/App/fp.dll" -i "/in/a.avi"  -ab 128000  -ac 2 -ar 44100  -vn -f  mp3  -acodec  libmp3lame "/out/a.mp3" -threads  2 -vstats_file "/App/curconvert.log")"));
}

TEST(EncoderCommandLine, EveryRowHasItsShapeBlankForBlank) {
    ASSERT_EQ(std::size(kProfileParts), 101u);
    for (const auto& [row, part] : kProfileParts) {
        SCOPED_TRACE(row);
        const QString expected = u"\"/App/fp.dll\" -i \"IN\"" + QString::fromLatin1(part) +
                                 u" -threads  2 -vstats_file \"/App/curconvert.log\"";
        EXPECT_EQ(build(placeholderJob(row), placeholderOptions()), expected);
    }
}

TEST(EncoderCommandLine, RefusesProfileIndexesOutsideTheCatalogue) {
    EXPECT_FALSE(BuildEncoderCommandLine(placeholderJob(-1), placeholderOptions()));
    EXPECT_FALSE(BuildEncoderCommandLine(placeholderJob(101), placeholderOptions()));
}

TEST(EncoderCommandLine, ArgumentsMatchTheSplitTextForEveryRow) {
    // Blanks, an apostrophe, a leading dash and non-ASCII letters, but no double quote.
    const QString input = QStringLiteral("/home/ana/My Videos/-l'été à Zürich.avi");
    const QString output = QStringLiteral("/home/ana/out dir/-l'été à Zürich.mp4");
    for (int row = 0; row <= 100; ++row) {
        SCOPED_TRACE(row);
        EncoderJob job = placeholderJob(row);
        job.inputPath = input;
        job.outputPath = output;
        job.programFolder = QStringLiteral("/opt/Vidora dir");
        JobOptions options = placeholderOptions();
        options.disableAudio = row % 2 ? QStringLiteral(" -an ") : QString();
        const auto command = BuildEncoderCommandLine(job, options);
        ASSERT_TRUE(command);
        const QStringList split = splitCommandLine(command->text);
        ASSERT_FALSE(split.isEmpty());
        EXPECT_EQ(command->program, QStringLiteral("/opt/Vidora dir/fp.dll"));
        EXPECT_EQ(split.first(), command->program);
        EXPECT_EQ(split.mid(1), command->arguments);
        EXPECT_EQ(command->arguments.count(input), 1);
        EXPECT_EQ(command->arguments.count(output), 1);
        EXPECT_EQ(command->arguments.last(), QStringLiteral("/opt/Vidora dir/curconvert.log"));
    }
}

TEST(EncoderCommandLine, PathsWithDoubleQuotesStayOneArgument) {
    EncoderJob job = placeholderJob(1);
    job.inputPath = QStringLiteral(R"(/in/say "hi" now.avi)");
    job.outputPath = QStringLiteral(R"(/out/say "hi" now.mp4)");
    const auto command = BuildEncoderCommandLine(job, placeholderOptions());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->arguments.mid(0, 2), (QStringList{QStringLiteral("-i"), job.inputPath}));
    EXPECT_TRUE(command->arguments.contains(job.outputPath));
    EXPECT_TRUE(command->text.contains(u"\"/out/say \"hi\" now.mp4\""));
}

TEST(EncoderCommandLine, DisabledAudioTailsKeepTheirBlanks) {
    JobOptions options = placeholderOptions();
    options.disableAudio = QStringLiteral(" -an ");
    // Tail A: codec, " -an ", one more blank, then the quoted output.
    EXPECT_TRUE(build(placeholderJob(1), options).contains(u"-acodec ACODEC -an  \"OUT\""));
    // Tail B: codec, one blank, " -an ", then the quoted output directly.
    EXPECT_TRUE(build(placeholderJob(36), options).contains(u"-acodec ACODEC  -an \"OUT\""));
}

TEST(EncoderCommandLine, AudioOnlyAndWmaShapesConvertTheWholeFile) {
    for (int row : {94, 95, 96, 97, 98, 99, 100}) {
        SCOPED_TRACE(row);
        const QString text = build(placeholderJob(row), placeholderOptions());
        EXPECT_FALSE(text.contains(u" -ss "));
        EXPECT_FALSE(text.contains(u" -t "));
    }
}

TEST(EncoderCommandLine, ThreadCountAndTimesAreWrittenAsNumbers) {
    EncoderJob job = placeholderJob(1);
    job.threads = 0;
    job.durationSeconds = -30;
    const QString zero = build(job, placeholderOptions());
    EXPECT_TRUE(zero.contains(u" -threads  0 -vstats_file"));
    EXPECT_TRUE(zero.contains(u" -t -30 "));
    job.threads = -1;
    EXPECT_TRUE(build(job, placeholderOptions()).contains(u" -threads -1 -vstats_file"));
    // A fractional count is carried as stored; only the encoder makes a whole one of it.
    job.threads = 2.5;
    EXPECT_TRUE(build(job, placeholderOptions()).contains(u" -threads  2.5 -vstats_file"));
    job.threads = -1.5;
    EXPECT_TRUE(build(job, placeholderOptions()).contains(u" -threads -1.5 -vstats_file"));
    job.threads = -0.0;
    EXPECT_TRUE(build(job, placeholderOptions()).contains(u" -threads  0 -vstats_file"));
}

TEST(EncoderCommandLine, RootProgramFolderGetsNoDoubledSlash) {
    EncoderJob job = placeholderJob(1);
    job.programFolder = QStringLiteral("/");
    const auto command = BuildEncoderCommandLine(job, placeholderOptions());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, QStringLiteral("/fp.dll"));
    EXPECT_EQ(command->arguments.last(), QStringLiteral("/curconvert.log"));
}

TEST(JobOptions, ConvertsTheSheetValues) {
    OptionValues values = workedExampleValues();
    values.videoCodec = QStringLiteral("xvid");
    values.frameRate = QStringLiteral("Auto");
    values.audioCodec = QStringLiteral("amr_nb");
    values.disableAudio = QStringLiteral("Yes");
    values.audioBitrate = QStringLiteral(" 12.5 ");
    const auto options = JobOptions::fromValues(values);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->videoCodec, QStringLiteral("libxvid  -aspect 4:3 "));
    EXPECT_EQ(options->frameRate, QStringLiteral("25"));
    EXPECT_EQ(options->audioCodec, QStringLiteral("libfaac"));
    EXPECT_EQ(options->disableAudio, QStringLiteral(" -an "));
    EXPECT_EQ(options->audioBitrate, 12); // halves go to the even integer
    EXPECT_EQ(options->audioChannels, 2);

    // Both "-aspect 4:3" of the xvid codec and the sheet's ratio stay in the text.
    const QString text = build(placeholderJob(1), *options);
    EXPECT_TRUE(text.contains(u"libxvid  -aspect 4:3   -ab 12000"));
    EXPECT_TRUE(text.contains(u" -aspect 4:3 -acodec libfaac"));
}

TEST(JobOptions, FailsOnAudioNumbersThatAreNotSixteenBit) {
    for (const char* bad : {"", "abc", "128k", "32768", "-32769", "1e3x"}) {
        SCOPED_TRACE(bad);
        OptionValues values = workedExampleValues();
        values.audioBitrate = QString::fromLatin1(bad);
        EXPECT_FALSE(JobOptions::fromValues(values));
        values = workedExampleValues();
        values.audioChannel = QString::fromLatin1(bad);
        EXPECT_FALSE(JobOptions::fromValues(values));
    }
}

TEST(CodecMaps, FollowTheirTablesAndPassOthersThrough) {
    const std::pair<const char*, const char*> video[] = {
        {"mpeg4", "mpeg4"},      {"WMV V9", "wmv2"},         {"WMV V8", "wmv2"},
        {"mjpeg", "mjpeg"},      {"h263", "h263"},           {"mpeg1", "mpeg1video"},
        {"mpeg2", "mpeg2video"}, {"msmpeg4v2", "msmpeg4v2"}, {"X264", "X264"},
    };
    for (const auto& [value, name] : video)
        EXPECT_EQ(MapVideoCodec(QString::fromLatin1(value)), QString::fromLatin1(name));
    const std::pair<const char*, const char*> audio[] = {
        {"aac", "libfaac"},   {"mp3", "libmp3lame"}, {"WMA9", "wmav2"}, {"WMA8", "wmav2"},
        {"pcm", "pcm_s16le"}, {"faac", "libfaac"},   {"ac3", "ac3"},    {"ogg", "libvorbis"},
        {"wav", "pcm_s16le"}, {"WMA", "wmav2"},      {"mp2", "mp2"},    {"Mp3", "Mp3"},
    };
    for (const auto& [value, name] : audio)
        EXPECT_EQ(MapAudioCodec(QString::fromLatin1(value)), QString::fromLatin1(name));
}
