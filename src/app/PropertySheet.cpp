#include "app/PropertySheet.h"

#include "profiles/OptionSheet.h"
#include "profiles/OptionSheetModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vidora {

namespace {

constexpr int kValueColumn = OptionSheetModel::kValueColumn;

const OptionItem* optionItemAt(const QModelIndex& index) {
    const auto* model = qobject_cast<const OptionSheetModel*>(index.model());
    return model ? model->itemAt(index) : nullptr;
}

// Draws category captions in bold and display-only values dimmed. Edits a value: a list item
// offers its choices (a choice held twice shows twice), a text item a line of text.
class SheetDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const OptionItem* item = optionItemAt(index);
        if (!item || item->kind() != OptionKind::List)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* box = new QComboBox(parent);
        box->addItems(item->choices());
        return box;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            const int at = box->findText(index.data().toString());
            box->setCurrentIndex(at);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            if (box->currentIndex() >= 0)
                model->setData(index, box->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!index.parent().isValid()) {
            option->font.setBold(true);
            return;
        }
        const OptionItem* item = optionItemAt(index);
        if (item && item->isDisplayOnly() && index.column() == kValueColumn)
            option->palette.setBrush(QPalette::Text,
                                     option->palette.brush(QPalette::Disabled, QPalette::Text));
    }
};

} // namespace

PropertySheet::PropertySheet(OptionSheet& sheet, QWidget* parent)
    : QTreeView(parent), m_sheet(sheet), m_model(new OptionSheetModel(&sheet, this)) {
    setObjectName(QStringLiteral("PS1"));
    setModel(m_model);
    header()->setSectionResizeMode(OptionSheetModel::kCaptionColumn, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setItemDelegate(new SheetDelegate(this));
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);

    connect(m_model, &QAbstractItemModel::rowsInserted, this, &PropertySheet::showRows);
    connect(m_model, &QAbstractItemModel::modelReset, this, &PropertySheet::showAllRows);
    showAllRows();
}

// A category row spans both columns and opens as its category says; it is opened again when
// it gets an item, since a row without children cannot be opened.
void PropertySheet::showRows(const QModelIndex& parent, int first, int last) {
    if (parent.isValid()) {
        const OptionCategory* category = m_sheet.category(parent.row());
        if (category && category->isExpanded())
            expand(parent);
        return;
    }
    for (int row = first; row <= last; ++row) {
        setFirstColumnSpanned(row, QModelIndex(), true);
        const OptionCategory* category = m_sheet.category(row);
        if (category && category->isExpanded())
            expand(m_model->index(row, OptionSheetModel::kCaptionColumn));
    }
}

void PropertySheet::showAllRows() {
    const int categories = m_model->rowCount();
    if (categories == 0)
        return;
    showRows(QModelIndex(), 0, categories - 1);
    for (int row = 0; row < categories; ++row) {
        const QModelIndex category = m_model->index(row, OptionSheetModel::kCaptionColumn);
        if (m_model->rowCount(category) > 0)
            showRows(category, 0, m_model->rowCount(category) - 1);
    }
}

void PropertySheet::setShadedCategories(bool on) {
    m_shadedCategories = on;
    viewport()->update();
}

void PropertySheet::setGridLines(bool on) {
    m_gridLines = on;
    viewport()->update();
}

void PropertySheet::setChoiceToolTips(bool on) {
    m_model->setChoiceToolTips(on);
}

void PropertySheet::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const bool category = !index.parent().isValid();
    if (category && m_shadedCategories)
        painter->fillRect(option.rect, palette().brush(QPalette::AlternateBase));
    QTreeView::drawRow(painter, option, index);
    if (m_gridLines) {
        painter->save();
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        if (!category) {
            const int x = columnViewportPosition(kValueColumn) - 1;
            painter->drawLine(x, option.rect.top(), x, option.rect.bottom());
        }
        painter->restore();
    }
}

} // namespace vidora
