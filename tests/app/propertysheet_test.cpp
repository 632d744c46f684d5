#include "app/PropertySheet.h"
#include "profiles/OptionSheet.h"
#include "profiles/OptionSheetModel.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace vidora {
namespace {

OptionItem* find(const OptionSheet& sheet, const char* category, const char* caption) {
    return sheet.itemAt(QString::fromLatin1(category), QString::fromLatin1(caption));
}

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// The sheet is built after the view exists, as the main window does.
class PropertySheetTest : public ::testing::Test {
protected:
    PropertySheetTest() : m_view(m_sheet) {
        m_view.resize(400, 500);
        prolist(m_sheet);
        m_view.show();
    }
    QModelIndex valueOf(const char* category, const char* caption) const {
        return qobject_cast<const OptionSheetModel*>(m_view.model())
            ->indexOf(find(m_sheet, category, caption));
    }

    OptionSheet m_sheet;
    PropertySheet m_view;
};

TEST_F(PropertySheetTest, ShowsEveryCategoryOpenAcrossBothColumns) {
    EXPECT_EQ(m_view.objectName(), QStringLiteral("PS1"));
    const QAbstractItemModel* model = m_view.model();
    ASSERT_EQ(model->rowCount(), 4);
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex category = model->index(row, 0);
        SCOPED_TRACE(category.data().toString().toStdString());
        EXPECT_TRUE(m_view.isExpanded(category));
        EXPECT_TRUE(m_view.isFirstColumnSpanned(row, QModelIndex()));
        EXPECT_GT(model->rowCount(category), 0);
    }

    // Built again, the sheet shows again the same way.
    prolist(m_sheet);
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_TRUE(m_view.isExpanded(model->index(3, 0)));
    EXPECT_TRUE(m_view.isFirstColumnSpanned(3, QModelIndex()));
}

TEST_F(PropertySheetTest, AListValueIsPickedFromItsChoicesAndGoesToTheSheet) {
    const QModelIndex codec = valueOf("Video Options", "Video Codec");
    m_view.setCurrentIndex(codec);
    auto* box = m_view.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr) << "no editor opened on the value";
    EXPECT_EQ(comboItems(box), (QStringList{"xvid", "mpeg4", "x264"}));
    EXPECT_EQ(box->currentText(), QStringLiteral("xvid"));

    box->setCurrentText(QStringLiteral("x264"));
    m_view.setCurrentIndex(valueOf("Audio Options", "Audio Codec")); // leaving commits the pick
    EXPECT_EQ(m_sheet.GetValue(find(m_sheet, "Video Options", "Video Codec")),
              QStringLiteral("x264"));
    EXPECT_EQ(codec.data().toString(), QStringLiteral("x264"));
}

TEST_F(PropertySheetTest, AChoiceHeldTwiceShowsTwiceAndAValueOutsideTheChoicesPicksNone) {
    OptionItem* size = find(m_sheet, "Video Options", "Video Size");
    m_sheet.AddChoice(size, QStringLiteral("320x240"));
    m_sheet.SetValue(size, QStringLiteral("1x1"));
    m_view.setCurrentIndex(valueOf("Video Options", "Video Size"));
    auto* box = m_view.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->count(), 5);
    EXPECT_EQ(box->currentIndex(), -1);
    // Leaving without a pick keeps the value.
    m_view.setCurrentIndex(valueOf("Audio Options", "Audio Codec"));
    EXPECT_EQ(m_sheet.GetValue(size), QStringLiteral("1x1"));
}

TEST_F(PropertySheetTest, DisplayOnlyValuesAndCaptionsOpenNoEditor) {
    m_view.setCurrentIndex(valueOf("Output Duration", "Start Time"));
    EXPECT_EQ(m_view.viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(m_view.viewport()->findChild<QComboBox*>(), nullptr);
    m_view.setCurrentIndex(valueOf("Video Options", "Video Codec").siblingAtColumn(0));
    EXPECT_EQ(m_view.viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(m_view.viewport()->findChild<QComboBox*>(), nullptr);
}

} // namespace
} // namespace vidora
