#include "download/WatchPages.h"

namespace vidora::test {

QString watchPage(const WatchPageFields& f) {
    return QStringLiteral("<!DOCTYPE html><html><head><title>Video</title>\n") + f.filler +
           QStringLiteral("<script>\nvar swfConfig = {\"url\": \"player.swf\", \"args\": {") +
           QStringLiteral("\"rv.2.thumbnailUrl\": \"") + f.thumbnailUrl +
           QStringLiteral("\", \"length_seconds\": \"") + f.lengthSeconds +
           QStringLiteral("\", \"fmt_url_map\": \"") + f.formatMap +
           QStringLiteral("\", \"vq\": null}};\n") +
           QStringLiteral("yt.setConfig({\n'VIDEO_ID': '") + f.videoId +
           QStringLiteral("',\n'VIDEO_TITLE': '") + f.title +
           QStringLiteral("',\n'SWF_ARGS': null});\n</script></head><body>\n") +
           QStringLiteral("<a class=\"author\" data-discoverbox-username=\"") + f.author +
           QStringLiteral("\" >") + f.author + QStringLiteral("</a>\n") +
           QStringLiteral("<span class=\"watch-video-added post-date\">") + f.published +
           QStringLiteral("</span>\n<a href=\"/videos?c=10\" "
                          "onclick=\"_hbLink('VideoCategoryLink');\">") +
           f.category + QStringLiteral("</a>\n") +
           QStringLiteral("<div class=\"watch-video-desc description\">") + f.descriptionBlock +
           QStringLiteral("</span></div>\n<div class=\"master-sprite ratingL ratingL-") + f.rating +
           QStringLiteral("\" title=\"rating\"></div>\n</body></html>\n");
}

QString pageWithMap(const QString& formatMap) {
    return QStringLiteral("<script>var a = {\"fmt_url_map\": \"") + formatMap +
           QStringLiteral("\", \"b\": 1};</script>");
}

} // namespace vidora::test
