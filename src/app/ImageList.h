#pragma once

#include <QIcon>
#include <QList>

namespace vidora {

// The main window's picture list `ImageList1`: the chooser's family pictures, loaded from the
// program folder's "pictures" folder ("01.png", "02.png", ...). A missing picture is an empty
// icon, never an error.
class ImageList {
public:
    static ImageList load(const QString& programFolder);

    // The picture at a 1-based position; an empty icon for 0 or an unknown position.
    QIcon icon(int position) const;

private:
    QList<QIcon> m_icons;
};

} // namespace vidora
