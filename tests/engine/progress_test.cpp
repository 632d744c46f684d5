#include "engine/ConversionProgress.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

const char kStatsLine[] = "frame=  250 q= 2.0 f_size=  1234 s_size=   456kB time= 10.000 "
                          "br=  987.6kbits/s avg_br=  365.0kbits/s type= P";

class LastLine : public ::testing::Test {
protected:
    QString write(const QByteArray& content) {
        const QString path = m_dir.filePath(QStringLiteral("curconvert.log"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(LastLine, TakesTheLastCompleteLine) {
    EXPECT_EQ(ReadLastLineOfFile(write("one\ntwo\n")), QStringLiteral("two"));
    EXPECT_EQ(ReadLastLineOfFile(write("one\r\ntwo\r\n")), QStringLiteral("two"));
    // A line still being written is not used: the one before it is.
    EXPECT_EQ(ReadLastLineOfFile(write("one\ntwo\nthr")), QStringLiteral("two"));
    EXPECT_EQ(ReadLastLineOfFile(write("only\n")), QStringLiteral("only"));
    EXPECT_EQ(ReadLastLineOfFile(write("no line end")), QString());
    EXPECT_EQ(ReadLastLineOfFile(write("")), QString());
    EXPECT_EQ(ReadLastLineOfFile(m_dir.filePath(QStringLiteral("missing.log"))), QString());
}

TEST_F(LastLine, ReadsOnlyTheTailButStaysRightForLongLines) {
    QByteArray big;
    for (int i = 0; i < 20000; ++i)
        big += "frame=" + QByteArray::number(i) +
               " q= 2.0 f_size= 1 s_size= 1kB time= " + QByteArray::number(i) +
               ".000 br= 1kbits/s\n";
    EXPECT_EQ(encodedSecondsOfStatsLine(ReadLastLineOfFile(write(big))), 19999.0);
    // The last line longer than the tail that is read first.
    const QByteArray longLine(10000, 'x');
    EXPECT_EQ(ReadLastLineOfFile(write(big + longLine + "\n")), QString::fromLatin1(longLine));
    EXPECT_EQ(ReadLastLineOfFile(write("first\n" + longLine)), QStringLiteral("first"));
    EXPECT_EQ(ReadLastLineOfFile(write(longLine)), QString());
}

TEST(StatsLine, GivesTheEncodedTime) {
    EXPECT_EQ(encodedSecondsOfStatsLine(QString::fromLatin1(kStatsLine)), 10.0);
    EXPECT_EQ(encodedSecondsOfStatsLine(QStringLiteral("a=1 b=2 c=3 d=4 time= 47.5 br=x")), 47.5);
    EXPECT_EQ(encodedSecondsOfStatsLine(QStringLiteral("frame= 1 q= 2")), 0.0);
    EXPECT_EQ(encodedSecondsOfStatsLine(QString()), 0.0);
    EXPECT_EQ(encodedSecondsOfStatsLine(QStringLiteral("a=1 b=2 c=3 d=4 time=N/A br=x")), 0.0);
}

TEST(TrackPercent, RoundsHalvesToEvenAndKeepsValuesAboveAHundred) {
    EXPECT_EQ(trackPercent(10.0, 95), 11);
    EXPECT_EQ(trackPercent(47.5, 95), 50);
    EXPECT_EQ(trackPercent(1.0, 8), 12);
    EXPECT_EQ(trackPercent(0.5, 200), 0);
    EXPECT_EQ(trackPercent(120.0, 100), 120);
    EXPECT_FALSE(trackPercent(10.0, 0));
}
