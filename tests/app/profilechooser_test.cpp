#include "app/ImageList.h"
#include "app/MainWindow.h"
#include "app/ProfileChooser.h"
#include "profiles/Catalogue.h"
#include "support/ProgramFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vidora;

TEST(ProfileChooser, ShowsTheCatalogueWithFamilyPictures) {
    const ImageList pictures = ImageList::load(QStringLiteral(VIDORA_PROGRAM_DIR));
    ASSERT_FALSE(pictures.icon(Catalogue::kPictureCount).isNull());
    EXPECT_TRUE(pictures.icon(Catalogue::kPictureCount + 1).isNull());
    ProfileChooser chooser;
    chooser.buildCatalogue(pictures);
    ASSERT_EQ(chooser.count(), 101);
    EXPECT_EQ(chooser.selectedItemNumber(), 0);
    EXPECT_EQ(chooser.itemText(0), QStringLiteral("Apple iPad"));
    EXPECT_EQ(chooser.itemText(100), QStringLiteral("M4A Audio(*.m4a)"));
    EXPECT_FALSE(chooser.itemIcon(0).isNull()) << "header rows carry their picture";
    EXPECT_FALSE(chooser.itemIcon(94).isNull());
    EXPECT_TRUE(chooser.itemIcon(1).isNull()) << "profile rows carry none";
}

TEST(ProfileChooser, SelectsOnlyItemNumbersThatNameARow) {
    ProfileChooser chooser;
    chooser.buildCatalogue(ImageList());
    chooser.selectItemNumber(1);
    EXPECT_EQ(chooser.selectedCaption(), QStringLiteral("Apple iPad"));
    chooser.selectItemNumber(101);
    EXPECT_EQ(chooser.selectedItemNumber(), 101);
    EXPECT_EQ(chooser.selectedCaption(), QStringLiteral("M4A Audio(*.m4a)"));
    for (int none : {0, 102, -3}) {
        chooser.selectItemNumber(none);
        EXPECT_EQ(chooser.selectedItemNumber(), 0) << none;
        EXPECT_TRUE(chooser.selectedCaption().isEmpty()) << none;
    }
}

TEST(ProfileChooser, ReportsTheChosenRowAsProfileIndex) {
    ProfileChooser chooser;
    chooser.buildCatalogue(ImageList());
    QSignalSpy chosen(&chooser, &ProfileChooser::rowChosen);
    emit chooser.activated(25);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 25);
    // Selecting from code is not a choice of the user.
    chooser.selectItemNumber(12);
    EXPECT_EQ(chosen.count(), 0);
}

TEST(MainWindow, BuildsTheChooserWhenItLoads) {
    const test::ProgramFolder folder(QStringLiteral(VIDORA_PROGRAM_DIR));
    MainWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vidora"));
    EXPECT_EQ(window.profileChooser()->count(), 101);
    EXPECT_FALSE(window.profileChooser()->itemIcon(5).isNull());
}
