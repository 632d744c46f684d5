#include "engine/ConversionProgress.h"
#include "engine/RunReport.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace vidora;

namespace {

// What FFmpeg 5.1 writes for a file that holds no media, cut to its kinds of lines.
const QByteArray kNotMedia = "ffmpeg version 5.1.4-0+deb12u1 Copyright (c) 2000-2023 the FFmpeg "
                             "developers\n"
                             "  built with gcc 12 (Debian 12.2.0-14)\n"
                             "  configuration: --prefix=/usr --enable-gpl\n"
                             "  libavutil      57. 28.100 / 57. 28.100\n"
                             "  libavcodec     59. 37.100 / 59. 37.100\n"
                             "[avi @ 0x5638da3f8840] Format avi detected only with low score of 1, "
                             "misdetection possible!\n"
                             "nv.avi: Invalid data found when processing input\n";

} // namespace

TEST(FailureText, GivesAReasonAndTheEncodersLastMeaningfulLine) {
    EXPECT_EQ(encoderFailureText(1, false, kNotMedia),
              QStringLiteral("No video or audio found in this file\n"
                             "nv.avi: Invalid data found when processing input"));
    // Killed while encoding: the last lines are progress and stream descriptions.
    const QByteArray killed = "Input #0, avi, from 'a.avi':\n"
                              "  Duration: 00:01:00.00, start: 0.000000, bitrate: 1000 kb/s\n"
                              "  Stream #0:0: Video: mpeg4\n"
                              "Stream mapping:\n"
                              "  Stream #0:0 -> #0:0 (mpeg4 (native) -> h264 (libx264))\n"
                              "Press [q] to stop, [?] for help\n"
                              "frame=   20 fps=0.0 q=0.0 size=       0kB time=00:00:00.00\r"
                              "frame=   40 fps= 39 q=28.0 size=       0kB time=00:00:00.72\r";
    EXPECT_EQ(encoderFailureText(9, true, killed),
              QStringLiteral("The encoder was stopped (signal 9)"));
    // fp.dll ends with 128 + N when FFmpeg was ended by signal N.
    EXPECT_EQ(encoderFailureText(137, false, killed),
              QStringLiteral("The encoder was stopped (signal 9)"));
    EXPECT_EQ(encoderFailureText(255, false, killed + "\nExiting normally, received signal 15.\n"),
              QStringLiteral("The encoder was stopped (signal 15)"));
    EXPECT_EQ(encoderFailureText(1, false, "Output file is empty, nothing was encoded\n"),
              QStringLiteral("Nothing was encoded: the output would be empty\n"
                             "Output file is empty, nothing was encoded"));
    // fp.dll's own line for a run that wrote nothing is read the same way.
    EXPECT_TRUE(encoderFailureText(1, false,
                                   "fp.dll: nothing was encoded (does the start lie beyond the "
                                   "end?); no file was written\n")
                    .startsWith(QStringLiteral("Nothing was encoded: the output would be empty")));
    EXPECT_EQ(encoderFailureText(1, false, "out/a.mp4: Permission denied\n"),
              QStringLiteral("The output folder cannot be written\nout/a.mp4: Permission denied"));
    EXPECT_EQ(
        encoderFailureText(1, false,
                           "av_interleaved_write_frame(): No space left on device\nConversion "
                           "failed!\n"),
        QStringLiteral("No space left on the output disk\n"
                       "av_interleaved_write_frame(): No space left on device"));
    EXPECT_EQ(encoderFailureText(1, false, "Unknown encoder 'libfaac'\n"),
              QStringLiteral("The encoder failed (exit code 1)\nUnknown encoder 'libfaac'"));
    EXPECT_EQ(encoderFailureText(2, false, QByteArray()),
              QStringLiteral("The encoder failed (exit code 2)"));
}

TEST(FailureText, LastMeaningfulLineSkipsBannerStreamsAndProgress) {
    EXPECT_EQ(lastMeaningfulLine(kNotMedia),
              QStringLiteral("nv.avi: Invalid data found when processing input"));
    EXPECT_EQ(
        lastMeaningfulLine("ffmpeg version 5.1\n  libavutil 57. 28.100\nConversion failed!\n"),
        QString());
    EXPECT_EQ(lastMeaningfulLine("Error while opening encoder\r\n\r\n"),
              QStringLiteral("Error while opening encoder"));
}

TEST(TotalPercent, IsTheShareOfJobsDoneRoundedOnce) {
    // Adding a rounded share per job stayed at 0 for 250 jobs and reached 150 for 150.
    EXPECT_EQ(totalPercent(1, 250), 0);
    EXPECT_EQ(totalPercent(2, 250), 1);
    EXPECT_EQ(totalPercent(125, 250), 50);
    EXPECT_EQ(totalPercent(250, 250), 100);
    EXPECT_EQ(totalPercent(150, 150), 100);
    EXPECT_EQ(totalPercent(67, 67), 100);
    EXPECT_EQ(totalPercent(1, 8), 12); // 12.5, halves to even
    EXPECT_EQ(totalPercent(3, 8), 38); // 37.5
    EXPECT_EQ(totalPercent(0, 0), 0);
    for (int jobs = 1; jobs <= 300; ++jobs)
        for (int done = 0; done <= jobs; ++done)
            ASSERT_LE(totalPercent(done, jobs), 100) << done << " of " << jobs;
}

TEST(RunEndText, AddsTheCountsWhenAJobDidNotEndOk) {
    const QString done = QStringLiteral("Conversion completed!");
    EXPECT_EQ(runEndText(done, 3, 0, 0), done);
    EXPECT_EQ(runEndText(done, 1, 1, 0),
              QStringLiteral("Conversion completed!\n1 converted, 1 failed, 0 cancelled. Point "
                             "at a \"Fail\" status to see why."));
    EXPECT_EQ(runEndText(QStringLiteral("Conversion Canceled by the user!"), 2, 0, 1),
              QStringLiteral("Conversion Canceled by the user!\n2 converted, 0 failed, 1 "
                             "cancelled."));
}

TEST(TimeLeft, EstimatesFromThePaceOnceItMeansSomething) {
    // 10 s of a 95 s clip in 5 s: twice real time, 85 s to go take 43 s (42.5 up).
    EXPECT_EQ(secondsLeft(10, 5, 95, 85), 43);
    // The whole run: 85 s of this job and 120 s of later ones.
    EXPECT_EQ(secondsLeft(10, 5, 95, 205), 103);
    // Slower than real time: 2 s in 4 s, 8 s to go.
    EXPECT_EQ(secondsLeft(2, 4, 10, 8), 16);
    EXPECT_FALSE(secondsLeft(10, 2, 95, 85)) << "too early";
    EXPECT_FALSE(secondsLeft(0, 10, 95, 95)) << "nothing encoded yet";
    EXPECT_FALSE(secondsLeft(96, 10, 95, 0)) << "past the clip's length";
    EXPECT_FALSE(secondsLeft(5, 10, 0, 0)) << "no length";
    EXPECT_FALSE(secondsLeft(1e-9, 10, 1e6, 1e6)) << "an estimate of years";

    EXPECT_EQ(timeLeftText(43, 103), QStringLiteral("0:00:43 (all jobs 0:01:43)"));
    EXPECT_EQ(timeLeftText(43, 43), QStringLiteral("0:00:43"));
    EXPECT_EQ(timeLeftText(3725, std::nullopt), QStringLiteral("1:02:05"));
    EXPECT_EQ(timeLeftText(std::nullopt, 100), QString());
}
