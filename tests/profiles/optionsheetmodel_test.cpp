#include "profiles/OptionSets.h"
#include "profiles/OptionSheet.h"
#include "profiles/OptionSheetModel.h"
#include "support/QtPrinters.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace vidora {
namespace {

constexpr int kCaption = OptionSheetModel::kCaptionColumn;
constexpr int kValue = OptionSheetModel::kValueColumn;

OptionItem* find(const OptionSheet& sheet, const char* category, const char* caption) {
    return sheet.itemAt(QString::fromLatin1(category), QString::fromLatin1(caption));
}

// The model shows exactly what the sheet holds, row by row.
void expectMirrors(const OptionSheetModel& model, const OptionSheet& sheet) {
    ASSERT_EQ(model.rowCount(), sheet.categoryCount());
    for (int c = 0; c < sheet.categoryCount(); ++c) {
        const OptionCategory* category = sheet.category(c);
        const QModelIndex row = model.index(c, kCaption);
        EXPECT_EQ(row.data().toString(), category->caption());
        EXPECT_FALSE(model.index(c, kValue).data().isValid());
        EXPECT_EQ(model.itemAt(row), nullptr);
        ASSERT_EQ(model.rowCount(row), category->itemCount());
        for (int i = 0; i < category->itemCount(); ++i) {
            const OptionItem* item = category->item(i);
            SCOPED_TRACE(item->caption().toStdString());
            EXPECT_EQ(model.index(i, kCaption, row).data().toString(), item->caption());
            EXPECT_EQ(model.index(i, kValue, row).data().toString(), item->value());
            EXPECT_EQ(model.itemAt(model.index(i, kValue, row)), item);
            EXPECT_EQ(model.indexOf(item), model.index(i, kValue, row));
            EXPECT_EQ(model.indexOf(item).parent(), row);
        }
    }
}

TEST(OptionSheetModel, FollowsTheSheetThroughBuildsChangesAndClears) {
    OptionSheet sheet;
    OptionSheetModel model(&sheet);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.headerData(kCaption, Qt::Horizontal).toString(), QStringLiteral("Property"));
    EXPECT_EQ(model.headerData(kValue, Qt::Horizontal).toString(), QStringLiteral("Value"));

    prolist(sheet);
    expectMirrors(model, sheet);
    EXPECT_EQ(model.rowCount(), 4);

    for (int row : {26, 34, 88, 95})
        applyOptionSet(sheet, row);
    expectMirrors(model, sheet);

    prolist(sheet); // cleared and built again
    expectMirrors(model, sheet);
    sheet.ClearCategories();
    EXPECT_EQ(model.rowCount(), 0);

    // A model made over a sheet that is already built shows it as well.
    prolist(sheet);
    OptionSheetModel late(&sheet);
    expectMirrors(late, sheet);
}

TEST(OptionSheetModel, AnnouncesAValueChangeOnItsRowOnly) {
    OptionSheet sheet;
    prolist(sheet);
    OptionSheetModel model(&sheet);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    OptionItem* size = find(sheet, "Video Options", "Video Size");
    sheet.SetValue(size, QStringLiteral("640x480"));
    sheet.SetValue(size, QStringLiteral("640x480")); // no change, nothing announced
    ASSERT_EQ(changed.size(), 1);
    const QModelIndex from = changed[0][0].value<QModelIndex>();
    const QModelIndex to = changed[0][1].value<QModelIndex>();
    EXPECT_EQ(model.itemAt(from), size);
    EXPECT_EQ(to, model.indexOf(size, kValue));
    EXPECT_EQ(to.data().toString(), QStringLiteral("640x480"));

    sheet.AddChoice(size, QStringLiteral("800x600"));
    sheet.SetDisplayOnly(size);
    EXPECT_EQ(changed.size(), 3);
    EXPECT_EQ(reset.size(), 0) << "a change is not a rebuild";
    EXPECT_EQ(inserted.size(), 0);
}

TEST(OptionSheetModel, EditsReachTheSheetOnlyWhereTheUserMayEdit) {
    OptionSheet sheet;
    prolist(sheet);
    OptionSheetModel model(&sheet);
    OptionItem* codec = find(sheet, "Video Options", "Video Codec");
    OptionItem* start = find(sheet, "Output Duration", "Start Time");

    const QModelIndex codecValue = model.indexOf(codec, kValue);
    EXPECT_TRUE(model.flags(codecValue) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(codecValue, QStringLiteral("x264")));
    EXPECT_EQ(sheet.GetValue(codec), QStringLiteral("x264"));

    // Display-only values, captions and category rows refuse the user's edit.
    EXPECT_FALSE(model.flags(model.indexOf(start, kValue)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.indexOf(start, kValue), QStringLiteral("0:01:00")));
    EXPECT_EQ(sheet.GetValue(start), QStringLiteral("00:00:00"));
    EXPECT_FALSE(model.flags(model.indexOf(codec, kCaption)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.indexOf(codec, kCaption), QStringLiteral("Codec")));
    EXPECT_EQ(codec->caption(), QStringLiteral("Video Codec"));
    EXPECT_FALSE(model.flags(model.index(0, kCaption)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, kCaption), QStringLiteral("Other")));
    EXPECT_EQ(sheet.category(0)->caption(), QStringLiteral("General"));
    EXPECT_FALSE(model.flags(model.index(0, kCaption)) & Qt::ItemIsSelectable);

    // The program can still change a display-only value, and the model shows it.
    sheet.SetValue(start, QStringLiteral("0:02:00"));
    EXPECT_EQ(model.indexOf(start, kValue).data().toString(), QStringLiteral("0:02:00"));
}

TEST(OptionSheetModel, ValueToolTipsListTheChoicesWhenSwitchedOn) {
    OptionSheet sheet;
    prolist(sheet);
    OptionSheetModel model(&sheet);
    const QModelIndex codec = model.indexOf(find(sheet, "Video Options", "Video Codec"));
    const QModelIndex name = model.indexOf(find(sheet, "General", "Item Name"));
    EXPECT_FALSE(codec.data(Qt::ToolTipRole).isValid());

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setChoiceToolTips(true);
    EXPECT_EQ(changed.size(), 4) << "one announcement per category";
    EXPECT_EQ(codec.data(Qt::ToolTipRole).toString(), QStringLiteral("xvid, mpeg4, x264"));
    EXPECT_FALSE(name.data(Qt::ToolTipRole).isValid()) << "a text item has no choices";
    EXPECT_FALSE(codec.siblingAtColumn(kCaption).data(Qt::ToolTipRole).isValid());

    sheet.AddChoice(find(sheet, "Video Options", "Video Codec"), QStringLiteral("xvid"));
    EXPECT_EQ(codec.data(Qt::ToolTipRole).toString(), QStringLiteral("xvid, mpeg4, x264, xvid"));
}

TEST(OptionSheetModel, OutlivesItsSheet) {
    auto sheet = std::make_unique<OptionSheet>();
    prolist(*sheet);
    OptionSheetModel model(sheet.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QPersistentModelIndex codec = model.indexOf(find(*sheet, "Video Options", "Video Codec"));
    sheet.reset();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(codec.isValid());
    EXPECT_FALSE(model.setData(model.index(2, kValue), QStringLiteral("x")));
}

} // namespace
} // namespace vidora
