#pragma once

#include <QString>
#include <QStringView>
#include <span>

namespace vidora {

enum class RowKind { Header, Profile };

// One row of the profile chooser. Header rows name a device family or a family of common
// formats and carry a picture; profile rows carry none.
struct CatalogueRow {
    RowKind kind;
    const char* caption; // ASCII, letter for letter as the chooser shows it
    int picture;         // 1-based position in the picture list, 0 for none
};

// The fixed, ordered list of output profiles. The profile index (0-based position, headers
// included) names a row everywhere in the program; the chooser's item number is the profile
// index + 1 and is what the settings file stores. Rows never move, so both stay fixed across
// runs.
class Catalogue {
public:
    static constexpr int RowCount = 101;
    // How many pictures the picture list holds; a header row's picture is one of them.
    static constexpr int kPictureCount = 44;
    // The row chosen when no profile was ever stored: "Customized MP4 Movie(*.mp4)", a file
    // nearly every player and device plays.
    static constexpr int kFirstStartProfileIndex = 93;

    static std::span<const CatalogueRow> rows();
    // The row at a profile index, or nullptr outside 0..100.
    static const CatalogueRow* row(int profileIndex);
    static int itemNumber(int profileIndex);
    static int profileIndex(int itemNumber);

    // The four characters of a caption from its first "." (".mp4" for "Apple iPad MPEG-4
    // Movie(*.mp4)"); empty for a caption without "." (a header row).
    static QString outputExtension(QStringView caption);

    // The file of a picture of the list in the program folder's "pictures" folder: "01.png"
    // for the first.
    static QString pictureFileName(int number);
};

} // namespace vidora
