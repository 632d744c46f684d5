#include "profiles/Catalogue.h"

#include <array>

namespace vidora {

namespace {

// The catalogue in chooser order; the position in this table is the profile index.
// Picture numbers are 1-based positions in the picture list; 0 means no picture.
constexpr std::array<CatalogueRow, Catalogue::RowCount> kRows{{
    {RowKind::Header, "Apple iPad", 44},                                      // 0
    {RowKind::Profile, "Apple iPad MPEG-4 Movie(*.mp4)", 0},                  // 1
    {RowKind::Profile, "Apple iPod Movie for 480p TV Out(*.mp4)", 0},         // 2
    {RowKind::Profile, "Apple iPod Movie for 576p TV Out(*.mp4)", 0},         // 3
    {RowKind::Profile, "Apple iPod Movie for 720p TV Out(*.mp4)", 0},         // 4
    {RowKind::Header, "Apple iPod", 1},                                       // 5
    {RowKind::Profile, "Apple iPod Video MPEG-4 Movie(*.mp4)", 0},            // 6
    {RowKind::Profile, "Apple iPod Nano/Classic MPEG-4 Movie(*.mp4)", 0},     // 7
    {RowKind::Profile, "Apple iPod Movie for 480p TV Out(*.mp4)", 0},         // 8
    {RowKind::Profile, "Apple iPod Movie for 576p TV Out(*.mp4)", 0},         // 9
    {RowKind::Profile, "Apple iPod Touch MPEG-4 Movie(*.mp4)", 0},            // 10
    {RowKind::Header, "Apple iPhone", 10},                                    // 11
    {RowKind::Profile, "Apple iPhone MPEG-4 Movie(*.mp4)", 0},                // 12
    {RowKind::Profile, "Apple iPhone Movie for 480p TV Out(*.mp4)", 0},       // 13
    {RowKind::Profile, "Apple iPhone Movie for 576p TV Out(*.mp4)", 0},       // 14
    {RowKind::Header, "Apple TV", 2},                                         // 15
    {RowKind::Profile, "Apple TV MPEG-4 Movie(*.mp4)", 0},                    // 16
    {RowKind::Profile, "Apple TV MPEG-4 AVC Movie(*.mp4)", 0},                // 17
    {RowKind::Header, "Google Android", 9},                                   // 18
    {RowKind::Profile, "Google Android MPEG-4 Movie(*.mp4)", 0},              // 19
    {RowKind::Profile, "Google Nexus One MPEG-4 Movie(*.mp4)", 0},            // 20
    {RowKind::Profile, "Sony Ericsson Xperia MPEG-4 Movie(*.mp4)", 0},        // 21
    {RowKind::Profile, "HTC Desire MPEG-4 Movie(*.mp4)", 0},                  // 22
    {RowKind::Profile, "IS01 MPEG-4 Movie(*.mp4)", 0},                        // 23
    {RowKind::Header, "Sony PSP", 15},                                        // 24
    {RowKind::Profile, "Sony PSP MPEG-4 Movie(*.mp4)", 0},                    // 25
    {RowKind::Profile, "Sony PSP MPEG-4 AVC Movie(*.mp4)", 0},                // 26
    {RowKind::Header, "Sony PS3", 38},                                        // 27
    {RowKind::Profile, "Sony PS3 MPEG-4 AVC Movie(480p)(*.mp4)", 0},          // 28
    {RowKind::Profile, "Sony PS3 MPEG-4 AVC Movie(720p)(*.mp4)", 0},          // 29
    {RowKind::Profile, "Sony PS3 MPEG-4 AVC Movie(1080p)(*.mp4)", 0},         // 30
    {RowKind::Header, "Sony Walkman", 17},                                    // 31
    {RowKind::Profile, "Sony Walkman MPEG-4 Movie(*.mp4)", 0},                // 32
    {RowKind::Profile, "Sony Walkman MPEG-4 AVC Movie(*.mp4)", 0},            // 33
    {RowKind::Profile, "Sony Walkman WMV9 Movie(*.wmv)", 0},                  // 34
    {RowKind::Header, "Microsoft Zune", 22},                                  // 35
    {RowKind::Profile, "Microsoft Zune WMV Movie(*.wmv)", 0},                 // 36
    {RowKind::Profile, "Microsoft Zune MPEG-4 Movie(*.mp4)", 0},              // 37
    {RowKind::Profile, "Microsoft Zune HD WMV Movie(*.wmv)", 0},              // 38
    {RowKind::Profile, "Microsoft Zune HD MPEG-4 Movie(*.mp4)", 0},           // 39
    {RowKind::Header, "Archos", 3},                                           // 40
    {RowKind::Profile, "Archos 105 Movie(*.wmv)", 0},                         // 41
    {RowKind::Profile, "Archos 404/405 Movie(*.wmv)", 0},                     // 42
    {RowKind::Profile, "Archos 504/604 Movie(*.wmv)", 0},                     // 43
    {RowKind::Profile, "Archos 605/705/TV+ Movie(*.wmv)", 0},                 // 44
    {RowKind::Profile, "Archos AV500 Movie(*.wmv)", 0},                       // 45
    {RowKind::Profile, "Archos AV700 Movie(*.wmv)", 0},                       // 46
    {RowKind::Header, "Creative Zen", 21},                                    // 47
    {RowKind::Profile, "Creative Zen X-Fi Movie(*.avi)", 0},                  // 48
    {RowKind::Profile, "Creative Zen Vison Movie(*.avi)", 0},                 // 49
    {RowKind::Profile, "Creative Zen Vison M Movie(*.avi)", 0},               // 50
    {RowKind::Profile, "Creative Zen Vison W Movie(*.avi)", 0},               // 51
    {RowKind::Header, "iRiver", 31},                                          // 52
    {RowKind::Profile, "iRiver E10 Movie(*.avi)", 0},                         // 53
    {RowKind::Profile, "iRiver U10/Clix Movie(*.avi)", 0},                    // 54
    {RowKind::Profile, "iRiver B20/X20/Clix 2/E100/Lplayer Movie(*.avi)", 0}, // 55
    {RowKind::Profile, "iRiver Spinn/D28/DICPLE D30 Movie(*.avi)", 0},        // 56
    {RowKind::Profile, "iRiver P10/P20 Movie(*.avi)", 0},                     // 57
    {RowKind::Profile, "iRiver PMP-120/140/IMP-1000/1100 Movie(*.avi)", 0},   // 58
    {RowKind::Header, "Sandisk Sansa", 16},                                   // 59
    {RowKind::Profile, "Sandisk Sansa AVI Movie(*.avi)", 0},                  // 60
    {RowKind::Profile, "Sandisk Sansa WMV Movie(*.wmv)", 0},                  // 61
    {RowKind::Profile, "Sandisk Sansa MPEG-4 Movie(*.mp4)", 0},               // 62
    {RowKind::Header, "Microsoft Xbox 360", 20},                              // 63
    {RowKind::Profile, "Xbox WMV Movie(*.wmv)", 0},                           // 64
    {RowKind::Profile, "Xbox AVI Movie(*.avi)", 0},                           // 65
    {RowKind::Profile, "Xbox MPEG-4 Movie(*.mp4)", 0},                        // 66
    {RowKind::Header, "Nintendo Wii", 18},                                    // 67
    {RowKind::Profile, "Nintendo Wii AVI Movie(*.avi)", 0},                   // 68
    {RowKind::Header, "Mobile Phone", 12},                                    // 69
    {RowKind::Profile, "Mobile Phone 3GP Movie(*.3gp)", 0},                   // 70
    {RowKind::Profile, "Mobile Phone 3GP2 Movie(*.3g2)", 0},                  // 71
    {RowKind::Profile, "Mobile Phone MPEG-4 Movie(*.mp4)", 0},                // 72
    {RowKind::Profile, "Nokia N-series MPEG-4 Movie(*.mp4)", 0},              // 73
    {RowKind::Header, "BlackBerry", 11},                                      // 74
    {RowKind::Profile, "BlackBerry MPEG-4 Movie(*.mp4)", 0},                  // 75
    {RowKind::Header, "Nokia", 30},                                           // 76
    {RowKind::Profile, "Nokia N-Series MPEG-4 Movie(*.mp4)", 0},              // 77
    {RowKind::Header, "Windows Mobile", 31},                                  // 78
    {RowKind::Profile, "Palm Treo Series Movie(*.wmv)", 0},                   // 79
    {RowKind::Profile, "General Pocket PC Movie(*.wmv)", 0},                  // 80
    {RowKind::Header, "Flash Video", 5},                                      // 81
    {RowKind::Profile, "Flash Video Movie(*.flv)", 0},                        // 82
    {RowKind::Profile, "Flash SWF(*.swf)", 0},                                // 83
    {RowKind::Header, "Toshiba Gigabeat", 8},                                 // 84
    {RowKind::Profile, "Toshiba Gigabeat WMV Movie(*.wmv)", 0},               // 85
    {RowKind::Header, "Common Used Video Formats", 41},                       // 86
    {RowKind::Profile, "DVD Video NTSC Movie(*.mpg)", 0},                     // 87
    {RowKind::Profile, "DVD Video PAL Movie(*.mpg)", 0},                      // 88
    {RowKind::Profile, "MPEG-I Movie(*.mpg)", 0},                             // 89
    {RowKind::Profile, "MPEG-II Movie(*.mpg)", 0},                            // 90
    {RowKind::Profile, "Customized AVI Movie(*.avi)", 0},                     // 91
    {RowKind::Profile, "Customized WMV Movie(*.wmv)", 0},                     // 92
    {RowKind::Profile, "Customized MP4 Movie(*.mp4)", 0},                     // 93
    {RowKind::Header, "Common Used Audio Formats", 6},                        // 94
    {RowKind::Profile, "MP3 Audio(*.mp3)", 0},                                // 95
    {RowKind::Profile, "OGG Vorbis Audio(*.ogg)", 0},                         // 96
    {RowKind::Profile, "WAVE Audio(*.wav)", 0},                               // 97
    {RowKind::Profile, "AAC Audio(*.aac)", 0},                                // 98
    {RowKind::Profile, "WMA Audio(*.wma)", 0},                                // 99
    {RowKind::Profile, "M4A Audio(*.m4a)", 0},                                // 100
}};

// Header rows name a picture of the list, profile rows none.
constexpr bool picturesAreInTheList() {
    for (const CatalogueRow& row : kRows) {
        const bool named = row.picture >= 1 && row.picture <= Catalogue::kPictureCount;
        if (named != (row.kind == RowKind::Header) || row.picture < 0)
            return false;
    }
    return true;
}
static_assert(picturesAreInTheList());

} // namespace

std::span<const CatalogueRow> Catalogue::rows() {
    return kRows;
}

const CatalogueRow* Catalogue::row(int profileIndex) {
    if (profileIndex < 0 || profileIndex >= RowCount)
        return nullptr;
    return &kRows[static_cast<std::size_t>(profileIndex)];
}

int Catalogue::itemNumber(int profileIndex) {
    return profileIndex + 1;
}

int Catalogue::profileIndex(int itemNumber) {
    return itemNumber - 1;
}

QString Catalogue::outputExtension(QStringView caption) {
    const qsizetype dot = caption.indexOf(u'.');
    if (dot < 0)
        return {};
    return caption.mid(dot, 4).toString();
}

QString Catalogue::pictureFileName(int number) {
    return QStringLiteral("%1.png").arg(number, 2, 10, QLatin1Char('0'));
}

} // namespace vidora
