#include "jobs/InputFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vidora {
namespace {

TEST(OpenDialog, TitleAndTheSeventeenLabelsInOrder) {
    EXPECT_EQ(QString::fromUtf16(OpenDialogTitle), "Open Video File");
    const QList<DialogFilter>& filters = openDialogFilters();
    ASSERT_EQ(filters.size(), 17);
    EXPECT_EQ(filters[0].label, "All supported media files");
    EXPECT_EQ(filters[1].label, "Windows Media files (*.avi;*.wmv;*.wma;*.asf;*.ms-dvr;*.dvr-ms)");
    EXPECT_EQ(filters[7].label, "Sony High Definition Video File (*.m2ts;*.mts;*.tod)");
    EXPECT_EQ(filters[13].label, "DVD-VR Video File(*.vro)");
    EXPECT_EQ(filters[15].label, "Other Video File(*.dr;*.amv)");
    EXPECT_EQ(filters[16].label, "All files (*.*)");
}

// The labels of filters 2 to 16 name their own patterns; what they select must be just that.
TEST(OpenDialog, EachLabelledFilterSelectsThePatternsItsLabelNames) {
    const QList<DialogFilter>& filters = openDialogFilters();
    for (int i = 1; i <= 15; ++i) {
        const QString& label = filters[i].label;
        const qsizetype open = label.lastIndexOf(u'(');
        ASSERT_GT(open, 0) << label.toStdString();
        ASSERT_TRUE(label.endsWith(u')')) << label.toStdString();
        const QStringList named = label.mid(open + 1, label.size() - open - 2).split(u';');
        EXPECT_EQ(filters[i].patterns, named) << label.toStdString();
    }
}

// "All supported media files" is exactly every extension that one of the named filters offers.
TEST(OpenDialog, TheFirstFilterSelectsEveryNamedExtension) {
    const QList<DialogFilter>& filters = openDialogFilters();
    QSet<QString> named;
    for (int i = 1; i <= 15; ++i)
        for (const QString& pattern : filters[i].patterns)
            named.insert(pattern);
    const QStringList all = filters[0].patterns;
    EXPECT_EQ(all.size(), 48);
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()), named);
    EXPECT_EQ(all.first(), "*.avi");
    EXPECT_EQ(all.last(), "*.nsv");
}

TEST(OpenDialog, NameFiltersKeepTheLabelAndListPatternsWithBlanks) {
    const QStringList filters = openDialogNameFilters();
    ASSERT_EQ(filters.size(), 17);
    EXPECT_EQ(filters[4], "Flash Video files (*.flv;*.f4v) (*.flv *.f4v)");
    EXPECT_EQ(filters[16], "All files (*.*) (*)");
    EXPECT_TRUE(filters[0].startsWith("All supported media files (*.avi *.wmv *.wma *.asf "));
}

// Asks Qt's own dialog what it makes of the filters: the labels it shows, and the patterns it
// filters the folder with.
TEST(OpenDialog, QtsDialogShowsTheExactLabelsAndFiltersByThePatterns) {
    QFileDialog dialog;
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(openDialogNameFilters());

    const QList<DialogFilter>& filters = openDialogFilters();
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 17);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(combo->itemText(i), filters[i].label);
    EXPECT_EQ(combo->currentIndex(), 0);

    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    for (int i = 0; i < 17; ++i) {
        dialog.selectNameFilter(openDialogNameFilters()[i]);
        EXPECT_EQ(model->nameFilters(), filters[i].patterns) << filters[i].label.toStdString();
    }

    const auto matches = [&](int filter, const QString& name) {
        return QDir::match(filters[filter].patterns, name);
    };
    EXPECT_TRUE(matches(0, "holiday.avi"));
    EXPECT_TRUE(matches(0, "HOLIDAY.MKV"));
    EXPECT_TRUE(matches(0, "show.dvr-ms"));
    EXPECT_FALSE(matches(0, "notes.txt"));
    EXPECT_FALSE(matches(0, "clip.swf")); // only a drop takes SWF
    EXPECT_TRUE(matches(16, "README"));   // every file, with or without a dot
    EXPECT_TRUE(matches(16, "notes.txt"));
}

TEST(Drop, AcceptsTheVideoEndingsInAnyCaseWithOrWithoutADot) {
    for (const QString path :
         {"/v/a.avi", "/v/a.MPG", "/v/a.wmv", "/v/a.flv", "/v/a.asf", "/v/a.mov", "/v/a.qt",
          "/v/a.mpeg", "/v/a.rm", "/v/a.Rmvb", "/v/a.mp4", "/v/a.3gp", "/v/a.3g2", "/v/a.swf",
          "/v/a.mkv", "/v/a.divx", "/v/STORM", "/v/clipavi", "/v/ünïcode 動画.AvI"})
        EXPECT_TRUE(isAcceptedDropPath(path)) << path.toStdString();
    for (const QString path : {"/v/a.txt", "/v/a.avi.txt", "/v/a.m2ts", "/v/a.ogg", "/v/a.wma",
                               "/v/a.avi ", "/v/a", "", "/v/a.mp3"})
        EXPECT_FALSE(isAcceptedDropPath(path)) << path.toStdString();
}

TEST(Drop, StopsAtTheFirstRefusedPath) {
    const DropDecision mixed = acceptDroppedPaths({"/v/a.avi", "/v/notes.txt", "/v/b.mp4"});
    EXPECT_EQ(mixed.accepted, QStringList{"/v/a.avi"});
    EXPECT_TRUE(mixed.refused);

    const DropDecision first = acceptDroppedPaths({"/v/notes.txt", "/v/b.mp4"});
    EXPECT_TRUE(first.accepted.isEmpty());
    EXPECT_TRUE(first.refused);

    const DropDecision fine = acceptDroppedPaths({"/v/b.mp4", "/v/a.avi", "/v/b.mp4"});
    EXPECT_EQ(fine.accepted, QStringList({"/v/b.mp4", "/v/a.avi", "/v/b.mp4"}));
    EXPECT_FALSE(fine.refused);

    EXPECT_EQ(QString::fromUtf16(OnlyVideoFilesMessage), "Only Video files are allowed!");
}

TEST(Refusal, NamesThatBreakTheListAndFilesThatAreNoFilesAreRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath(QStringLiteral("it's a \"clip\" -1 ünï.avi"));
    QFile(plain).open(QIODevice::WriteOnly);
    EXPECT_EQ(refusalReason(plain), QString());
    EXPECT_EQ(refusalReason(dir.filePath(QStringLiteral("not there yet.avi"))), QString());

    const QString newline = dir.filePath(QStringLiteral("a\nID_LENGTH=99.avi"));
    QFile(newline).open(QIODevice::WriteOnly);
    EXPECT_EQ(refusalReason(newline),
              QStringLiteral("its name holds a line break or another control character"));

    // A name whose bytes are not UTF-8 comes back from the file system with U+FFFD in it.
    const QByteArray rawName = QFile::encodeName(dir.path()) + "/caf\xe9.avi";
    {
        FILE* raw = std::fopen(rawName.constData(), "w");
        ASSERT_NE(raw, nullptr);
        std::fclose(raw);
    }
    const QString decoded = QFile::decodeName(rawName);
    ASSERT_TRUE(decoded.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(refusalReason(decoded), QStringLiteral("its name is not valid text"));

    const QString fifo = dir.filePath(QStringLiteral("pipe.avi"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_EQ(refusalReason(fifo), QStringLiteral("it is not an ordinary file"));
    const QString zero = dir.filePath(QStringLiteral("zero.avi"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    EXPECT_EQ(refusalReason(zero), QStringLiteral("it is not an ordinary file"));
    EXPECT_EQ(refusalReason(dir.path()), QStringLiteral("it is not an ordinary file"));

    const QString message = refusedFilesMessage({newline, fifo});
    EXPECT_TRUE(message.startsWith(QStringLiteral("These files were not added:\n")));
    EXPECT_TRUE(message.contains(fifo + QStringLiteral(": it is not an ordinary file.")));
    EXPECT_TRUE(message.contains(QStringLiteral("Rename them")));
}

} // namespace
} // namespace vidora
