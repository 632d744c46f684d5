#pragma once

#include <QString>

namespace vidora::test {

// The values a test puts into a watch page of the site's historical layout.
struct WatchPageFields {
    QString title = QStringLiteral("Clip");
    QString author = QStringLiteral("clipmaker");
    QString videoId = QStringLiteral("Ab3_x-9");
    QString published = QStringLiteral("March 03, 2010");
    QString category = QStringLiteral("Music");
    // What stands between the description's marker and its "</span>".
    QString descriptionBlock = QStringLiteral("\n<span >A clip about clips.\nSecond line");
    QString thumbnailUrl =
        QStringLiteral("http%3A%2F%2Fi.example.com%2Fvi%2FAb3_x-9%2Fdefault.jpg");
    QString lengthSeconds = QStringLiteral("213");
    QString rating = QStringLiteral("4.5");
    // The format map as the page holds it (escaped).
    QString formatMap = QStringLiteral("22%7Chttp%3A%2F%2Fv.example.com%2Fmp4%2C34%7Chttp%3A%2F%2F"
                                       "v.example.com%2Fhdlow%2C35%7Chttp%3A%2F%2Fv.example.com%"
                                       "2Fhdhigh%2C5%7Chttp%3A%2F%2Fv.example.com%2Fflv");
    // Text put in front of everything (long pages).
    QString filler;
};

// A whole watch page with those values.
QString watchPage(const WatchPageFields& fields);
// A page whose only content of interest is the format map.
QString pageWithMap(const QString& formatMap);

} // namespace vidora::test
