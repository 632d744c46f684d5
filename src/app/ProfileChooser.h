#pragma once

#include <QComboBox>

namespace vidora {

class ImageList;

// The profile chooser `ImageCombo1`: the catalogue's rows in order, header rows with their
// family picture (in the list and in the box while selected) and in bold. Item numbers are
// 1-based like the settings file's "profile"; 0 means no selection.
class ProfileChooser : public QComboBox {
    Q_OBJECT
public:
    explicit ProfileChooser(QWidget* parent = nullptr);

    // Fills the chooser from the catalogue; it is empty before and never changes after.
    void buildCatalogue(const ImageList& pictures);

    int selectedItemNumber() const;
    // Selects the row with that item number; a number that names no row selects nothing.
    void selectItemNumber(int itemNumber);
    // The selected row's caption, empty with no selection.
    QString selectedCaption() const;

signals:
    // The user picked a row (header rows included): `ImageCombo1_Click`.
    void rowChosen(int profileIndex);
};

} // namespace vidora
