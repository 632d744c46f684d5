#include "capture/CaptureDevice.h"
#include "capture/CaptureProgress.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace vidora {
namespace {

TEST(CaptureStatisticsText, ReadsFramesDroppedAndSecondsWithTwoDecimals) {
    EXPECT_EQ(FormatCaptureStatistics({250, 3, 10250}),
              QStringLiteral("250 frames (3 dropped) - 10.25 sec."));
    EXPECT_EQ(FormatCaptureStatistics({0, 0, 0}),
              QStringLiteral("0 frames (0 dropped) - 0.00 sec."));
    EXPECT_EQ(FormatCaptureStatistics({1, 0, 999}),
              QStringLiteral("1 frames (0 dropped) - 1.00 sec."));
    EXPECT_EQ(FormatCaptureStatistics({9, 0, 40}),
              QStringLiteral("9 frames (0 dropped) - 0.04 sec."));
    // Half a hundredth rounds up, whatever the binary fraction of 10.255 would say.
    EXPECT_EQ(FormatCaptureStatistics({2, 1, 10255}),
              QStringLiteral("2 frames (1 dropped) - 10.26 sec."));
    EXPECT_EQ(FormatCaptureStatistics({90000, 12, 3600004}),
              QStringLiteral("90000 frames (12 dropped) - 3600.00 sec."));
}

// Two blocks as FFmpeg 5.1 writes them for a recording.
constexpr char kTwoBlocks[] = "frame=12\nfps=0.00\nstream_0_0_q=3.0\nbitrate=N/A\n"
                              "total_size=N/A\nout_time_us=480000\nout_time_ms=480000\n"
                              "out_time=00:00:00.480000\ndup_frames=0\ndrop_frames=0\n"
                              "speed=0.96x\nprogress=continue\n"
                              "frame=25\nfps=24.50\nout_time_us=1000000\nout_time_ms=1000000\n"
                              "dup_frames=0\ndrop_frames=2\nspeed=1x\nprogress=end\n";

TEST(CaptureProgressReader, TakesTheFiguresOfEachCompleteBlockWhateverThePieces) {
    const QByteArray report(kTwoBlocks);
    for (const qsizetype pieceSize : {qsizetype(1), qsizetype(7), report.size()}) {
        CaptureProgressReader reader;
        QList<CaptureStatistics> seen;
        for (qsizetype at = 0; at < report.size(); at += pieceSize) {
            if (reader.feed(QByteArrayView(report).sliced(at, qMin(pieceSize, report.size() - at))))
                seen << reader.statistics();
        }
        ASSERT_FALSE(seen.isEmpty());
        EXPECT_EQ(reader.statistics().framesCaptured, 25) << pieceSize;
        EXPECT_EQ(reader.statistics().framesDropped, 2);
        EXPECT_EQ(reader.statistics().elapsedMs, 1000);
        EXPECT_TRUE(reader.ended());
        if (pieceSize == 1) {
            ASSERT_EQ(seen.size(), 2);
            EXPECT_EQ(seen[0].framesCaptured, 12);
            EXPECT_EQ(seen[0].elapsedMs, 480);
        }
    }
}

TEST(CaptureProgressReader, AHalfBlockCountsOnlyWhenItEnds) {
    CaptureProgressReader reader;
    EXPECT_FALSE(reader.feed("frame=40\nout_time_us=1600000\nprog"));
    EXPECT_EQ(reader.statistics().framesCaptured, 0);
    EXPECT_FALSE(reader.ended());
    EXPECT_TRUE(reader.feed("ress=continue\r\n"));
    EXPECT_EQ(reader.statistics().framesCaptured, 40);
    EXPECT_EQ(reader.statistics().elapsedMs, 1600);
    EXPECT_FALSE(reader.ended());
}

TEST(CaptureProgressReader, KeepsTheLastValueForNAAndFallsBackToOutTimeMs) {
    CaptureProgressReader reader;
    reader.feed("frame=0\nout_time_us=N/A\nout_time_ms=N/A\ndrop_frames=0\nprogress=continue\n");
    EXPECT_EQ(reader.statistics().elapsedMs, 0);
    // out_time_ms holds microseconds, as out_time_us does.
    reader.feed("frame=5\nout_time_ms=200000\nprogress=continue\n");
    EXPECT_EQ(reader.statistics().elapsedMs, 200);
    reader.feed("frame=N/A\nout_time_us=N/A\ndrop_frames=N/A\nprogress=continue\n");
    EXPECT_EQ(reader.statistics().framesCaptured, 5);
    EXPECT_EQ(reader.statistics().elapsedMs, 200);
    // FFmpeg reports a negative time before its first picture.
    reader.feed("frame=5\nout_time_us=-9223372036854775807\nprogress=continue\n");
    EXPECT_EQ(reader.statistics().elapsedMs, 0);
}

TEST(CaptureProgressReader, DropsALineThatNeverEnds) {
    CaptureProgressReader reader;
    reader.feed(QByteArray(100000, 'x'));
    EXPECT_TRUE(reader.feed("\nframe=3\nprogress=continue\n"));
    EXPECT_EQ(reader.statistics().framesCaptured, 3);
}

} // namespace
} // namespace vidora
