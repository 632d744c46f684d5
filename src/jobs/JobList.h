#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <utility>

namespace vidora {

// One row of the job list: an input file with the clip times the conversion uses, what the
// probe found, the conversion status and the file's full length. Times are job time texts
// ("0:02:05"), the size is width "x" height ("640x480").
struct Job {
    QString path; // exactly as the dialog or the drop delivered it
    QString start;
    QString end;
    QString size;
    QString format;
    QString status; // empty, "Processing", "OK", "Fail" or "Cancel"
    QString videoTime;
    // Why a job failed, in words the conversion writes for the status cell's tooltip.
    QString statusDetail;
};

// The fields of a Job. The first seven are the list's columns, in their order.
enum class JobField { Path, Start, End, Size, Format, Status, VideoTime, StatusDetail };

// The job list `lvwAudioTracks` without its widget: rows in the order they were added, each
// one Job. The probe creates rows, the trimming window rewrites Start and End, the conversion
// walks the rows by position and writes their Status. A widget mirrors the list through the
// signals (JobTableModel does so for a view).
//
// While a conversion runs the list is locked: rows can still be written, but none can be
// added or removed, so the positions the conversion walks stay valid.
class JobList : public QObject {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 7;
    // "File Name", "Start", "End", "Size", "Format", "Status", "Video Time".
    static QStringList columnHeaders();
    // The field shown in a column (0 to ColumnCount - 1).
    static JobField columnField(int column);

    explicit JobList(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_rows.size()); }
    bool isValidRow(int row) const { return row >= 0 && row < count(); }
    // The row at a position; an empty Job for a position that does not exist.
    Job at(int row) const;
    QString field(int row, JobField field) const;

    // Every row keeps one id for its whole life, so work that pumps events meanwhile (a probe)
    // still finds its own row after other rows came or went.
    quint64 rowId(int row) const;
    // The position of the row with this id, or -1 when it is gone.
    int indexOfId(quint64 id) const;

    // Appends a row with this path and all other fields empty; returns its position, or -1
    // while the list is locked.
    int append(const QString& path);
    // Writes one field of a row; false for a position that does not exist. Allowed while
    // locked: that is how the conversion writes the status.
    bool setField(int row, JobField field, const QString& value);
    // False while locked or for a position that does not exist.
    bool remove(int row);
    // False while locked.
    bool clear();

    // Whether a removal or a clearing can be undone: the rows come back where they were, with
    // every field and their ids, so a probe still running for one of them fills it. The last
    // UndoDepth removals are kept.
    static constexpr int UndoDepth = 20;
    bool canUndo() const { return !m_locked && !m_removals.isEmpty(); }
    // False while locked or when there is nothing to undo.
    bool undo();

    bool isLocked() const { return m_locked; }
    void setLocked(bool locked);

signals:
    // Before and after a row comes: a view still reads the old rows in between.
    void rowAboutToBeAdded(int row);
    void rowAdded(int row);
    void rowChanged(int row);
    // Before and after a row goes: a view still reads the old rows in between.
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void aboutToClear();
    void cleared();
    void lockedChanged(bool locked);
    void canUndoChanged(bool canUndo);

private:
    struct Row {
        quint64 id = 0;
        Job job;
    };

    // Rows taken out by one removal or clearing, each with the position it had.
    struct Removal {
        QList<std::pair<int, Row>> rows;
    };
    void keepRemoval(Removal removal);

    QList<Row> m_rows;
    QList<Removal> m_removals;
    quint64 m_nextId = 1;
    bool m_locked = false;
};

} // namespace vidora
