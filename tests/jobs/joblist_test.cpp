#include "jobs/JobList.h"
#include "jobs/JobTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vidora {
namespace {

const QString StartText = QStringLiteral("0:00:00");

TEST(JobList, ColumnsAreTheSevenHeadersInOrder) {
    EXPECT_EQ(JobList::columnHeaders(),
              QStringList({"File Name", "Start", "End", "Size", "Format", "Status", "Video Time"}));
    EXPECT_EQ(JobList::ColumnCount, JobList::columnHeaders().size());
    EXPECT_EQ(JobList::columnField(0), JobField::Path);
    EXPECT_EQ(JobList::columnField(1), JobField::Start);
    EXPECT_EQ(JobList::columnField(5), JobField::Status);
    EXPECT_EQ(JobList::columnField(6), JobField::VideoTime);
}

TEST(JobList, RowsKeepTheOrderTheyWereAddedInAndTheSameFileMayComeTwice) {
    JobList list;
    QSignalSpy added(&list, &JobList::rowAdded);
    EXPECT_EQ(list.append("/videos/b.avi"), 0);
    EXPECT_EQ(list.append("/videos/a b.mkv"), 1);
    EXPECT_EQ(list.append("/videos/b.avi"), 2);

    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(0).path, "/videos/b.avi");
    EXPECT_EQ(list.at(1).path, "/videos/a b.mkv");
    EXPECT_EQ(list.at(2).path, "/videos/b.avi");
    EXPECT_NE(list.rowId(0), list.rowId(2)); // two independent jobs
    ASSERT_EQ(added.size(), 3);
    EXPECT_EQ(added.at(2).at(0).toInt(), 2);

    // A new row holds its path and nothing else.
    const Job job = list.at(1);
    EXPECT_TRUE(job.start.isEmpty() && job.end.isEmpty() && job.size.isEmpty() &&
                job.format.isEmpty() && job.status.isEmpty() && job.videoTime.isEmpty() &&
                job.statusDetail.isEmpty());
}

TEST(JobList, EveryFieldCanBeWrittenAndEachChangeIsAnnounced) {
    JobList list;
    list.append("/v/a.avi");
    list.append("/v/b.avi");
    QSignalSpy changed(&list, &JobList::rowChanged);

    const QList<JobField> fields = {JobField::Path,      JobField::Start,       JobField::End,
                                    JobField::Size,      JobField::Format,      JobField::Status,
                                    JobField::VideoTime, JobField::StatusDetail};
    for (int i = 0; i < fields.size(); ++i)
        EXPECT_TRUE(list.setField(1, fields[i], QStringLiteral("value %1").arg(i)));
    for (int i = 0; i < fields.size(); ++i)
        EXPECT_EQ(list.field(1, fields[i]), QStringLiteral("value %1").arg(i));
    const Job job = list.at(1);
    EXPECT_EQ(job.start, "value 1");
    EXPECT_EQ(job.videoTime, "value 6");
    EXPECT_EQ(job.statusDetail, "value 7");
    EXPECT_EQ(list.at(0).path, "/v/a.avi"); // the other row is untouched
    ASSERT_EQ(changed.size(), fields.size());
    for (const QList<QVariant>& arguments : changed)
        EXPECT_EQ(arguments.at(0).toInt(), 1);

    // Writing the value a field already holds changes nothing and announces nothing.
    EXPECT_TRUE(list.setField(1, JobField::Status, "value 5"));
    EXPECT_EQ(changed.size(), fields.size());

    EXPECT_FALSE(list.setField(2, JobField::Status, "OK"));
    EXPECT_FALSE(list.setField(-1, JobField::Status, "OK"));
    EXPECT_TRUE(list.field(2, JobField::Path).isEmpty());
    EXPECT_TRUE(list.at(-1).path.isEmpty());
}

TEST(JobList, RemovingARowMovesTheLaterOnesUpAndIdsFollowThem) {
    JobList list;
    list.append("/v/0.avi");
    list.append("/v/1.avi");
    list.append("/v/2.avi");
    const quint64 lastId = list.rowId(2);
    QSignalSpy removed(&list, &JobList::rowRemoved);
    int countBefore = -1;
    QObject::connect(&list, &JobList::rowAboutToBeRemoved, &list,
                     [&](int row) { countBefore = row == 1 ? list.count() : -2; });

    EXPECT_TRUE(list.remove(1));
    EXPECT_EQ(countBefore, 3); // announced while the row was still there
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(1).path, "/v/2.avi");
    EXPECT_EQ(list.indexOfId(lastId), 1);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed.at(0).at(0).toInt(), 1);

    EXPECT_FALSE(list.remove(2));
    EXPECT_FALSE(list.remove(-1));
    EXPECT_EQ(removed.size(), 1);

    EXPECT_TRUE(list.remove(1));
    EXPECT_EQ(list.indexOfId(lastId), -1);
    // Ids are never given twice, even after the rows are gone.
    list.append("/v/3.avi");
    EXPECT_NE(list.rowId(1), lastId);
}

TEST(JobList, ClearRemovesEveryRow) {
    JobList list;
    list.append("/v/a.avi");
    list.append("/v/b.avi");
    QSignalSpy cleared(&list, &JobList::cleared);
    EXPECT_TRUE(list.clear());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(cleared.size(), 1);
    EXPECT_EQ(list.append("/v/c.avi"), 0);
}

TEST(JobList, ALockedListRefusesToAddOrRemoveButStillTakesStatuses) {
    JobList list;
    list.append("/v/a.avi");
    list.append("/v/b.avi");
    QSignalSpy locked(&list, &JobList::lockedChanged);
    QSignalSpy added(&list, &JobList::rowAdded);
    QSignalSpy removed(&list, &JobList::rowRemoved);
    QSignalSpy cleared(&list, &JobList::cleared);

    list.setLocked(true);
    EXPECT_TRUE(list.isLocked());
    EXPECT_EQ(list.append("/v/c.avi"), -1);
    EXPECT_FALSE(list.remove(0));
    EXPECT_FALSE(list.clear());
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0).path, "/v/a.avi");
    EXPECT_TRUE(list.setField(1, JobField::Status, "Processing"));
    EXPECT_EQ(list.at(1).status, "Processing");
    EXPECT_EQ(added.size() + removed.size() + cleared.size(), 0);

    list.setLocked(true); // no change, no signal
    list.setLocked(false);
    ASSERT_EQ(locked.size(), 2);
    EXPECT_TRUE(locked.at(0).at(0).toBool());
    EXPECT_FALSE(locked.at(1).at(0).toBool());
    EXPECT_EQ(list.append("/v/c.avi"), 2);
    EXPECT_TRUE(list.remove(0));
    EXPECT_TRUE(list.clear());
}

TEST(JobList, RemovalsAndClearingsAreUndoneWithEveryFieldWhereTheRowsWere) {
    JobList list;
    for (const char* path : {"/v/a.avi", "/v/b.avi", "/v/c.avi"})
        list.append(QString::fromLatin1(path));
    list.setField(1, JobField::End, QStringLiteral("0:01:00"));
    list.setField(1, JobField::Status, QStringLiteral("Fail"));
    list.setField(1, JobField::StatusDetail, QStringLiteral("No video or audio found"));
    const quint64 idOfB = list.rowId(1);
    QSignalSpy canUndo(&list, &JobList::canUndoChanged);
    JobTableModel model(&list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_FALSE(list.canUndo());
    EXPECT_FALSE(list.undo());

    ASSERT_TRUE(list.remove(1));
    ASSERT_TRUE(list.clear());
    EXPECT_EQ(list.count(), 0);
    ASSERT_TRUE(list.undo()); // the clearing: a and c
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0).path, "/v/a.avi");
    EXPECT_EQ(list.at(1).path, "/v/c.avi");
    ASSERT_TRUE(list.undo()); // the removal: b between them, as it was
    ASSERT_EQ(list.count(), 3);
    const Job b = list.at(1);
    EXPECT_EQ(b.path, "/v/b.avi");
    EXPECT_EQ(b.end, "0:01:00");
    EXPECT_EQ(b.status, "Fail");
    EXPECT_EQ(b.statusDetail, "No video or audio found");
    EXPECT_EQ(list.indexOfId(idOfB), 1) << "a probe still running for it finds it again";
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_FALSE(list.canUndo());
    EXPECT_EQ(canUndo.count(), 2); // on with the first removal, off with the last undo

    // Clearing an empty list leaves nothing to undo; a locked list undoes nothing.
    JobList empty;
    empty.clear();
    EXPECT_FALSE(empty.canUndo());
    ASSERT_TRUE(list.remove(0));
    list.setLocked(true);
    EXPECT_FALSE(list.canUndo());
    EXPECT_FALSE(list.undo());
    list.setLocked(false);
    EXPECT_TRUE(list.undo());
    EXPECT_EQ(list.at(0).path, "/v/a.avi");

    // Only the last removals are kept.
    for (int i = 0; i < JobList::UndoDepth + 5; ++i) {
        list.append(QStringLiteral("/v/x.avi"));
        list.remove(list.count() - 1);
    }
    int undone = 0;
    while (list.undo())
        ++undone;
    EXPECT_EQ(undone, JobList::UndoDepth);
}

TEST(JobTableModel, ShowsTheHeadersTheFieldsAndTheFailureDetail) {
    JobList list;
    list.append("/v/a.avi");
    JobTableModel model(&list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    ASSERT_EQ(model.columnCount(), 7);
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(),
                  JobList::columnHeaders().at(column));
    EXPECT_FALSE(model.headerData(7, Qt::Horizontal).isValid());

    ASSERT_EQ(model.rowCount(), 1); // a row that was there before the model
    list.setField(0, JobField::Start, StartText);
    list.setField(0, JobField::End, "0:02:05");
    list.setField(0, JobField::Size, "640x480");
    list.setField(0, JobField::Format, "XVID");
    list.setField(0, JobField::Status, "Fail");
    list.setField(0, JobField::VideoTime, "0:02:05");
    list.setField(0, JobField::StatusDetail, "The encoder ended with code 1");

    const QStringList expected = {"/v/a.avi", "0:00:00", "0:02:05", "640x480",
                                  "XVID",     "Fail",    "0:02:05"};
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(model.data(model.index(0, column)).toString(), expected[column]);
    EXPECT_EQ(model.data(model.index(0, 5), Qt::ToolTipRole).toString(),
              "The encoder ended with code 1");
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ToolTipRole).isValid());

    list.setField(0, JobField::StatusDetail, QString());
    EXPECT_FALSE(model.data(model.index(0, 5), Qt::ToolTipRole).isValid());
}

TEST(JobTableModel, FollowsEveryChangeOfTheList) {
    JobList list;
    JobTableModel model(&list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removedRows(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    list.append("/v/a.avi");
    list.append("/v/b.avi");
    list.append("/v/c.avi");
    EXPECT_EQ(model.rowCount(), 3);
    ASSERT_EQ(inserted.size(), 3);
    EXPECT_EQ(inserted.at(2).at(1).toInt(), 2);

    list.setField(2, JobField::Status, "OK");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex().row(), 2);
    EXPECT_EQ(model.data(model.index(2, 5)).toString(), "OK");

    list.remove(0);
    EXPECT_EQ(model.rowCount(), 2);
    ASSERT_EQ(removedRows.size(), 1);
    EXPECT_EQ(removedRows.at(0).at(1).toInt(), 0);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "/v/b.avi");
    EXPECT_EQ(model.data(model.index(1, 5)).toString(), "OK");

    list.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(reset.size(), 1);
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
}

TEST(JobTableModel, OutlivesItsList) {
    auto* list = new JobList;
    list->append("/v/a.avi");
    JobTableModel model(list);
    delete list;
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
}

} // namespace
} // namespace vidora
