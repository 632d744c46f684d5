#include "jobs/JobTableModel.h"

#include "jobs/JobList.h"

namespace vidora {

JobTableModel::JobTableModel(JobList* list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {
    if (!m_list)
        return;
    m_rowCount = m_list->count();
    connect(m_list, &JobList::rowAboutToBeAdded, this, &JobTableModel::onRowAboutToBeAdded);
    connect(m_list, &JobList::rowAdded, this, &JobTableModel::onRowAdded);
    connect(m_list, &JobList::rowChanged, this, &JobTableModel::onRowChanged);
    connect(m_list, &JobList::rowAboutToBeRemoved, this, &JobTableModel::onRowAboutToBeRemoved);
    connect(m_list, &JobList::rowRemoved, this, &JobTableModel::onRowRemoved);
    connect(m_list, &JobList::aboutToClear, this, &JobTableModel::onAboutToClear);
    connect(m_list, &JobList::cleared, this, &JobTableModel::onCleared);
    connect(m_list, &QObject::destroyed, this, [this] {
        onAboutToClear();
        onCleared();
    });
}

int JobTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int JobTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : JobList::ColumnCount;
}

QVariant JobTableModel::data(const QModelIndex& index, int role) const {
    if (!m_list || !index.isValid() || index.row() >= m_rowCount ||
        !m_list->isValidRow(index.row()))
        return {};
    const JobField field = JobList::columnField(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return m_list->field(index.row(), field);
    case Qt::ToolTipRole:
        if (field == JobField::Status) {
            const QString detail = m_list->field(index.row(), JobField::StatusDetail);
            if (!detail.isEmpty())
                return detail;
        }
        return {};
    default:
        return {};
    }
}

QVariant JobTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= JobList::ColumnCount)
        return {};
    return JobList::columnHeaders().at(section);
}

void JobTableModel::onRowAboutToBeAdded(int row) {
    beginInsertRows(QModelIndex(), row, row);
}

void JobTableModel::onRowAdded(int) {
    ++m_rowCount;
    endInsertRows();
}

void JobTableModel::onRowChanged(int row) {
    if (row < 0 || row >= m_rowCount)
        return;
    emit dataChanged(index(row, 0), index(row, JobList::ColumnCount - 1));
}

void JobTableModel::onRowAboutToBeRemoved(int row) {
    if (row < 0 || row >= m_rowCount)
        return;
    m_removing = row;
    beginRemoveRows(QModelIndex(), row, row);
}

void JobTableModel::onRowRemoved(int row) {
    if (row != m_removing)
        return;
    m_removing = -1;
    --m_rowCount;
    endRemoveRows();
}

void JobTableModel::onAboutToClear() {
    if (m_resetting)
        return;
    m_resetting = true;
    beginResetModel();
}

void JobTableModel::onCleared() {
    if (!m_resetting)
        return;
    m_resetting = false;
    m_rowCount = 0;
    endResetModel();
}

} // namespace vidora
