#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace vidora {

class JobList;

// Shows a JobList to a view: one row per job, the list's seven columns with their headers.
// The Status cell's tooltip is the job's status detail. Read-only: every change goes through
// the JobList, which this model follows through its signals.
class JobTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit JobTableModel(JobList* list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void onRowAboutToBeAdded(int row);
    void onRowAdded(int row);
    void onRowChanged(int row);
    void onRowAboutToBeRemoved(int row);
    void onRowRemoved(int row);
    void onAboutToClear();
    void onCleared();

    QPointer<JobList> m_list;
    // The rows the view has been told of: the list announces a new row after adding it, so
    // the count the view knows is kept here until the addition has been reported.
    int m_rowCount = 0;
    int m_removing = -1; // the row between rowAboutToBeRemoved and rowRemoved
    bool m_resetting = false;
};

} // namespace vidora
