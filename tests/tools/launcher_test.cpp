// How fp.dll and mp.dll fit the program's command lines to today's FFmpeg and MPlayer, checked
// without starting either tool.

#include "base/CommandLineText.h"
#include "launcher/EncoderArguments.h"
#include "launcher/EncoderLimits.h"
#include "launcher/EncoderOutput.h"
#include "launcher/FileIdentity.h"
#include "launcher/OutputFiles.h"
#include "launcher/PlayerArguments.h"
#include "launcher/Progress.h"
#include "launcher/SourceProbe.h"
#include "launcher/ToolLookup.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace vidora {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Arguments = std::vector<std::string>;

// The argument list of a command line's text, split as the Windows command line is.
Arguments splitCommandLine(const std::string& text) {
    Arguments arguments;
    for (const QString& argument : vidora::splitCommandLine(QString::fromStdString(text))) {
        arguments.push_back(argument.toStdString());
    }
    return arguments;
}

// The encoder's arguments of a command line text: everything after the quoted encoder path.
Arguments encoderArguments(const std::string& commandLine) {
    Arguments arguments = splitCommandLine(commandLine);
    arguments.erase(arguments.begin());
    return arguments;
}

// The value that follows the last occurrence of an option, or "(none)".
std::string valueOf(const Arguments& arguments, const std::string& option) {
    std::string value = "(none)";
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == option) {
            value = arguments[i + 1];
        }
    }
    return value;
}

std::ptrdiff_t positionOf(const Arguments& arguments, const std::string& argument) {
    auto found = std::find(arguments.begin(), arguments.end(), argument);
    return found == arguments.end() ? -1 : found - arguments.begin();
}

// The encoded time as the progress display reads a statistics line: the sixth "="-field
// without its last two characters, trimmed.
std::string encodedTimeField(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t equals = line.find('=', start);
        fields.push_back(line.substr(start, equals - start));
        if (equals == std::string::npos) {
            break;
        }
        start = equals + 1;
    }
    if (fields.size() < 6) {
        return {};
    }
    std::string field = fields[5].substr(0, fields[5].size() - 2);
    field.erase(0, field.find_first_not_of(' '));
    field.erase(field.find_last_not_of(' ') + 1);
    return field;
}

const std::string IpadLine =
    R"("/App/fp.dll" -i "/in/a.avi" -f mp4 -vcodec  libx264 -qmin 10 -qmax 51 -qdiff 4 -me_range 16 -keyint_min 25 -qcomp 0.6   -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 -t 95 -s 1024x768 -aspect 4:3 -acodec libfaac "/out/a.mp4" -threads  2 -vstats_file "/App/curconvert.log")";
const std::string Mp3Line =
    R"("/App/fp.dll" -i "/in/a.avi"  -ab 128000  -ac 2 -ar 44100  -vn -f  mp3  -acodec  libmp3lame "/out/a.mp3" -threads  2 -vstats_file "/App/curconvert.log")";

TEST(EncoderArguments, iPadRowBecomesACompleteFfmpegLine) {
    const EncoderCall call = translateEncoderArguments(encoderArguments(IpadLine), 3);
    EXPECT_THAT(call.arguments, ElementsAreArray<std::string>({"-y",
                                                               "-vstats_version",
                                                               "1",
                                                               "-progress",
                                                               "pipe:3",
                                                               "-ss",
                                                               "0",
                                                               "-i",
                                                               "/in/a.avi",
                                                               "-f",
                                                               "mp4",
                                                               "-vcodec",
                                                               "libx264",
                                                               "-qmin",
                                                               "10",
                                                               "-qmax",
                                                               "51",
                                                               "-qdiff",
                                                               "4",
                                                               "-me_range",
                                                               "16",
                                                               "-keyint_min",
                                                               "25",
                                                               "-qcomp",
                                                               "0.6",
                                                               "-ab",
                                                               "128000",
                                                               "-ac",
                                                               "2",
                                                               "-ar",
                                                               "44100",
                                                               "-b",
                                                               "768000",
                                                               "-r",
                                                               "25",
                                                               "-t",
                                                               "95",
                                                               "-s",
                                                               "1024x768",
                                                               "-aspect",
                                                               "4:3",
                                                               "-acodec",
                                                               "aac",
                                                               "-threads",
                                                               "2",
                                                               "-vstats_file",
                                                               "/App/curconvert.log",
                                                               "-pix_fmt",
                                                               "yuv420p",
                                                               "/out/.a.part.mp4"}));
    EXPECT_THAT(call.inputs, ElementsAre("/in/a.avi"));
    EXPECT_THAT(call.outputs, ElementsAre("/out/a.mp4"));
    ASSERT_EQ(call.temporaryOutputs.size(), 1u);
    EXPECT_EQ(call.temporaryOutputs[0].temporary, "/out/.a.part.mp4");
    EXPECT_EQ(call.temporaryOutputs[0].output, "/out/a.mp4");
    EXPECT_FALSE(call.needsSource);
    EXPECT_EQ(call.statisticsFile, "/App/curconvert.log");
}

TEST(EncoderArguments, AudioOnlyRowKeepsItsOrderAndGainsNoSeek) {
    const EncoderCall call = translateEncoderArguments(encoderArguments(Mp3Line));
    EXPECT_THAT(call.arguments, ElementsAreArray<std::string>({"-y",
                                                               "-vstats_version",
                                                               "1",
                                                               "-i",
                                                               "/in/a.avi",
                                                               "-ab",
                                                               "128000",
                                                               "-ac",
                                                               "2",
                                                               "-ar",
                                                               "44100",
                                                               "-vn",
                                                               "-f",
                                                               "mp3",
                                                               "-acodec",
                                                               "libmp3lame",
                                                               "-threads",
                                                               "2",
                                                               "-vstats_file",
                                                               "/App/curconvert.log",
                                                               "/out/.a.part.mp3"}));
    EXPECT_EQ(positionOf(call.arguments, "-progress"), -1);
    EXPECT_EQ(positionOf(call.arguments, "-ss"), -1);
}

TEST(EncoderArguments, OptionsAfterTheOutputMoveInFrontOfItInTheirOrder) {
    const EncoderCall call =
        translateEncoderArguments({"-i", "in.avi", "-c:v", "mpeg4", "out.avi", "-threads", "-1",
                                   "-t", "-5", "-an", "-vstats_file", "stats.log"});
    EXPECT_THAT(call.arguments,
                ElementsAreArray<std::string>({"-y", "-vstats_version", "1", "-i", "in.avi", "-c:v",
                                               "mpeg4", "-threads", "0", "-t", "-5", "-an",
                                               "-vstats_file", "stats.log", ".out.part.avi"}));
}

TEST(EncoderArguments, ThreadCountsBecomeWholeCountsTheEncoderTakes) {
    const auto threadsOf = [](const char* count) {
        const EncoderCall call = translateEncoderArguments(
            {"-i", "in.avi", "-c:v", "mpeg4", "out.avi", "-threads", count});
        return valueOf(call.arguments, "-threads");
    };
    // A negative count lets the encoder choose, as 0 does.
    EXPECT_EQ(threadsOf("-1"), "0");
    EXPECT_EQ(threadsOf("-32768"), "0");
    EXPECT_EQ(threadsOf("-1.5"), "0");
    EXPECT_EQ(threadsOf("0"), "0");
    EXPECT_EQ(threadsOf("4"), "4");
    // The settings keep a count as typed; the encoder takes whole ones.
    EXPECT_EQ(threadsOf("2.5"), "3");
    EXPECT_EQ(threadsOf("2.4"), "2");
    EXPECT_EQ(threadsOf("0.25"), "1");
    EXPECT_EQ(threadsOf("auto"), "auto");
}

TEST(EncoderArguments, NoOutputLeavesTrailingOptionsWhereTheyAre) {
    const EncoderCall call = translateEncoderArguments({"-version"});
    EXPECT_THAT(call.arguments, ElementsAre("-y", "-vstats_version", "1", "-version"));
    EXPECT_THAT(call.outputs, IsEmpty());
}

TEST(EncoderArguments, OwnAnswersAndStatisticsVersionAreKept) {
    const EncoderCall keepFile =
        translateEncoderArguments({"-n", "-vstats_version", "2", "-i", "a.avi", "b.avi"});
    EXPECT_THAT(keepFile.arguments,
                ElementsAre("-n", "-vstats_version", "2", "-i", "a.avi", "b.avi"));
    const EncoderCall overwrite = translateEncoderArguments({"-i", "a.avi", "-y", "b.avi"});
    EXPECT_EQ(std::count(overwrite.arguments.begin(), overwrite.arguments.end(), "-y"), 1);
}

TEST(EncoderArguments, FaacBecomesTheNativeEncoderOnlyAsAnAudioCodec) {
    const EncoderCall call = translateEncoderArguments(
        {"-i", "libfaac", "-metadata", "libfaac", "-c:a", "libfaac", "-codec:a", "libfaac",
         "-vcodec", "libxvid", "-acodec", "libfaac", "libfaac.mp4"});
    EXPECT_THAT(call.arguments, ElementsAreArray<std::string>(
                                    {"-y", "-vstats_version", "1", "-i", "libfaac", "-metadata",
                                     "libfaac", "-c:a", "aac", "-codec:a", "aac", "-vcodec",
                                     "libxvid", "-acodec", "aac", ".libfaac.part.mp4"}));
}

TEST(EncoderArguments, StartMovesBeforeTheInputAndLengthStaysWithTheOutput) {
    const EncoderCall call = translateEncoderArguments(
        {"-i", "in.avi", "-ss", "10", "-b", "1000", "-ss", "70", "-t", "5", "out.mp4"});
    EXPECT_THAT(call.arguments, ElementsAreArray<std::string>({"-y", "-vstats_version", "1", "-ss",
                                                               "70", "-i", "in.avi", "-b", "1000",
                                                               "-t", "5", ".out.part.mp4"}));
}

TEST(EncoderArguments, StartStaysWhereMovingItWouldChangeItsMeaning) {
    // An input that already seeks: the two would add up.
    const Arguments seeking = {"-ss", "3", "-i", "in.avi", "-ss", "10", "out.mp4"};
    EXPECT_THAT(translateEncoderArguments(seeking).arguments,
                ElementsAre("-y", "-vstats_version", "1", "-ss", "3", "-i", "in.avi", "-ss", "10",
                            ".out.part.mp4"));
    // Two outputs: moving it would also cut the other one.
    const Arguments twoOutputs = {"-i", "in.avi", "-ss", "10", "a.mp4", "b.mp4"};
    EXPECT_THAT(translateEncoderArguments(twoOutputs).arguments,
                ElementsAre("-y", "-vstats_version", "1", "-i", "in.avi", "-ss", "10",
                            ".a.part.mp4", ".b.part.mp4"));
    // Two inputs: it would seek only one of them.
    const Arguments twoInputs = {"-i", "a.avi", "-i", "b.wav", "-ss", "10", "out.mp4"};
    EXPECT_EQ(valueOf(translateEncoderArguments(twoInputs).arguments, "b.wav"), "-ss");
}

TEST(EncoderArguments, PathsPassUnchanged) {
    const std::vector<std::string> paths = {"/media/my films/a b.avi", "/media/it's \"quoted\".avi",
                                            "/media/-leading dash.avi", "/media/Ünïcödé ñ 映画.avi",
                                            "-relative dash.avi"};
    for (const std::string& input : paths) {
        const std::string output = input + ".mp4";
        const std::string outputPath = output.front() == '-' ? "/out/" + output : output;
        const EncoderCall call = translateEncoderArguments(
            {"-i", input, "-acodec", "libfaac", outputPath, "-vstats_file", input + ".log"});
        EXPECT_THAT(call.inputs, ElementsAre(input));
        EXPECT_THAT(call.outputs, ElementsAre(outputPath));
        EXPECT_EQ(call.statisticsFile, input + ".log");
        ASSERT_EQ(call.temporaryOutputs.size(), 1u);
        EXPECT_EQ(call.temporaryOutputs[0].output, outputPath);
        EXPECT_EQ(call.arguments.back(), call.temporaryOutputs[0].temporary);
        EXPECT_EQ(valueOf(call.arguments, "-i"), input);
    }
}

TEST(EncoderArguments, SpecLineWithBlanksInPathsSplitsIntoWholePaths) {
    const std::string line =
        R"("/opt/Vidora/fp.dll" -i "/home/jo/My Videos/it's -a ä.avi" -f mp4  -vcodec  mpeg4  -ab 128000  -ac 2 -ar 44100 -b 512000 -r 25 -ss 7 -t 20 -s 320x240 -aspect 4:3 -acodec libfaac -an  "/home/jo/out dir/it's -a ä_New.mp4" -threads  0 -vstats_file "/opt/Vidora/curconvert.log")";
    const EncoderCall call = translateEncoderArguments(encoderArguments(line));
    EXPECT_THAT(call.inputs, ElementsAre("/home/jo/My Videos/it's -a ä.avi"));
    EXPECT_THAT(call.outputs, ElementsAre("/home/jo/out dir/it's -a ä_New.mp4"));
    EXPECT_EQ(call.arguments.back(), "/home/jo/out dir/.it's -a ä_New.part.mp4");
    EXPECT_EQ(valueOf(call.arguments, "-threads"), "0");
    EXPECT_LT(positionOf(call.arguments, "-an"), positionOf(call.arguments, "-threads"));
    EXPECT_LT(positionOf(call.arguments, "-ss"), positionOf(call.arguments, "-i"));
}

TEST(EncoderArguments, FlashContainersGetAnMp3RateTheyCanName) {
    auto rateFor = [](const Arguments& arguments) {
        return valueOf(translateEncoderArguments(arguments).arguments, "-ar");
    };
    EXPECT_EQ(rateFor({"-i", "a", "-ar", "48000", "-acodec", "libmp3lame", "o.flv"}), "44100");
    EXPECT_EQ(rateFor({"-i", "a", "-ar", "24000", "-acodec", "libmp3lame", "o.FLV"}), "22050");
    EXPECT_EQ(rateFor({"-i", "a", "-ar", "8000", "-acodec", "libmp3lame", "o.swf"}), "11025");
    EXPECT_EQ(rateFor({"-i", "a", "-ar", "44100", "-acodec", "libmp3lame", "o.swf"}), "44100");
    // No audio codec named: the Flash writer's own is MP3.
    EXPECT_EQ(rateFor({"-i", "a", "-ar", "32000", "o.flv"}), "22050");
    // "-f" decides over the file's ending.
    EXPECT_EQ(rateFor({"-i", "a", "-ar", "32000", "-f", "avi", "-acodec", "libmp3lame", "o.flv"}),
              "32000");
    EXPECT_EQ(rateFor({"-i", "a", "-ar", "32000", "-f", "flv", "-acodec", "libmp3lame", "o.avi"}),
              "22050");
}

TEST(EncoderArguments, EncoderSampleRatesAreMetByTheNearestRate) {
    auto rateFor = [](const std::string& codec, const std::string& rate) {
        return valueOf(
            translateEncoderArguments({"-i", "a", "-ar", rate, "-acodec", codec, "o.avi"})
                .arguments,
            "-ar");
    };
    EXPECT_EQ(rateFor("ac3", "8000"), "32000");
    EXPECT_EQ(rateFor("ac3", "22050"), "32000");
    EXPECT_EQ(rateFor("ac3", "44100"), "44100");
    EXPECT_EQ(rateFor("mp2", "8000"), "16000");
    EXPECT_EQ(rateFor("mp2", "11025"), "16000");
    EXPECT_EQ(rateFor("mp2", "24000"), "24000");
    EXPECT_EQ(rateFor("libfaac", "8000"), "8000");
    EXPECT_EQ(rateFor("libvorbis", "8000"), "8000");
    EXPECT_EQ(rateFor("pcm_s16le", "11025"), "11025");
    EXPECT_EQ(rateFor("ac3", "fast"), "fast");
}

TEST(EncoderArguments, AudioBitratesAreMetWhereTheEncoderHasLimits) {
    auto bitrateFor = [](const std::string& codec, const std::string& rate,
                         const std::string& channels, const std::string& bitrate) {
        return valueOf(translateEncoderArguments({"-i", "a", "-ab", bitrate, "-ac", channels, "-ar",
                                                  rate, "-acodec", codec, "o.x"})
                           .arguments,
                       "-ab");
    };
    EXPECT_EQ(bitrateFor("mp2", "44100", "2", "12000"), "32000");
    EXPECT_EQ(bitrateFor("mp2", "44100", "2", "224000"), "224000");
    EXPECT_EQ(bitrateFor("mp2", "44100", "2", "40000"), "48000");
    EXPECT_EQ(bitrateFor("mp2", "22050", "1", "12.2k"), "16000");
    EXPECT_EQ(bitrateFor("mp2", "8000", "1", "12.2k"), "16000"); // the rate becomes 16000 first
    EXPECT_EQ(bitrateFor("libvorbis", "8000", "2", "320000"), "84000");
    EXPECT_EQ(bitrateFor("libvorbis", "8000", "1", "128000"), "42000");
    EXPECT_EQ(bitrateFor("libvorbis", "44100", "2", "32000"), "45000");
    EXPECT_EQ(bitrateFor("libvorbis", "44100", "2", "128000"), "128000");
    EXPECT_EQ(bitrateFor("libvorbis", "44100", "6", "32000"), "32000");
    EXPECT_EQ(bitrateFor("libfaac", "8000", "1", "12.2k"), "12.2k");
    EXPECT_EQ(bitrateFor("libmp3lame", "8000", "2", "320000"), "320000");
}

TEST(EncoderArguments, Mpeg1GetsTheNearestPictureRateItCanName) {
    auto rateFor = [](const std::string& codec, const std::string& rate) {
        return valueOf(
            translateEncoderArguments({"-i", "a", "-vcodec", codec, "-r", rate, "o.mpg"}).arguments,
            "-r");
    };
    EXPECT_EQ(rateFor("mpeg1video", "8"), "24000/1001");
    EXPECT_EQ(rateFor("mpeg1video", "15"), "24000/1001");
    EXPECT_EQ(rateFor("mpeg1video", "29.970"), "29.970");
    EXPECT_EQ(rateFor("mpeg1video", "29.976"), "29.976");
    EXPECT_EQ(rateFor("mpeg1video", "27.6"), "30000/1001");
    EXPECT_EQ(rateFor("mpeg1video", "45"), "50");
    EXPECT_EQ(rateFor("mpeg1video", "25"), "25");
    EXPECT_EQ(rateFor("mpeg1video", "ntsc"), "ntsc");
    EXPECT_EQ(rateFor("mpeg2video", "8"), "8");
    EXPECT_EQ(rateFor("mpeg4", "29.976"), "29.976");
}

TEST(EncoderArguments, PictureSizesMeetTheEncodersBlockSize) {
    auto sizeFor = [](const std::string& codec, const std::string& size) {
        return valueOf(
            translateEncoderArguments({"-i", "a", "-vcodec", codec, "-s", size, "o.mp4"}).arguments,
            "-s");
    };
    EXPECT_EQ(sizeFor("libx264", "720x405"), "720x406");
    EXPECT_EQ(sizeFor("libxvid", "721x405"), "722x406");
    EXPECT_EQ(sizeFor("libx264", "1280x720"), "1280x720");
    EXPECT_EQ(sizeFor("h263p", "854x480"), "856x480");
    EXPECT_EQ(sizeFor("h263p", "1366x767"), "1368x768");
    EXPECT_EQ(sizeFor("h263p", "1x1"), "4x4");
    EXPECT_EQ(sizeFor("mpeg4", "720x405"), "720x405");
    EXPECT_EQ(sizeFor("libx264", "hd720"), "hd720");
    EXPECT_EQ(sizeFor("libx264", "720x"), "720x");
    EXPECT_EQ(sizeFor("libx264", "-2x405"), "-2x405");
}

TEST(EncoderArguments, H264PicturesAreEightBitFourTwoZero) {
    auto formatFor = [](const Arguments& arguments) {
        return valueOf(translateEncoderArguments(arguments).arguments, "-pix_fmt");
    };
    EXPECT_EQ(formatFor({"-i", "10bit.mkv", "-vcodec", "libx264", "o.mp4"}), "yuv420p");
    EXPECT_EQ(formatFor({"-i", "a.mkv", "-vcodec", "libx264", "-pix_fmt", "yuv444p", "o.mp4"}),
              "yuv444p");
    EXPECT_EQ(formatFor({"-i", "a.mkv", "-vcodec", "mpeg4", "o.mp4"}), "(none)");
    EXPECT_EQ(formatFor({"-i", "a.mkv", "-vcodec", "libx264", "-vn", "o.mp4"}), "(none)");
}

TEST(EncoderArguments, InputOptionsAreNotFitted) {
    const EncoderCall call = translateEncoderArguments(
        {"-ar", "8000", "-acodec", "ac3", "-i", "a.ac3", "-acodec", "pcm_s16le", "o.wav"});
    EXPECT_EQ(call.arguments[3], "-ar");
    EXPECT_EQ(call.arguments[4], "8000");
}

TEST(OutputFiles, TemporaryNameIsHiddenBesideTheOutputAndKeepsItsExtension) {
    EXPECT_EQ(temporaryOutputPath("/out/clip.mp4"), "/out/.clip.part.mp4");
    EXPECT_EQ(temporaryOutputPath("/out/my.clip.v2.avi"), "/out/.my.clip.v2.part.avi");
    EXPECT_EQ(temporaryOutputPath("/out dir.d/it's -a ä.wmv"), "/out dir.d/.it's -a ä.part.wmv");
    EXPECT_EQ(temporaryOutputPath("/out.d/no extension"), "/out.d/.no extension.part");
    EXPECT_EQ(temporaryOutputPath("relative.mp3"), ".relative.part.mp3");
    EXPECT_EQ(temporaryOutputPath("/clip.m4a"), "/.clip.part.m4a");

    for (const char* file : {"/out/clip.mp4", "relative.mp3", "/out/a:b.mp4", "-dash.avi"}) {
        EXPECT_TRUE(isWrittenThroughTemporary(file)) << file;
    }
    for (const char* target :
         {"-", "pipe:1", "/dev/null", "udp://127.0.0.1:1234", "file:x.mp4", "/out/", ""}) {
        EXPECT_FALSE(isWrittenThroughTemporary(target)) << target;
    }
}

TEST(OutputFiles, FfmpegWritesEveryFileOutputUnderItsTemporaryName) {
    const EncoderCall two =
        translateEncoderArguments({"-i", "in.avi", "/out/a.mp4", "-f", "null", "/dev/null"});
    EXPECT_THAT(two.arguments, ElementsAre("-y", "-vstats_version", "1", "-i", "in.avi",
                                           "/out/.a.part.mp4", "-f", "null", "/dev/null"));
    EXPECT_THAT(two.outputs, ElementsAre("/out/a.mp4", "/dev/null"));
    ASSERT_EQ(two.temporaryOutputs.size(), 1u);
    EXPECT_EQ(two.temporaryOutputs[0].output, "/out/a.mp4");
    // -n: FFmpeg refuses an existing file itself, which a rename at the end would replace.
    EXPECT_TRUE(
        translateEncoderArguments({"-n", "-i", "in.avi", "o.mp4"}).temporaryOutputs.empty());
}

class OutputFilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    std::string path(const char* name) const {
        return QDir(m_dir.path()).filePath(name).toStdString();
    }
    void write(const std::string& file, const QByteArray& bytes) const {
        QFile out(QString::fromStdString(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QByteArray read(const std::string& file) const {
        QFile in(QString::fromStdString(file));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(none)");
    }
    QTemporaryDir m_dir;
};

TEST_F(OutputFilesOnDisk, ACompleteOutputReplacesAnOldOneAndAnEmptyOneNothing) {
    const std::string output = path("clip.mp4");
    const std::string temporary = temporaryOutputPath(output);
    write(output, "old");

    write(temporary, "");
    EXPECT_NE(publishOutput(temporary, output), "");
    EXPECT_EQ(read(output), "old");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(temporary)));

    EXPECT_NE(publishOutput(temporary, output), "") << "no file was written at all";
    EXPECT_EQ(read(output), "old");

    write(temporary, "complete");
    EXPECT_EQ(publishOutput(temporary, output), "");
    EXPECT_EQ(read(output), "complete");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(temporary)));

    write(temporary, "unfinished");
    discardOutput(temporary);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(temporary)));
    EXPECT_EQ(read(output), "complete");
    // A folder under the output's name is not replaced.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path("folder.mp4"))));
    write(temporaryOutputPath(path("folder.mp4")), "complete");
    EXPECT_NE(publishOutput(temporaryOutputPath(path("folder.mp4")), path("folder.mp4")), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(temporaryOutputPath(path("folder.mp4")))));
}

TEST(EncoderOutput, LinesThatSayTheOutputIsNotCompleteAreFoundInAnyPieces) {
    const std::string disk =
        "frame=  250 fps=0.0 q=2.0 size=     512kB time=00:00:09.96 bitrate= 421.1kbits/s "
        "speed=19.7x    \rError writing trailer of /mnt/out.mp4: No space left on device\n"
        "frame=  250 fps=0.0 q=2.0 Lsize=     512kB\r\n[aac @ 0x5651] Qavg: 129.028\n";
    for (std::size_t piece : {1u, 7u, 4096u}) {
        IncompleteOutputWatcher watcher;
        for (std::size_t at = 0; at < disk.size(); at += piece) {
            watcher.feed(std::string_view(disk).substr(at, piece));
        }
        EXPECT_EQ(watcher.reason(),
                  "Error writing trailer of /mnt/out.mp4: No space left on device")
            << "pieces of " << piece;
    }
    IncompleteOutputWatcher empty;
    empty.feed("video:0kB audio:0kB\nOutput file is empty, nothing was encoded (check -ss / -t / "
               "-frames parameters if used)\n");
    EXPECT_TRUE(empty.reason().starts_with("Output file is empty, nothing was encoded"));
    IncompleteOutputWatcher closing;
    closing.feed("Error closing file /mnt/out.wmv: No space left on device\n");
    EXPECT_FALSE(closing.reason().empty());

    IncompleteOutputWatcher good;
    good.feed("Input #0, avi, from 'Output file is empty.avi':\n  Stream #0:0: Video: mpeg4\n"
              "video:405kB audio:157kB subtitle:0kB other streams:0kB global headers:0kB\n"
              "[aac @ 0x56331d5a2000] Qavg: 404.803\n");
    EXPECT_EQ(good.reason(), "");
}

TEST(EncoderOutput, OnlyARunToItsEndKeepsItsOutput) {
    const EncoderVerdict done = judgeEncoderEnd({0, false, false, ""});
    EXPECT_TRUE(done.keepOutput);
    EXPECT_EQ(done.exitCode, 0);
    EXPECT_EQ(done.message, "");

    // FFmpeg ends with 0 after its quit key, with a file cut short.
    const EncoderVerdict cancelled = judgeEncoderEnd({0, true, false, ""});
    EXPECT_FALSE(cancelled.keepOutput);
    EXPECT_EQ(cancelled.exitCode, StoppedExitCode);
    EXPECT_NE(cancelled.message, "");
    EXPECT_FALSE(judgeEncoderEnd({0, false, true, ""}).keepOutput);
    EXPECT_EQ(judgeEncoderEnd({0, false, true, ""}).exitCode, StoppedExitCode);

    const EncoderVerdict empty =
        judgeEncoderEnd({0, false, false, "Output file is empty, nothing was encoded"});
    EXPECT_FALSE(empty.keepOutput);
    EXPECT_EQ(empty.exitCode, 1);

    const EncoderVerdict nothing = judgeEncoderEnd({0, false, false, "", true});
    EXPECT_FALSE(nothing.keepOutput);
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_NE(nothing.message, "");

    const EncoderVerdict failed = judgeEncoderEnd({128 + 9, false, false, ""});
    EXPECT_FALSE(failed.keepOutput);
    EXPECT_EQ(failed.exitCode, 137);
    EXPECT_EQ(judgeEncoderEnd({255, true, true, ""}).exitCode, 255);
}

TEST(SourceProbe, TheSoundIsThatOfTheStreamFfmpegPicks) {
    EXPECT_THAT(sourceProbeArguments("-in.avi", ""),
                ElementsAre("-v", "error", "-show_entries",
                            "stream=codec_type,sample_rate,channels:stream_disposition=default",
                            "-of", "compact=p=0", "-i", "-in.avi"));
    EXPECT_EQ(valueOf(sourceProbeArguments("testsrc", "lavfi"), "-f"), "lavfi");

    const SourceFacts two =
        parseSourceProbe("codec_type=video|disposition:default=1\n"
                         "codec_type=audio|sample_rate=8000|channels=1|disposition:default=0\n"
                         "codec_type=audio|sample_rate=96000|channels=6|disposition:default=0\n"
                         "codec_type=subtitle|disposition:default=0\n");
    EXPECT_TRUE(two.known && two.hasVideo && two.hasAudio);
    EXPECT_EQ(two.sampleRate, 96000); // the most channels
    EXPECT_EQ(two.channels, 6);
    const SourceFacts marked =
        parseSourceProbe("codec_type=audio|sample_rate=96000|channels=6|disposition:default=0\n"
                         "codec_type=audio|sample_rate=8000|channels=1|disposition:default=1");
    EXPECT_EQ(marked.sampleRate, 8000); // the default one
    EXPECT_FALSE(marked.hasVideo);
    const SourceFacts equal =
        parseSourceProbe("codec_type=audio|sample_rate=22050|channels=2|disposition:default=0\n"
                         "codec_type=audio|sample_rate=48000|channels=2|disposition:default=0\n");
    EXPECT_EQ(equal.sampleRate, 22050); // the first of equals

    const SourceFacts silent = parseSourceProbe("codec_type=video|disposition:default=0\n");
    EXPECT_TRUE(silent.known && silent.hasVideo && !silent.hasAudio);
    EXPECT_FALSE(parseSourceProbe("").known);
    EXPECT_FALSE(parseSourceProbe("garbage\n|=|\n").known);
}

// The Windows Media rows of the catalogue name no sample rate and no channel count.
const std::string WmvLine =
    R"("/App/fp.dll" -i "/in/a.mkv"  -vcodec wmv2 -b 768000 -r 25 -ss 0 -t 95 -s 320x240 -acodec wmav2 "/out/a.wmv" -threads  2 -vstats_file "/App/curconvert.log")";
const std::string PspLine =
    R"("/App/fp.dll" -i "/in/a.mkv" -f psp -vcodec   libx264  -ab 64000  -ac 2 -ar 24000 -b 512000 -r 29.97 -ss 0 -t 95 -s 368x208 -aspect 4:3 -acodec libfaac "/out/a.mp4" -threads  2 -vstats_file "/App/curconvert.log")";

SourceFacts sourceWith(bool video, bool audio, int sampleRate = 0, int channels = 0) {
    return {true, video, audio, sampleRate, channels};
}

TEST(EncoderArguments, WindowsMediaSoundGetsTheNearestRateAndChannelsTheSourceAllows) {
    const Arguments given = encoderArguments(WmvLine);
    const EncoderCall unprobed = translateEncoderArguments(given);
    EXPECT_TRUE(unprobed.needsSource);
    EXPECT_EQ(valueOf(unprobed.arguments, "-ar"), "(none)");

    const EncoderCall big = translateEncoderArguments(given, -1, sourceWith(true, true, 96000, 6));
    EXPECT_FALSE(big.needsSource);
    EXPECT_EQ(valueOf(big.arguments, "-ar"), "48000");
    EXPECT_EQ(valueOf(big.arguments, "-ac"), "2");
    EXPECT_LT(positionOf(big.arguments, "-ar"), positionOf(big.arguments, "/out/.a.part.wmv"));

    // What the encoder takes stays as the source has it.
    for (const SourceFacts& source : {sourceWith(true, true, 44100, 2),
                                      sourceWith(true, true, 8000, 1), sourceWith(true, false)}) {
        const EncoderCall call = translateEncoderArguments(given, -1, source);
        EXPECT_EQ(valueOf(call.arguments, "-ar"), "(none)");
        EXPECT_EQ(valueOf(call.arguments, "-ac"), "(none)");
    }
    EXPECT_EQ(
        valueOf(translateEncoderArguments(given, -1, sourceWith(true, true, 48000, 6)).arguments,
                "-ac"),
        "2");
    EXPECT_EQ(
        valueOf(translateEncoderArguments(given, -1, sourceWith(true, true, 88200, 2)).arguments,
                "-ar"),
        "48000");

    // Values the command line gives are fitted without asking the source.
    const EncoderCall given6 = translateEncoderArguments(
        {"-i", "a.mkv", "-ac", "6", "-ar", "96000", "-acodec", "wmav2", "-vn", "a.wma"});
    EXPECT_FALSE(given6.needsSource);
    EXPECT_EQ(valueOf(given6.arguments, "-ac"), "2");
    EXPECT_EQ(valueOf(given6.arguments, "-ar"), "48000");
    // No sound wanted: nothing to fit.
    EXPECT_FALSE(
        translateEncoderArguments({"-i", "a.mkv", "-acodec", "wmav2", "-an", "a.wmv"}).needsSource);
}

TEST(EncoderArguments, OnlyRowsWithSuchLimitsAskForTheSource) {
    EXPECT_FALSE(translateEncoderArguments(encoderArguments(IpadLine)).needsSource);
    EXPECT_FALSE(translateEncoderArguments(encoderArguments(Mp3Line)).needsSource);
    EXPECT_TRUE(translateEncoderArguments(encoderArguments(PspLine)).needsSource);
    EXPECT_TRUE(translateEncoderArguments(encoderArguments(WmvLine)).needsSource);
    EXPECT_EQ(
        translateEncoderArguments({"-f", "lavfi", "-i", "testsrc", "-acodec", "wmav2", "o.wmv"})
            .inputFormat,
        "lavfi");
}

TEST(EncoderArguments, PspOutputWithoutSoundGetsASilentTrack) {
    const Arguments given = encoderArguments(PspLine);
    const EncoderCall withSound =
        translateEncoderArguments(given, -1, sourceWith(true, true, 44100, 2));
    EXPECT_FALSE(withSound.needsSource);
    EXPECT_THAT(withSound.inputs, ElementsAre("/in/a.mkv"));
    EXPECT_EQ(positionOf(withSound.arguments, "-map"), -1);

    const auto expectSilentTrack = [](const EncoderCall& call) {
        EXPECT_FALSE(call.needsSource);
        EXPECT_THAT(call.inputs,
                    ElementsAre("/in/a.mkv", "anullsrc=channel_layout=stereo:sample_rate=48000"));
        const std::ptrdiff_t silence = positionOf(call.arguments, call.inputs[1]);
        EXPECT_EQ(call.arguments[silence - 2], "lavfi");
        EXPECT_EQ(positionOf(call.arguments, "-an"), -1);
        EXPECT_EQ(call.arguments[positionOf(call.arguments, "-map") + 1], "0:v:0");
        EXPECT_EQ(valueOf(call.arguments, "-map"), "1:a:0");
        EXPECT_LT(positionOf(call.arguments, "-shortest"),
                  positionOf(call.arguments, "/out/.a.part.mp4"));
        EXPECT_LT(silence, positionOf(call.arguments, "-shortest"));
        // The trim's start stays with the source.
        EXPECT_LT(positionOf(call.arguments, "-ss"), positionOf(call.arguments, "/in/a.mkv"));
    };
    expectSilentTrack(translateEncoderArguments(given, -1, sourceWith(true, false)));

    // "Disable Audio": no probe is needed.
    std::string disabled = PspLine;
    disabled.replace(disabled.find("libfaac \""), 9, "libfaac -an  \"");
    expectSilentTrack(translateEncoderArguments(encoderArguments(disabled)));
}

TEST(PlayerArguments, PreviewLinesLoseThePriorityAndGetAVideoOutputOfThisBuild) {
    const std::string playLine =
        R"("/App/mp.dll" -ss 12 -wid 41943047 -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   -framedrop   -autosync   100   -vo gl2  -vf   screenshot "/home/jo/it's a -film ä.avi")";
    Arguments arguments = splitCommandLine(playLine);
    arguments.erase(arguments.begin());
    EXPECT_THAT(translatePlayerArguments(arguments),
                ElementsAreArray<std::string>(
                    {"-ss", "12", "-wid", "41943047", "-framedrop", "-colorkey", "0",
                     "-nokeepaspect", "-framedrop", "-autosync", "100", "-vo", "gl,xv,x11,",
                     "-zoom", "-vf", "screenshot", "/home/jo/it's a -film ä.avi"}));
}

TEST(PlayerArguments, IdentifyLineDecodesSoundSoItsLengthIsReported) {
    const Arguments identify = {"-identify", "-benchmark", "-nosound",     "-vo",
                                "null",      "-vf",        "cropdetect",   "-endpos",
                                "1",         "/media/gl2", "-priority.avi"};
    EXPECT_THAT(translatePlayerArguments(identify),
                ElementsAreArray<std::string>(
                    {"-identify", "-benchmark", "-ao", "pcm:fast:file=/dev/null", "-vo", "null",
                     "-vf", "cropdetect", "-endpos", "1", "/media/gl2", "-priority.avi"}));
    // Only identify runs change, and a file named like the option is left alone.
    const Arguments play = {"-nosound", "-vo", "null", "a.avi"};
    EXPECT_EQ(translatePlayerArguments(play), play);
    const Arguments named = {"-identify", "./-nosound"};
    EXPECT_EQ(translatePlayerArguments(named), named);
    EXPECT_THAT(translatePlayerArguments({"-identify", "-nosound"}),
                ElementsAre("-identify", "-nosound"));
}

TEST(PlayerArguments, PriorityWithoutValueAndOtherOutputs) {
    EXPECT_THAT(translatePlayerArguments({"-vo", "xv", "a.avi", "-priority"}),
                ElementsAre("-vo", "xv", "a.avi"));
    EXPECT_THAT(translatePlayerArguments({"-vo"}), ElementsAre("-vo"));
    EXPECT_THAT(translatePlayerArguments({"gl2", "-vo", "gl2"}),
                ElementsAre("gl2", "-vo", "gl,xv,x11,", "-zoom"));
}

TEST(Progress, ReportsArriveInPiecesAndTellAudioFromVideo) {
    const std::string stream = "bitrate=N/A\ntotal_size=287\nout_time_us=N/A\nprogress=continue\n"
                               "bitrate= 129.4kbits/s\r\ntotal_size=65070\nout_time_us=4023923\n"
                               "out_time=00:00:04.023923\nprogress=end\n"
                               "frame=25\nfps=0.00\nstream_0_0_q=5.5\nout_time_us=1000000\n"
                               "progress=continue\n";
    ProgressReader reader;
    std::vector<ProgressReport> reports;
    for (std::size_t i = 0; i < stream.size(); i += 7) {
        for (const ProgressReport& report : reader.feed(std::string_view(stream).substr(i, 7))) {
            reports.push_back(report);
        }
    }
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_FALSE(reports[0].hasVideo);
    EXPECT_DOUBLE_EQ(reports[0].seconds, 0);
    EXPECT_FALSE(reports[0].last);
    EXPECT_FALSE(reports[1].hasVideo);
    EXPECT_DOUBLE_EQ(reports[1].seconds, 4.023923);
    EXPECT_EQ(reports[1].totalBytes, 65070);
    EXPECT_DOUBLE_EQ(reports[1].kbitsPerSecond, 129.4);
    EXPECT_TRUE(reports[1].last);
    EXPECT_TRUE(reports[2].hasVideo);
    EXPECT_DOUBLE_EQ(reports[2].seconds, 1);
    // An unfinished block is not reported.
    EXPECT_THAT(reader.feed("frame=3\nout_time_us=5"), IsEmpty());
}

TEST(Progress, ALastReportWithoutPicturesOrTimeSaysNothingWasWritten) {
    const auto lastReport = [](const char* stream) {
        ProgressReader reader;
        const std::vector<ProgressReport> reports = reader.feed(stream);
        return reports.empty() ? ProgressReport{} : reports.back();
    };
    // A start beyond the end of the clip: FFmpeg wrote the container's header only.
    EXPECT_TRUE(wroteNothing(lastReport("frame=0\nfps=0.00\ntotal_size=262\nout_time_us=0\n"
                                        "progress=end\n")));
    EXPECT_TRUE(wroteNothing(lastReport("bitrate=N/A\ntotal_size=261\nout_time_us=N/A\n"
                                        "progress=end\n")));
    // One picture, or a little sound, is something.
    EXPECT_FALSE(wroteNothing(lastReport("frame=1\ntotal_size=2914\nout_time_us=78\n"
                                         "progress=end\n")));
    EXPECT_FALSE(wroteNothing(lastReport("frame=1\ntotal_size=2914\nout_time_us=0\n"
                                         "progress=end\n")));
    EXPECT_FALSE(wroteNothing(lastReport("total_size=4000\nout_time_us=230000\nprogress=end\n")));
    // Only the last report counts.
    EXPECT_FALSE(wroteNothing(lastReport("frame=0\nout_time_us=0\nprogress=continue\n")));
}

TEST(Progress, StatisticsLineHasTheLayoutOfFfmpegsOwn) {
    ProgressReport report;
    report.seconds = 4.023923;
    report.totalBytes = 65070;
    report.kbitsPerSecond = 129.4;
    const std::string line = statisticsLine(report);
    EXPECT_EQ(line, "frame=     0 q= 0.0 f_size=      0 s_size=       64kB time= 4.024 br=   "
                    "129.4kbits/s avg_br=   129.4kbits/s type= A\n");
    EXPECT_EQ(encodedTimeField(line), "4.024");

    report.seconds = 7384.5;
    EXPECT_EQ(encodedTimeField(statisticsLine(report)), "7384.500");
    report.seconds = -0.02; // audio that starts before zero still counts from zero
    EXPECT_EQ(encodedTimeField(statisticsLine(report)), "0.000");
}

class FileIdentityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_root = QDir(m_dir.path()).canonicalPath().toStdString();
        ASSERT_TRUE(QDir(QString::fromStdString(m_root)).mkpath("sub dir/ä"));
        writeFile(m_root + "/sub dir/ä/in put.avi");
        writeFile(m_root + "/other.avi");
    }

    static void writeFile(const std::string& path) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data");
    }

    QTemporaryDir m_dir;
    std::string m_root;
};

TEST_F(FileIdentityTest, OneFileUnderManySpellings) {
    const std::string input = m_root + "/sub dir/ä/in put.avi";
    ASSERT_EQ(symlink(input.c_str(), (m_root + "/link.avi").c_str()), 0);
    ASSERT_EQ(symlink((m_root + "/sub dir").c_str(), (m_root + "/folder link").c_str()), 0);
    ASSERT_EQ(link(input.c_str(), (m_root + "/hard.avi").c_str()), 0);

    EXPECT_TRUE(sameFile(input, m_root + "/link.avi"));
    EXPECT_TRUE(sameFile(input, m_root + "/hard.avi"));
    EXPECT_TRUE(sameFile(input, m_root + "//sub dir//ä/./in put.avi"));
    EXPECT_TRUE(sameFile(input, m_root + "/sub dir/../sub dir/ä/in put.avi"));
    EXPECT_TRUE(sameFile(input, m_root + "/folder link/ä/in put.avi"));
    EXPECT_FALSE(sameFile(input, m_root + "/other.avi"));
    EXPECT_FALSE(sameFile(input, m_root + "/sub dir/ä/in put.mp4"));
    EXPECT_FALSE(sameFile(input, ""));
}

TEST_F(FileIdentityTest, RelativeSpellingsAndFilesNotYetWritten) {
    const std::string input = m_root + "/sub dir/ä/in put.avi";
    const std::string previous = QDir::currentPath().toStdString();
    ASSERT_EQ(chdir((m_root + "/sub dir").c_str()), 0);
    EXPECT_TRUE(sameFile(input, "./ä/in put.avi"));
    EXPECT_TRUE(sameFile("ä//in put.avi", input));
    // Neither exists: the spellings alone decide, with the links of the folders resolved.
    ASSERT_EQ(symlink((m_root + "/sub dir").c_str(), (m_root + "/alias").c_str()), 0);
    EXPECT_TRUE(sameFile("./new/../ä/x.mp4", m_root + "/alias/ä/x.mp4"));
    EXPECT_FALSE(sameFile("./ä/x.mp4", m_root + "/alias/ä/y.mp4"));
    ASSERT_EQ(chdir(previous.c_str()), 0);
}

TEST_F(FileIdentityTest, EncoderNeverWritesOntoItsInput) {
    const std::string input = m_root + "/sub dir/ä/in put.avi";
    ASSERT_EQ(symlink(input.c_str(), (m_root + "/link.avi").c_str()), 0);

    EncoderCall call;
    call.inputs = {input};
    call.outputs = {m_root + "/out.mp4"};
    call.statisticsFile = m_root + "/curconvert.log";
    EXPECT_EQ(inputOverwriteMessage(call), "");

    call.outputs = {m_root + "/link.avi"};
    EXPECT_EQ(inputOverwriteMessage(call), "fp.dll: will not write \"" + m_root +
                                               "/link.avi\": it is the input file \"" + input +
                                               "\"");
    call.outputs = {m_root + "/out.mp4"};
    call.statisticsFile = m_root + "//sub dir/ä/in put.avi";
    EXPECT_NE(inputOverwriteMessage(call), "");
}

TEST_F(FileIdentityTest, ToolsAreFoundOnTheSearchPath) {
    const std::string bin = m_root + "/bin";
    const std::string other = m_root + "/other bin";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(bin)));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(other + "/ffmpeg")));
    writeFile(bin + "/mplayer"); // not executable
    writeFile(bin + "/ffmpeg");
    ASSERT_EQ(chmod((bin + "/ffmpeg").c_str(), 0755), 0);

    const std::string searchPath = other + ":" + bin;
    EXPECT_EQ(findExecutable("ffmpeg", searchPath), bin + "/ffmpeg");
    EXPECT_EQ(findExecutable("mplayer", searchPath), "");
    EXPECT_EQ(findExecutable("ffmpeg", other), "");
    EXPECT_EQ(findExecutable("ffmpeg", ""), "");

    const std::string previous = QDir::currentPath().toStdString();
    ASSERT_EQ(chdir(bin.c_str()), 0);
    EXPECT_EQ(findExecutable("ffmpeg", "/nonexistent::"), "./ffmpeg");
    ASSERT_EQ(chdir(previous.c_str()), 0);
}

TEST(ToolLookup, MissingToolLineNamesThePackage) {
    EXPECT_EQ(missingToolMessage("fp.dll", "ffmpeg", "ffmpeg"),
              "fp.dll: ffmpeg not found; install the Debian package ffmpeg");
    EXPECT_EQ(missingToolMessage("mp.dll", "mplayer", "mplayer"),
              "mp.dll: mplayer not found; install the Debian package mplayer");
}

} // namespace
} // namespace vidora
