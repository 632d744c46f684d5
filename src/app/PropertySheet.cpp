#include "app/PropertySheet.h"

#include "profiles/OptionSheet.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vidora {

namespace {

constexpr int ValueColumn = 1;
constexpr int ItemRole = Qt::UserRole + 1;

const OptionItem* optionItemAt(const QModelIndex& index) {
    return static_cast<const OptionItem*>(
        index.siblingAtColumn(0).data(ItemRole).value<const void*>());
}

// Edits a value: a list item offers its choices (a choice held twice shows twice), a text
// item a line of text.
class ValueDelegate : public QStyledItemDelegate {
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
};

} // namespace

PropertySheet::PropertySheet(OptionSheet& sheet, QWidget* parent)
    : QTreeWidget(parent), m_sheet(sheet) {
    setObjectName(QStringLiteral("PS1"));
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setItemDelegateForColumn(ValueColumn, new ValueDelegate(this));
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);

    connect(&m_sheet, &OptionSheet::categoriesCleared, this, &PropertySheet::rebuild);
    connect(&m_sheet, &OptionSheet::categoryAdded, this, &PropertySheet::rebuild);
    connect(&m_sheet, &OptionSheet::itemAdded, this, &PropertySheet::rebuild);
    connect(&m_sheet, &OptionSheet::displayOnlyChanged, this, &PropertySheet::rebuild);
    connect(&m_sheet, &OptionSheet::valueChanged, this, &PropertySheet::showValue);
    connect(&m_sheet, &OptionSheet::choicesChanged, this, &PropertySheet::showValue);
    connect(this, &QTreeWidget::itemChanged, this, &PropertySheet::commitEdit);
    rebuild();
}

const OptionItem* PropertySheet::itemOf(const QTreeWidgetItem* row) const {
    return row ? static_cast<const OptionItem*>(row->data(0, ItemRole).value<const void*>())
               : nullptr;
}

void PropertySheet::rebuild() {
    m_rebuilding = true;
    clear();
    m_rows.clear();
    for (OptionCategory* category : m_sheet.categories()) {
        auto* categoryRow = new QTreeWidgetItem(this, {category->caption()});
        categoryRow->setFirstColumnSpanned(true);
        categoryRow->setFlags(Qt::ItemIsEnabled);
        QFont bold = font();
        bold.setBold(true);
        categoryRow->setFont(0, bold);
        for (OptionItem* item : category->items()) {
            auto* row = new QTreeWidgetItem(categoryRow, {item->caption(), item->value()});
            row->setData(0, ItemRole, QVariant::fromValue<const void*>(item));
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (!item->isDisplayOnly())
                flags |= Qt::ItemIsEditable;
            row->setFlags(flags);
            m_rows.insert(item, row);
        }
        categoryRow->setExpanded(category->isExpanded());
    }
    m_rebuilding = false;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
        showValue(it.key());
}

void PropertySheet::showValue(const OptionItem* item) {
    QTreeWidgetItem* row = m_rows.value(item);
    if (!row)
        return;
    m_rebuilding = true;
    row->setText(ValueColumn, item->value());
    if (item->isDisplayOnly())
        row->setForeground(ValueColumn, palette().brush(QPalette::Disabled, QPalette::Text));
    const bool listChoices = m_choiceToolTips && item->kind() == OptionKind::List;
    row->setToolTip(ValueColumn,
                    listChoices ? item->choices().join(QStringLiteral(", ")) : QString());
    m_rebuilding = false;
}

void PropertySheet::commitEdit(QTreeWidgetItem* row, int column) {
    if (m_rebuilding || column != ValueColumn)
        return;
    const OptionItem* shown = itemOf(row);
    if (!shown || shown->isDisplayOnly())
        return;
    // The sheet is the only store of the values: hand the edit to it; it reports back.
    OptionItem* item = m_sheet.FindItem(shown->category(), shown->caption());
    if (item == shown)
        m_sheet.SetValue(item, row->text(ValueColumn));
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
    m_choiceToolTips = on;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
        showValue(it.key());
}

void PropertySheet::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const bool category = !index.parent().isValid();
    if (category && m_shadedCategories)
        painter->fillRect(option.rect, palette().brush(QPalette::AlternateBase));
    QTreeWidget::drawRow(painter, option, index);
    if (m_gridLines) {
        painter->save();
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        if (!category) {
            const int x = columnViewportPosition(ValueColumn) - 1;
            painter->drawLine(x, option.rect.top(), x, option.rect.bottom());
        }
        painter->restore();
    }
}

} // namespace vidora
