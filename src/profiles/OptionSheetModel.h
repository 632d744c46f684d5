#pragma once

#include <QAbstractItemModel>
#include <QList>
#include <QPointer>

namespace vidora {

class OptionSheet;
class OptionItem;

// Shows an OptionSheet to a tree view: its categories at the top level, each category's items
// under it, in two columns (caption, value). The value of an item that is not display-only is
// editable; an edit goes to the sheet, the only store of the values, and comes back from it
// as dataChanged. Every change of the sheet reaches the views through the sheet's signals.
class OptionSheetModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int kCaptionColumn = 0;
    static constexpr int kValueColumn = 1;
    static constexpr int kColumnCount = 2;

    explicit OptionSheetModel(OptionSheet* sheet, QObject* parent = nullptr);

    // The index of the row that shows an item, in a column; invalid for an item not shown.
    QModelIndex indexOf(const OptionItem* item, int column = kValueColumn) const;
    // The item a row shows; nullptr for a category row.
    OptionItem* itemAt(const QModelIndex& index) const;

    // A value's tooltip lists the item's choices while this is on.
    void setChoiceToolTips(bool on);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void onCategoryAdded();
    void onItemAdded(const OptionItem* item);
    void onItemChanged(const OptionItem* item);
    void onAboutToClear();
    void onCleared();
    bool isCategoryRow(const QModelIndex& index) const;

    QPointer<OptionSheet> m_sheet;
    // The items the views have been told of, per category row: the sheet announces an
    // addition after making it, so the counts the views know are kept here until then.
    QList<int> m_itemCounts;
    bool m_resetting = false;
    bool m_choiceToolTips = false;
};

} // namespace vidora
