#include "app/ImageList.h"

#include "platform/Paths.h"
#include "profiles/Catalogue.h"

#include <QFileInfo>

namespace vidora {

ImageList ImageList::load(const QString& programFolder) {
    ImageList list;
    const QString folder = joinPath(programFolder, QStringLiteral("pictures"));
    for (int position = 1; position <= Catalogue::kPictureCount; ++position) {
        const QString file = joinPath(folder, Catalogue::pictureFileName(position));
        list.m_icons << (QFileInfo::exists(file) ? QIcon(file) : QIcon());
    }
    return list;
}

QIcon ImageList::icon(int position) const {
    if (position < 1 || position > m_icons.size())
        return {};
    return m_icons[position - 1];
}

} // namespace vidora
