#pragma once

#include <QHash>
#include <QTreeWidget>

namespace vidora {

class OptionSheet;
class OptionItem;

// The option sheet `PS1` on screen: a two-column tree (caption, value) of the sheet's
// categories and items. It shows what the OptionSheet holds and hands the user's edits back
// to it; it keeps no value of its own. List items are edited by picking one of their choices,
// display-only items cannot be edited.
class PropertySheet : public QTreeWidget {
    Q_OBJECT
public:
    explicit PropertySheet(OptionSheet& sheet, QWidget* parent = nullptr);

    OptionSheet& sheet() const { return m_sheet; }
    // The row that shows an item, for tests and keyboard navigation.
    QTreeWidgetItem* rowOf(const OptionItem* item) const { return m_rows.value(item); }
    const OptionItem* itemOf(const QTreeWidgetItem* row) const;

    // The three display properties switched on once the start-up profile is applied:
    // category rows drawn as shaded headers, a grid between the cells, and a tooltip on
    // every value that lists the item's choices.
    void setShadedCategories(bool on);
    void setGridLines(bool on);
    void setChoiceToolTips(bool on);
    bool shadedCategories() const { return m_shadedCategories; }
    bool gridLines() const { return m_gridLines; }
    bool choiceToolTips() const { return m_choiceToolTips; }

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    void rebuild();
    void showValue(const OptionItem* item);
    void commitEdit(QTreeWidgetItem* row, int column);

    OptionSheet& m_sheet;
    QHash<const OptionItem*, QTreeWidgetItem*> m_rows;
    bool m_rebuilding = false;
    bool m_shadedCategories = false;
    bool m_gridLines = false;
    bool m_choiceToolTips = false;
};

} // namespace vidora
