#include "capture/CaptureCommandLine.h"
#include "capture/CaptureFile.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vidora {
namespace {

const QStringList kHead = {"-hide_banner", "-nostats", "-loglevel", "error", "-progress", "pipe:1"};

TEST(CaptureCommandLine, RecordsTheTestPatternAsMjpegBesideTheLivePicture) {
    CaptureOutputs outputs;
    outputs.recordingFile = QStringLiteral("/videos/a b.avi");
    outputs.livePictureDescriptor = 7;
    const QStringList arguments =
        BuildCaptureArguments({CaptureSourceKind::TestPattern, "Test pattern", {}}, outputs);
    EXPECT_EQ(arguments,
              (kHead + QStringList{"-re",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "testsrc=size=640x480:rate=25",
                                   "-filter_complex",
                                   "[0:v]split=2[live][record];[live]scale=320:-2,format=yuv420p"
                                   "[livesmall]",
                                   "-map",
                                   "[livesmall]",
                                   "-c:v:0",
                                   "rawvideo",
                                   "-map",
                                   "[record]",
                                   "-c:v:1",
                                   "mjpeg",
                                   "-q:v:1",
                                   "3",
                                   "-f",
                                   "tee",
                                   "[f=avi:select=1]\\/videos\\/a\\ b\\.avi|"
                                   "[f=nut:select=0:onfail=ignore]pipe:7"}));
}

TEST(CaptureCommandLine, ShowsAV4l2DeviceWithoutRecording) {
    CaptureOutputs outputs;
    outputs.livePictureDescriptor = 5;
    outputs.mirrorLivePicture = true;
    EXPECT_EQ(BuildCaptureArguments({CaptureSourceKind::V4l2, "Cam", "/dev/video0"}, outputs),
              (kHead + QStringList{"-f", "v4l2", "-i", "/dev/video0", "-filter_complex",
                                   "[0:v]scale=320:-2,format=yuv420p,hflip[livesmall]", "-map",
                                   "[livesmall]", "-c:v:0", "rawvideo", "-f", "nut", "pipe:5"}));
}

TEST(CaptureCommandLine, RecordsWithoutALivePictureStraightIntoTheAvi) {
    CaptureOutputs outputs;
    outputs.recordingFile = QStringLiteral("/videos/-x.avi");
    EXPECT_EQ(BuildCaptureArguments({CaptureSourceKind::V4l2, "Cam", "/dev/video1"}, outputs),
              (kHead + QStringList{"-f", "v4l2", "-i", "/dev/video1", "-map", "0:v", "-c:v:0",
                                   "mjpeg", "-q:v:0", "3", "-f", "avi", "/videos/-x.avi"}));
}

TEST(CaptureCommandLine, CopiesDvFromFireWireWithItsSound) {
    CaptureOutputs outputs;
    outputs.recordingFile = QStringLiteral("/v/dv.avi");
    outputs.livePictureDescriptor = 9;
    EXPECT_EQ(BuildCaptureArguments({CaptureSourceKind::FireWireDv, "DV", "auto"}, outputs),
              (kHead + QStringList{"-f",
                                   "iec61883",
                                   "-i",
                                   "auto",
                                   "-filter_complex",
                                   "[0:v]scale=320:-2,format=yuv420p[livesmall]",
                                   "-map",
                                   "[livesmall]",
                                   "-c:v:0",
                                   "rawvideo",
                                   "-map",
                                   "0:v",
                                   "-map",
                                   "0:a?",
                                   "-c:v:1",
                                   "copy",
                                   "-c:a",
                                   "copy",
                                   "-f",
                                   "tee",
                                   "[f=avi:select=1,2]\\/v\\/dv\\.avi|"
                                   "[f=nut:select=0:onfail=ignore]pipe:9"}));
}

TEST(CaptureCommandLine, EscapesEveryAsciiSignOfATeeItemAndKeepsOtherLetters) {
    EXPECT_EQ(EscapeTeeItem(QStringLiteral("/a|b'c\\d[e]:f g")),
              QStringLiteral("\\/a\\|b\\'c\\\\d\\[e\\]\\:f\\ g"));
    EXPECT_EQ(EscapeTeeItem(QStringLiteral("Überspielung 📼")), QStringLiteral("Überspielung\\ 📼"));
}

class CaptureFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_program = m_folder.filePath(QStringLiteral("program"));
        ASSERT_TRUE(QDir().mkpath(m_program));
    }
    QString file(const char* name) const { return m_folder.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_folder;
    QString m_program;
};

TEST_F(CaptureFileTest, AcceptsANewFileInAWritableFolderWhateverItsName) {
    for (const char* name :
         {"dvcapture.avi", "it's a \"take\" | [1].avi", "-dash.avi", "Aufnahme größer.avi"})
        EXPECT_EQ(CheckCaptureFile(file(name), m_program, false), QString()) << name;
}

TEST_F(CaptureFileTest, RefusesWhatCannotOrMustNotBeWritten) {
    QFile existing(file("old.avi"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    EXPECT_NE(CheckCaptureFile(file("old.avi"), m_program, false), QString());
    EXPECT_EQ(CheckCaptureFile(file("old.avi"), m_program, true), QString());

    EXPECT_NE(CheckCaptureFile(QString(), m_program, true), QString());
    EXPECT_NE(CheckCaptureFile(QStringLiteral("relative.avi"), m_program, true), QString());
    EXPECT_NE(CheckCaptureFile(m_folder.path(), m_program, true), QString());
    EXPECT_NE(CheckCaptureFile(file("missing/x.avi"), m_program, true), QString());
    EXPECT_NE(CheckCaptureFile(m_program + QStringLiteral("/settings.dat"), m_program, true),
              QString());
    // The program folder reached through a link is the program folder still.
    ASSERT_TRUE(QFile::link(m_program, file("link")));
    EXPECT_NE(CheckCaptureFile(file("link/fp.dll"), m_program, true), QString());
}

TEST_F(CaptureFileTest, RefusesAFolderThatCannotBeWritten) {

    const QString locked = file("locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(locked).isWritable())
        GTEST_SKIP() << "running with rights that write anywhere";
    EXPECT_NE(CheckCaptureFile(locked + QStringLiteral("/x.avi"), m_program, true), QString());
}

TEST_F(CaptureFileTest, ARecordingIsWrittenUnderATemporaryName) {
    EXPECT_EQ(RecordingPartFile(QStringLiteral("/v/a.avi")), QStringLiteral("/v/a.avi.part"));
    EXPECT_EQ(QFileInfo(DefaultCaptureFile()).fileName(), QStringLiteral("dvcapture.avi"));
    EXPECT_EQ(QFileInfo(DefaultCaptureFile()).absolutePath(),
              QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
}

} // namespace
} // namespace vidora
