#pragma once

#include <QTreeView>

namespace vidora {

class OptionSheet;
class OptionSheetModel;

// The option sheet `PS1` on screen: a two-column tree (caption, value) over an
// OptionSheetModel. It shows what the OptionSheet holds and hands the user's edits back to
// it; it keeps no value of its own. List items are edited by picking one of their choices,
// display-only items cannot be edited.
class PropertySheet : public QTreeView {
    Q_OBJECT
public:
    explicit PropertySheet(OptionSheet& sheet, QWidget* parent = nullptr);

    // The three display properties switched on once the start-up profile is applied:
    // category rows drawn as shaded headers, a grid between the cells, and a tooltip on
    // every value that lists the item's choices.
    void setShadedCategories(bool on);
    void setGridLines(bool on);
    void setChoiceToolTips(bool on);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    void showRows(const QModelIndex& parent, int first, int last);
    void showAllRows();

    OptionSheet& m_sheet;
    OptionSheetModel* m_model;
    bool m_shadedCategories = false;
    bool m_gridLines = false;
};

} // namespace vidora
