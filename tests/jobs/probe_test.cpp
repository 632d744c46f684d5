#include "jobs/JobList.h"
#include "jobs/MediaProbe.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace vidora {
namespace {

// The row a parse result gives a fresh row.
Job rowFrom(const IdentifyResult& result) {
    JobList list;
    const int row = list.append("/v/clip.avi");
    applyIdentifyResult(list, row, result);
    return list.at(row);
}

TEST(IdentifyOutput, AVideoFileFillsEveryColumnButStatus) {
    const IdentifyResult result = parseIdentifyOutput("ID_VIDEO_WIDTH=640\n"
                                                      "ID_VIDEO_HEIGHT=480\n"
                                                      "ID_VIDEO_FORMAT=XVID\n"
                                                      "ID_LENGTH=125.00\n");
    EXPECT_TRUE(result.complete);
    const Job job = rowFrom(result);
    EXPECT_EQ(job.path, "/v/clip.avi");
    EXPECT_EQ(job.start, "0:00:00");
    EXPECT_EQ(job.end, "0:02:05");
    EXPECT_EQ(job.size, "640x480");
    EXPECT_EQ(job.format, "XVID");
    EXPECT_EQ(job.status, "");
    EXPECT_EQ(job.videoTime, "0:02:05");
}

TEST(IdentifyOutput, AudioOnlyGivesNoSizeNoFormatButTheLength) {
    const Job job = rowFrom(parseIdentifyOutput("ID_AUDIO_ID=0\n"
                                                "ID_AUDIO_FORMAT=85\n"
                                                "ID_LENGTH=3.00\n"
                                                "ID_AUDIO_CODEC=mpg123\n"
                                                "ID_EXIT=EOF\n"));
    EXPECT_EQ(job.start, "0:00:00");
    EXPECT_EQ(job.end, "0:00:03");
    EXPECT_EQ(job.size, "0x0");
    EXPECT_TRUE(job.format.isNull());
    EXPECT_EQ(job.videoTime, "0:00:03");
}

TEST(IdentifyOutput, NothingUsefulStillGivesStartAndSize) {
    for (const QString& output :
         {QString(), QStringLiteral("Error parsing option on the command line: -x\n"),
          QStringLiteral("=====\nNo stream found.\nID_EXIT=EOF\n")}) {
        const IdentifyResult result = parseIdentifyOutput(output);
        EXPECT_TRUE(result.complete);
        const Job job = rowFrom(result);
        EXPECT_EQ(job.start, "0:00:00");
        EXPECT_EQ(job.size, "0x0");
        EXPECT_TRUE(job.end.isEmpty() && job.format.isEmpty() && job.videoTime.isEmpty());
    }
}

TEST(IdentifyOutput, KeysMatchOnlyExactly) {
    const IdentifyResult result = parseIdentifyOutput("id_video_width=640\n"
                                                      "ID_VIDEO_HEIGHT = 480\n"
                                                      " ID_VIDEO_FORMAT=XVID\n"
                                                      "ID_LENGTH =125\n"
                                                      "ID_VIDEO_WIDTHS=320\n"
                                                      "ID_VIDEO_FORMAT\n");
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.sizeText(), "0x0");
    EXPECT_FALSE(result.format.has_value());
    EXPECT_FALSE(result.lengthText.has_value());
}

TEST(IdentifyOutput, ValueEndsAtASecondEqualsSignAndFormatIsKeptRaw) {
    const IdentifyResult result = parseIdentifyOutput("ID_VIDEO_FORMAT= h264 =extra\n"
                                                      "ID_VIDEO_WIDTH=320=x\n"
                                                      "ID_VIDEO_HEIGHT=240\n");
    EXPECT_EQ(result.format, " h264 ");
    EXPECT_EQ(result.sizeText(), "320x240");
    EXPECT_EQ(parseIdentifyOutput("ID_VIDEO_FORMAT=\n").format, "");
}

TEST(IdentifyOutput, LinesEndInLfWithOrWithoutCr) {
    for (const QString& output :
         {QStringLiteral("ID_VIDEO_WIDTH=720\r\nID_VIDEO_HEIGHT=576\r\nID_VIDEO_FORMAT=MPG2\r\n"),
          QStringLiteral("ID_VIDEO_WIDTH=720\nID_VIDEO_HEIGHT=576\nID_VIDEO_FORMAT=MPG2\n"),
          QStringLiteral("ID_VIDEO_WIDTH=720\r\nID_VIDEO_HEIGHT=576\nID_VIDEO_FORMAT=MPG2")}) {
        const IdentifyResult result = parseIdentifyOutput(output);
        EXPECT_EQ(result.sizeText(), "720x576") << output.toStdString();
        EXPECT_EQ(result.format, "MPG2") << output.toStdString();
    }
    // A CR alone does not end a line: the player's status lines end in one, and the text after
    // it belongs to the same line.
    const IdentifyResult joined = parseIdentifyOutput("V:   0.1   3/  3\rID_VIDEO_FORMAT=MPG2\n");
    EXPECT_FALSE(joined.format.has_value());
}

TEST(IdentifyOutput, LengthIsRoundedHalvesToEvenAndDoesNotWrapAtADay) {
    const auto endOf = [](const QString& value) {
        return parseIdentifyOutput(QStringLiteral("ID_LENGTH=") + value + u'\n')
            .lengthText.value_or(QStringLiteral("(none)"));
    };
    EXPECT_EQ(endOf("90000"), "25:00:00");
    EXPECT_EQ(endOf("86399.4"), "23:59:59");
    EXPECT_EQ(endOf("4329"), "1:12:09");
    EXPECT_EQ(endOf("2.5"), "0:00:02");
    EXPECT_EQ(endOf("3.5"), "0:00:04");
    EXPECT_EQ(endOf("0.49"), "0:00:00");
    EXPECT_EQ(endOf("12.7 seconds"), "0:00:13"); // the leading number counts
    EXPECT_EQ(endOf("abc"), "0:00:00");
    EXPECT_EQ(endOf(""), "0:00:00");
    EXPECT_EQ(endOf("-5"), "0:00:00");
    EXPECT_FALSE(endOf("99999999999999999999999").isEmpty()); // no overflow

    const Job job = rowFrom(parseIdentifyOutput("ID_LENGTH=n/a\n"));
    EXPECT_EQ(job.end, "0:00:00");
    EXPECT_EQ(job.videoTime, "0:00:00");
}

TEST(IdentifyOutput, WidthAndHeightAreWholeNumbers) {
    const auto sizeOf = [](const QString& width) {
        const IdentifyResult result = parseIdentifyOutput(
            QStringLiteral("ID_VIDEO_WIDTH=") + width + QStringLiteral("\nID_VIDEO_HEIGHT=8\n"));
        return result.complete ? result.sizeText() : QStringLiteral("(stopped)");
    };
    EXPECT_EQ(sizeOf("1920"), "1920x8");
    EXPECT_EQ(sizeOf(" 352 "), "352x8");
    EXPECT_EQ(sizeOf("+16"), "16x8");
    EXPECT_EQ(sizeOf("12.5"), "12x8");
    EXPECT_EQ(sizeOf("13.5"), "14x8");
    EXPECT_EQ(sizeOf("0640"), "640x8");
    EXPECT_EQ(sizeOf(""), "(stopped)");
    EXPECT_EQ(sizeOf("640px"), "(stopped)");
    EXPECT_EQ(sizeOf("1.2.3"), "(stopped)");
    EXPECT_EQ(sizeOf("-"), "(stopped)");
    EXPECT_EQ(sizeOf("99999999999"), "(stopped)");
}

TEST(IdentifyOutput, ANonNumberSizeEndsReadingWithoutStartAndSize) {
    const IdentifyResult result = parseIdentifyOutput("ID_VIDEO_FORMAT=H264\n"
                                                      "ID_LENGTH=10\n"
                                                      "ID_VIDEO_WIDTH=640\n"
                                                      "ID_VIDEO_HEIGHT=unknown\n"
                                                      "ID_VIDEO_FORMAT=later\n"
                                                      "ID_LENGTH=20\n");
    EXPECT_FALSE(result.complete);
    const Job job = rowFrom(result);
    EXPECT_EQ(job.format, "H264");
    EXPECT_EQ(job.end, "0:00:10");
    EXPECT_EQ(job.videoTime, "0:00:10");
    EXPECT_TRUE(job.start.isEmpty());
    EXPECT_TRUE(job.size.isEmpty());
}

TEST(IdentifyOutput, AKeyThatComesAgainReplacesTheEarlierValue) {
    const Job job = rowFrom(parseIdentifyOutput("ID_VIDEO_WIDTH=320\n"
                                                "ID_VIDEO_HEIGHT=240\n"
                                                "ID_VIDEO_FORMAT=first\n"
                                                "ID_LENGTH=5\n"
                                                "ID_VIDEO_ASPECT=1.3333\n"
                                                "ID_VIDEO_WIDTH=640\n"
                                                "ID_VIDEO_FORMAT=second\n"
                                                "ID_LENGTH=65\n"));
    EXPECT_EQ(job.size, "640x240");
    EXPECT_EQ(job.format, "second");
    EXPECT_EQ(job.end, "0:01:05");
    EXPECT_EQ(job.videoTime, "0:01:05");
}

TEST(IdentifyRun, ArgumentsAreFixedAndThePathComesLastUnchanged) {
    const QStringList fixed = {"-identify", "-benchmark", "-nosound", "-vo", "null",
                               "-vf",       "cropdetect", "-endpos",  "1"};
    for (const QString& path :
         {QStringLiteral("/home/ann/My Videos/it's a \"test\" -1.avi"),
          QStringLiteral("/tmp/-dash.avi"), QStringLiteral("/média/vidéo ünïcode 動画.mkv"),
          QStringLiteral("/v/$(rm -rf x);`y`.avi")}) {
        EXPECT_EQ(identifyArguments(path), fixed + QStringList{path});
    }
    // A relative name is given with its folder, so a leading dash is not taken for an option.
    EXPECT_EQ(identifyArguments("-x.avi").last(), "./-x.avi");
    EXPECT_EQ(identifyArguments("sub/clip.avi").last(), "./sub/clip.avi");
}

TEST(IdentifyRun, ALockedListGetsNoRow) {
    JobList list;
    list.append("/v/a.avi");
    list.setLocked(true);
    MediaProber prober(list);
    EXPECT_EQ(prober.add({"/v/b.avi"}), 0);
    EXPECT_EQ(list.count(), 1);
    EXPECT_FALSE(prober.isBusy());
}

} // namespace
} // namespace vidora
