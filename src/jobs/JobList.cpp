#include "jobs/JobList.h"

#include <algorithm>

namespace vidora {

namespace {

template <typename J> auto fieldOf(J& job, JobField field) -> decltype(&job.path) {
    switch (field) {
    case JobField::Path:
        return &job.path;
    case JobField::Start:
        return &job.start;
    case JobField::End:
        return &job.end;
    case JobField::Size:
        return &job.size;
    case JobField::Format:
        return &job.format;
    case JobField::Status:
        return &job.status;
    case JobField::VideoTime:
        return &job.videoTime;
    case JobField::StatusDetail:
        return &job.statusDetail;
    }
    return nullptr;
}

} // namespace

QStringList JobList::columnHeaders() {
    return {QStringLiteral("File Name"), QStringLiteral("Start"),  QStringLiteral("End"),
            QStringLiteral("Size"),      QStringLiteral("Format"), QStringLiteral("Status"),
            QStringLiteral("Video Time")};
}

JobField JobList::columnField(int column) {
    // The columns are the first fields of JobField, in the same order.
    return static_cast<JobField>(column);
}

JobList::JobList(QObject* parent) : QObject(parent) {}

Job JobList::at(int row) const {
    return isValidRow(row) ? m_rows[row].job : Job{};
}

QString JobList::field(int row, JobField field) const {
    if (!isValidRow(row))
        return {};
    const QString* value = fieldOf(m_rows[row].job, field);
    return value ? *value : QString();
}

quint64 JobList::rowId(int row) const {
    return isValidRow(row) ? m_rows[row].id : 0;
}

int JobList::indexOfId(quint64 id) const {
    for (int row = 0; row < count(); ++row) {
        if (m_rows[row].id == id)
            return row;
    }
    return -1;
}

int JobList::append(const QString& path) {
    if (m_locked)
        return -1;
    Row row;
    row.id = m_nextId++;
    row.job.path = path;
    const int index = count();
    emit rowAboutToBeAdded(index);
    m_rows.append(row);
    emit rowAdded(index);
    return index;
}

bool JobList::setField(int row, JobField field, const QString& value) {
    if (!isValidRow(row))
        return false;
    QString* target = fieldOf(m_rows[row].job, field);
    if (!target)
        return false;
    if (*target != value) {
        *target = value;
        emit rowChanged(row);
    }
    return true;
}

bool JobList::remove(int row) {
    if (m_locked || !isValidRow(row))
        return false;
    keepRemoval({{{row, m_rows[row]}}});
    emit rowAboutToBeRemoved(row);
    m_rows.removeAt(row);
    emit rowRemoved(row);
    return true;
}

bool JobList::clear() {
    if (m_locked)
        return false;
    if (!m_rows.isEmpty()) {
        Removal removal;
        for (int row = 0; row < count(); ++row)
            removal.rows.append({row, m_rows[row]});
        keepRemoval(std::move(removal));
    }
    emit aboutToClear();
    m_rows.clear();
    emit cleared();
    return true;
}

void JobList::setLocked(bool locked) {
    if (m_locked == locked)
        return;
    const bool couldUndo = canUndo();
    m_locked = locked;
    emit lockedChanged(locked);
    if (canUndo() != couldUndo)
        emit canUndoChanged(canUndo());
}

void JobList::keepRemoval(Removal removal) {
    const bool couldUndo = canUndo();
    m_removals.append(std::move(removal));
    if (m_removals.size() > UndoDepth)
        m_removals.removeFirst();
    if (!couldUndo)
        emit canUndoChanged(true);
}

bool JobList::undo() {
    if (!canUndo())
        return false;
    const Removal removal = m_removals.takeLast();
    // In the order of their old positions, so each lands where it was (or at the end, when
    // rows were removed before it since).
    for (const auto& [position, row] : removal.rows) {
        const int at = std::min(position, count());
        emit rowAboutToBeAdded(at);
        m_rows.insert(at, row);
        emit rowAdded(at);
    }
    if (!canUndo())
        emit canUndoChanged(false);
    return true;
}

} // namespace vidora
