#include "base/TextValues.h"

#include <gtest/gtest.h>

using namespace vidora;

TEST(TimeText, WritesHoursWithoutLeadingZeroAndNeverWraps) {
    EXPECT_EQ(secondsToTimeText(0), QStringLiteral("0:00:00"));
    EXPECT_EQ(secondsToTimeText(4329), QStringLiteral("1:12:09"));
    EXPECT_EQ(secondsToTimeText(310), QStringLiteral("0:05:10"));
    EXPECT_EQ(secondsToTimeText(86399), QStringLiteral("23:59:59"));
    // A long file must not convert only its first hour after midnight.
    EXPECT_EQ(secondsToTimeText(90000), QStringLiteral("25:00:00"));
    EXPECT_EQ(secondsToTimeText(360000), QStringLiteral("100:00:00"));
    EXPECT_EQ(secondsToTimeText(-5), QStringLiteral("0:00:00"));
}

TEST(TimeText, ReadsBackWhatItWrites) {
    for (qint64 seconds : {0, 59, 60, 90, 3599, 3600, 4329, 86399, 86400, 90000, 359999})
        EXPECT_EQ(timeTextToSeconds(secondsToTimeText(seconds)), seconds);
    EXPECT_EQ(timeTextToSeconds(u"00:00:00"), 0);
    EXPECT_EQ(timeTextToSeconds(u"0:01:30"), 90);
    EXPECT_EQ(timeTextToSeconds(u"25:00:00"), 90000);
}

TEST(TimeText, RefusesWhatIsNotATime) {
    for (const char* bad : {"", "abc", "1:2", "1:60:00", "1:00:60", "1:-1:00", "1:0a:00", "1::00",
                            ":00:00", "1:000:00", "1:00:00:00", "1.5:00:00"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(timeTextToSeconds(QString::fromLatin1(bad)));
    }
}

TEST(LeadingNumber, TakesTheNumberAtTheStartOfTheText) {
    EXPECT_EQ(leadingNumber(u"128"), 128.0);
    EXPECT_EQ(leadingNumber(u"  3abc"), 3.0);
    EXPECT_EQ(leadingNumber(u"-2.5 kbit"), -2.5);
    EXPECT_EQ(leadingNumber(u"+7"), 7.0);
    EXPECT_EQ(leadingNumber(u".5"), 0.5);
    EXPECT_EQ(leadingNumber(u"29.97"), 29.97);
    EXPECT_EQ(leadingNumber(u"12,5"), 12.0); // "." is the only decimal point
    EXPECT_FALSE(leadingNumber(u""));
    EXPECT_FALSE(leadingNumber(u"true"));
    EXPECT_FALSE(leadingNumber(u"-"));
    EXPECT_FALSE(leadingNumber(u"."));
    EXPECT_EQ(leadingNumberOrZero(u"yes"), 0.0);
    EXPECT_EQ(leadingNumberOrZero(u"2"), 2.0);
}

TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(12.5), 12.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(33.333), 33.0);
    EXPECT_EQ(roundHalfEven(16.7), 17.0);
}

TEST(ToInt16, AcceptsOnlyWholeNumbersInRange) {
    EXPECT_EQ(toInt16(u"128"), 128);
    EXPECT_EQ(toInt16(u" 2 "), 2);
    EXPECT_EQ(toInt16(u"12.2"), 12);
    EXPECT_EQ(toInt16(u"2.5"), 2);
    EXPECT_EQ(toInt16(u"3.5"), 4);
    EXPECT_EQ(toInt16(u"32767"), 32767);
    EXPECT_EQ(toInt16(u"-32768"), -32768);
    EXPECT_EQ(toInt16(u"32767.4"), 32767);
    EXPECT_FALSE(toInt16(u"32767.5")); // rounds to 32768
    EXPECT_FALSE(toInt16(u"32768"));
    EXPECT_FALSE(toInt16(u"-32769"));
    EXPECT_FALSE(toInt16(u""));
    EXPECT_FALSE(toInt16(u"128k"));
    EXPECT_FALSE(toInt16(u"two"));
    EXPECT_FALSE(toInt16(u"1 2"));
}

TEST(ToInt32, HasTheSameRulesInThirtyTwoBits) {
    EXPECT_EQ(toInt32(u" 640 "), 640);
    EXPECT_EQ(toInt32(u"2147483647"), 2147483647);
    EXPECT_EQ(toInt32(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(toInt32(u"5."), 5);
    EXPECT_FALSE(toInt32(u"2147483648"));
    EXPECT_FALSE(toInt32(u"+"));
    EXPECT_FALSE(toInt32(u"640x480"));
}
