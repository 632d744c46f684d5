#include "profiles/OptionSheetModel.h"

#include "profiles/OptionSheet.h"

namespace vidora {

namespace {

// A category row's index carries 0; an item row's index carries its category's row + 1, so
// finding a parent never needs the sheet.
constexpr quintptr kCategoryRowId = 0;

} // namespace

OptionSheetModel::OptionSheetModel(OptionSheet* sheet, QObject* parent)
    : QAbstractItemModel(parent), m_sheet(sheet) {
    if (!m_sheet)
        return;
    for (int row = 0; row < m_sheet->categoryCount(); ++row)
        m_itemCounts.append(m_sheet->category(row)->itemCount());
    connect(m_sheet, &OptionSheet::categoriesAboutToBeCleared, this,
            &OptionSheetModel::onAboutToClear);
    connect(m_sheet, &OptionSheet::categoriesCleared, this, &OptionSheetModel::onCleared);
    connect(m_sheet, &OptionSheet::categoryAdded, this, &OptionSheetModel::onCategoryAdded);
    connect(m_sheet, &OptionSheet::itemAdded, this, &OptionSheetModel::onItemAdded);
    connect(m_sheet, &OptionSheet::valueChanged, this, &OptionSheetModel::onItemChanged);
    connect(m_sheet, &OptionSheet::choicesChanged, this, &OptionSheetModel::onItemChanged);
    connect(m_sheet, &OptionSheet::displayOnlyChanged, this, &OptionSheetModel::onItemChanged);
    connect(m_sheet, &QObject::destroyed, this, [this] {
        onAboutToClear();
        onCleared();
    });
}

bool OptionSheetModel::isCategoryRow(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == kCategoryRowId;
}

QModelIndex OptionSheetModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, kCategoryRowId);
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex OptionSheetModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kCategoryRowId)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), kCaptionColumn, kCategoryRowId);
}

int OptionSheetModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return static_cast<int>(m_itemCounts.size());
    if (!isCategoryRow(parent) || parent.column() != kCaptionColumn)
        return 0;
    return m_itemCounts.value(parent.row());
}

int OptionSheetModel::columnCount(const QModelIndex&) const {
    return kColumnCount;
}

OptionItem* OptionSheetModel::itemAt(const QModelIndex& index) const {
    if (!m_sheet || !index.isValid() || index.model() != this || isCategoryRow(index))
        return nullptr;
    const OptionCategory* category = m_sheet->category(static_cast<int>(index.internalId() - 1));
    return category ? category->item(index.row()) : nullptr;
}

QModelIndex OptionSheetModel::indexOf(const OptionItem* item, int column) const {
    if (!m_sheet || !item)
        return {};
    const int categoryRow = m_sheet->position(item->category());
    if (categoryRow < 0)
        return {};
    return index(item->category()->position(item), column, index(categoryRow, kCaptionColumn));
}

QVariant OptionSheetModel::data(const QModelIndex& index, int role) const {
    if (!m_sheet || !index.isValid())
        return {};
    if (isCategoryRow(index)) {
        const OptionCategory* category = m_sheet->category(index.row());
        if (category && index.column() == kCaptionColumn &&
            (role == Qt::DisplayRole || role == Qt::EditRole))
            return category->caption();
        return {};
    }
    const OptionItem* item = itemAt(index);
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == kCaptionColumn ? item->caption() : item->value();
    case Qt::ToolTipRole:
        if (index.column() == kValueColumn && m_choiceToolTips && item->kind() == OptionKind::List)
            return item->choices().join(QStringLiteral(", "));
        return {};
    default:
        return {};
    }
}

bool OptionSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != kValueColumn)
        return false;
    OptionItem* item = itemAt(index);
    if (!item || item->isDisplayOnly())
        return false;
    // The sheet announces a real change, and that comes back here as dataChanged.
    return m_sheet->SetValue(item, value.toString());
}

Qt::ItemFlags OptionSheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isCategoryRow(index))
        return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const OptionItem* item = itemAt(index);
    if (item && index.column() == kValueColumn && !item->isDisplayOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant OptionSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kCaptionColumn:
        return QStringLiteral("Property");
    case kValueColumn:
        return QStringLiteral("Value");
    default:
        return {};
    }
}

void OptionSheetModel::setChoiceToolTips(bool on) {
    if (m_choiceToolTips == on)
        return;
    m_choiceToolTips = on;
    for (int row = 0; row < rowCount(); ++row) {
        const QModelIndex category = index(row, kCaptionColumn);
        const int items = rowCount(category);
        if (items > 0)
            emit dataChanged(index(0, kValueColumn, category),
                             index(items - 1, kValueColumn, category), {Qt::ToolTipRole});
    }
}

void OptionSheetModel::onCategoryAdded() {
    // The sheet only ever appends a category, and a new one has no items yet.
    const int row = static_cast<int>(m_itemCounts.size());
    beginInsertRows(QModelIndex(), row, row);
    m_itemCounts.append(0);
    endInsertRows();
}

void OptionSheetModel::onItemAdded(const OptionItem* item) {
    const int categoryRow = m_sheet ? m_sheet->position(item->category()) : -1;
    if (categoryRow < 0 || categoryRow >= m_itemCounts.size())
        return;
    // Items are appended to their category too.
    const int row = m_itemCounts[categoryRow];
    beginInsertRows(index(categoryRow, kCaptionColumn), row, row);
    ++m_itemCounts[categoryRow];
    endInsertRows();
}

void OptionSheetModel::onItemChanged(const OptionItem* item) {
    const QModelIndex caption = indexOf(item, kCaptionColumn);
    if (caption.isValid())
        emit dataChanged(caption, caption.siblingAtColumn(kValueColumn));
}

void OptionSheetModel::onAboutToClear() {
    if (m_resetting)
        return;
    m_resetting = true;
    beginResetModel();
}

void OptionSheetModel::onCleared() {
    if (!m_resetting)
        return;
    m_resetting = false;
    m_itemCounts.clear();
    endResetModel();
}

} // namespace vidora
