#include "app/ProfileChooser.h"

#include "app/ImageList.h"
#include "profiles/Catalogue.h"

#include <QStandardItemModel>

namespace vidora {

ProfileChooser::ProfileChooser(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ImageCombo1"));
    setIconSize(QSize(24, 24));
    setMaxVisibleItems(24);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(30);
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit rowChosen(Catalogue::profileIndex(index + 1)); });
}

void ProfileChooser::buildCatalogue(const ImageList& pictures) {
    clear();
    auto* items = qobject_cast<QStandardItemModel*>(model());
    for (const CatalogueRow& row : Catalogue::rows()) {
        const QString caption = QString::fromLatin1(row.caption);
        if (row.kind == RowKind::Header) {
            addItem(pictures.icon(row.picture), caption);
            if (items) {
                QFont bold = font();
                bold.setBold(true);
                items->item(count() - 1)->setFont(bold);
            }
        } else {
            addItem(caption);
        }
    }
    setCurrentIndex(-1);
}

int ProfileChooser::selectedItemNumber() const {
    return currentIndex() + 1;
}

void ProfileChooser::selectItemNumber(int itemNumber) {
    setCurrentIndex(itemNumber >= 1 && itemNumber <= count() ? itemNumber - 1 : -1);
}

QString ProfileChooser::selectedCaption() const {
    return currentIndex() < 0 ? QString() : currentText();
}

} // namespace vidora
