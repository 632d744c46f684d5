#include "profiles/OptionSheet.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <vector>

namespace vidora {
namespace {

struct BuiltItem {
    const char* category;
    const char* caption;
    OptionKind kind;
    const char* value; // the default
    bool displayOnly;
};

// What the sheet must hold as the program starts: every category and item in the order shown,
// with its kind and default. The choices are checked for what they must satisfy, not copied.
constexpr BuiltItem kBuiltSheet[] = {
    {"General", "Item Name", OptionKind::Text, "Auto", true},
    {"Output Duration", "All Clip Duration", OptionKind::Text, "00:00:00", true},
    {"Output Duration", "Start Time", OptionKind::Text, "00:00:00", true},
    {"Output Duration", "Stop Time", OptionKind::Text, "00:00:00", true},
    {"Video Options", "Video Codec", OptionKind::List, "xvid", false},
    {"Video Options", "Video Size", OptionKind::List, "320x240", false},
    {"Video Options", "Video Bitrate", OptionKind::List, "256", false},
    {"Video Options", "Video Framerate", OptionKind::List, "29.97", false},
    {"Video Options", "Aspect Ratio", OptionKind::List, "4:3", false},
    {"Audio Options", "Audio Codec", OptionKind::List, "aac", false},
    {"Audio Options", "Audio Bitrate", OptionKind::List, "128", false},
    {"Audio Options", "Sample Rate", OptionKind::List, "44100", false},
    {"Audio Options", "Audio Channel", OptionKind::List, "2", false},
    {"Audio Options", "Disable Audio", OptionKind::List, "No", false},
    {"Audio Options", "A/V Sync", OptionKind::List, "Basic", false},
};

OptionItem* find(const OptionSheet& sheet, const char* category, const char* caption) {
    return sheet.itemAt(QString::fromLatin1(category), QString::fromLatin1(caption));
}

TEST(Prolist, BuildsEveryCategoryAndItemInOrderWithItsDefault) {
    OptionSheet sheet;
    prolist(sheet);

    std::size_t next = 0;
    QStringList categories;
    for (int c = 0; c < sheet.categoryCount(); ++c) {
        OptionCategory* category = sheet.category(c);
        categories << category->caption();
        EXPECT_TRUE(category->isExpanded());
        EXPECT_EQ(sheet.position(category), c);
        for (int i = 0; i < category->itemCount(); ++i) {
            OptionItem* item = category->item(i);
            ASSERT_LT(next, std::size(kBuiltSheet));
            const BuiltItem& expected = kBuiltSheet[next++];
            SCOPED_TRACE(expected.caption);
            EXPECT_EQ(category->caption(), QString::fromLatin1(expected.category));
            EXPECT_EQ(item->caption(), QString::fromLatin1(expected.caption));
            EXPECT_EQ(item->category(), category);
            EXPECT_EQ(category->position(item), i);
            EXPECT_EQ(item->kind(), expected.kind);
            EXPECT_EQ(item->value(), QString::fromLatin1(expected.value));
            EXPECT_EQ(item->isDisplayOnly(), expected.displayOnly);
            // A list item offers its default among its choices; a text item has none.
            if (item->kind() == OptionKind::List) {
                EXPECT_FALSE(item->choices().isEmpty());
                EXPECT_TRUE(item->choices().contains(item->value()));
            } else {
                EXPECT_TRUE(item->choices().isEmpty());
            }
        }
        EXPECT_EQ(category->item(category->itemCount()), nullptr);
        EXPECT_EQ(category->item(-1), nullptr);
    }
    EXPECT_EQ(next, std::size(kBuiltSheet));
    EXPECT_EQ(categories,
              (QStringList{"General", "Output Duration", "Video Options", "Audio Options"}));
    EXPECT_EQ(sheet.category(sheet.categoryCount()), nullptr);
    EXPECT_EQ(sheet.position(nullptr), -1);
    EXPECT_EQ(static_cast<int>(OptionKind::Text), 8);
    EXPECT_EQ(static_cast<int>(OptionKind::List), 245);
}

TEST(Prolist, DefaultsNeedNotBeTheFirstChoice) {
    OptionSheet sheet;
    prolist(sheet);
    const OptionItem* framerate = find(sheet, "Video Options", "Video Framerate");
    ASSERT_NE(framerate, nullptr);
    EXPECT_EQ(sheet.GetValue(framerate), QStringLiteral("29.97"));
    EXPECT_EQ(framerate->choices().first(), QStringLiteral("Auto"));

    const QStringList bitrates = find(sheet, "Video Options", "Video Bitrate")->choices();
    EXPECT_EQ(bitrates.indexOf(QStringLiteral("1152")),
              bitrates.indexOf(QStringLiteral("1500")) + 1);
}

TEST(Prolist, RebuildingStartsAfresh) {
    OptionSheet sheet;
    prolist(sheet);
    OptionItem* codec = find(sheet, "Video Options", "Video Codec");
    sheet.SetValue(codec, QStringLiteral("x264"));
    sheet.AddChoice(codec, QStringLiteral("extra"));

    prolist(sheet);
    EXPECT_EQ(sheet.categoryCount(), 4);
    codec = find(sheet, "Video Options", "Video Codec");
    ASSERT_NE(codec, nullptr);
    EXPECT_EQ(codec->value(), QStringLiteral("xvid"));
    EXPECT_EQ(codec->choices(), (QStringList{"xvid", "mpeg4", "x264"}));
    EXPECT_EQ(sheet.imageList(), QStringLiteral("ImageList1"));
}

TEST(OptionSheet, FindsOnlyExactCaptionsWithinTheirCategory) {
    OptionSheet sheet;
    prolist(sheet);

    EXPECT_NE(sheet.FindCategory(QStringLiteral("Video Options")), nullptr);
    EXPECT_EQ(sheet.FindCategory(QStringLiteral("video options")), nullptr);
    EXPECT_EQ(sheet.FindCategory(QStringLiteral("Video Options ")), nullptr);
    EXPECT_EQ(sheet.FindCategory(QStringLiteral("Basic")), nullptr);
    EXPECT_EQ(sheet.FindCategory(QString()), nullptr);

    const OptionCategory* general = sheet.FindCategory(QStringLiteral("General"));
    EXPECT_NE(sheet.FindItem(general, QStringLiteral("Item Name")), nullptr);
    EXPECT_EQ(sheet.FindItem(general, QStringLiteral("Video Codec")), nullptr);
    EXPECT_EQ(sheet.FindItem(general, QStringLiteral("item name")), nullptr);
    EXPECT_EQ(sheet.FindItem(nullptr, QStringLiteral("Item Name")), nullptr);
}

TEST(OptionSheet, EveryOperationOnAMissingItemFailsWithoutHarm) {
    OptionSheet sheet;
    EXPECT_EQ(sheet.AddItem(nullptr, QStringLiteral("Video Codec"), QStringLiteral("xvid"),
                            OptionKind::List),
              nullptr);
    EXPECT_FALSE(sheet.ClearChoices(nullptr));
    EXPECT_FALSE(sheet.AddChoice(nullptr, QStringLiteral("xvid")));
    EXPECT_FALSE(sheet.SetValue(nullptr, QStringLiteral("xvid")));
    EXPECT_FALSE(sheet.SetDisplayOnly(nullptr));
    EXPECT_FALSE(sheet.GetValue(nullptr).has_value());
    EXPECT_EQ(sheet.categoryCount(), 0);
}

TEST(OptionSheet, ChoicesKeepOrderAndDuplicatesAndAreIndependentOfTheValue) {
    OptionSheet sheet;
    OptionCategory* video = sheet.AddCategory(QStringLiteral("Video Options"), true);
    OptionItem* size = sheet.AddItem(video, QStringLiteral("Video Size"), QStringLiteral("720x480"),
                                     OptionKind::List);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(sheet.FindItem(video, QStringLiteral("Video Size")), size);

    for (const char* choice : {"720x480", "720x576", "320x240", "720x480", "720x576"})
        EXPECT_TRUE(sheet.AddChoice(size, QString::fromLatin1(choice)));
    EXPECT_EQ(size->choices(),
              (QStringList{"720x480", "720x576", "320x240", "720x480", "720x576"}));

    // A value outside the choices is accepted, and clearing the choices leaves the value.
    EXPECT_TRUE(sheet.SetValue(size, QStringLiteral("1x1")));
    EXPECT_TRUE(sheet.ClearChoices(size));
    EXPECT_TRUE(size->choices().isEmpty());
    EXPECT_EQ(sheet.GetValue(size), QStringLiteral("1x1"));
    EXPECT_TRUE(sheet.ClearChoices(size));
}

TEST(OptionSheet, TextItemsHaveNoChoicesButDisplayOnlyItemsTakeProgramValues) {
    OptionSheet sheet;
    prolist(sheet);
    OptionItem* start = find(sheet, "Output Duration", "Start Time");
    ASSERT_NE(start, nullptr);

    EXPECT_FALSE(sheet.AddChoice(start, QStringLiteral("0:00:00")));
    EXPECT_FALSE(sheet.ClearChoices(start));
    EXPECT_TRUE(start->choices().isEmpty());

    EXPECT_TRUE(start->isDisplayOnly());
    EXPECT_TRUE(sheet.SetValue(start, QStringLiteral("0:05:10")));
    EXPECT_EQ(sheet.GetValue(start), QStringLiteral("0:05:10"));
}

TEST(OptionSheet, ClearCategoriesRemovesEverything) {
    OptionSheet sheet;
    prolist(sheet);
    sheet.ClearCategories();
    EXPECT_EQ(sheet.categoryCount(), 0);
    EXPECT_EQ(sheet.FindCategory(QStringLiteral("Video Options")), nullptr);
    EXPECT_FALSE(readOptionValues(sheet).has_value());
}

TEST(OptionSheet, AnnouncesEveryChangeAViewMustMirror) {
    OptionSheet sheet;
    std::vector<int> cleared; // the categories there were when told before and after
    std::vector<OptionCategory*> categoriesAdded;
    std::vector<OptionItem*> itemsAdded;
    std::vector<OptionItem*> values;
    std::vector<OptionItem*> choices;
    std::vector<OptionItem*> displayOnly;
    QObject::connect(&sheet, &OptionSheet::categoriesAboutToBeCleared,
                     [&] { cleared.push_back(sheet.categoryCount()); });
    QObject::connect(&sheet, &OptionSheet::categoriesCleared,
                     [&] { cleared.push_back(sheet.categoryCount()); });
    QObject::connect(&sheet, &OptionSheet::categoryAdded,
                     [&](OptionCategory* c) { categoriesAdded.push_back(c); });
    QObject::connect(&sheet, &OptionSheet::itemAdded,
                     [&](OptionItem* i) { itemsAdded.push_back(i); });
    QObject::connect(&sheet, &OptionSheet::valueChanged,
                     [&](OptionItem* i) { values.push_back(i); });
    QObject::connect(&sheet, &OptionSheet::choicesChanged,
                     [&](OptionItem* i) { choices.push_back(i); });
    QObject::connect(&sheet, &OptionSheet::displayOnlyChanged,
                     [&](OptionItem* i) { displayOnly.push_back(i); });

    prolist(sheet);
    cleared.clear();
    sheet.ClearCategories();
    EXPECT_EQ(cleared, (std::vector<int>{4, 0}));
    categoriesAdded.clear();
    itemsAdded.clear();
    displayOnly.clear();
    values.clear();
    choices.clear();

    OptionCategory* audio = sheet.AddCategory(QStringLiteral("Audio Options"), true);
    EXPECT_EQ(categoriesAdded, (std::vector<OptionCategory*>{audio}));
    OptionItem* codec = sheet.AddItem(audio, QStringLiteral("Audio Codec"), QStringLiteral("aac"),
                                      OptionKind::List);
    OptionItem* name =
        sheet.AddItem(audio, QStringLiteral("Item Name"), QStringLiteral("Auto"), OptionKind::Text);
    EXPECT_EQ(itemsAdded, (std::vector<OptionItem*>{codec, name}));

    sheet.SetValue(codec, QStringLiteral("mp3"));
    sheet.SetValue(codec, QStringLiteral("mp3")); // no change, nothing to mirror
    EXPECT_EQ(values, (std::vector<OptionItem*>{codec}));

    sheet.ClearChoices(codec); // already empty
    sheet.AddChoice(codec, QStringLiteral("mp3"));
    sheet.AddChoice(codec, QStringLiteral("mp3"));
    sheet.ClearChoices(codec);
    sheet.AddChoice(name, QStringLiteral("refused"));
    EXPECT_EQ(choices, (std::vector<OptionItem*>{codec, codec, codec}));

    sheet.SetDisplayOnly(name);
    sheet.SetDisplayOnly(name);
    EXPECT_EQ(displayOnly, (std::vector<OptionItem*>{name}));
}

TEST(ReadOptionValues, ReadsTheTenValuesIntoTheirFields) {
    OptionSheet sheet;
    prolist(sheet);
    std::optional<OptionValues> values = readOptionValues(sheet);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->videoCodec, QStringLiteral("xvid"));
    EXPECT_EQ(values->aspectRatio, QStringLiteral("4:3"));
    EXPECT_EQ(values->videoSize, QStringLiteral("320x240"));
    EXPECT_EQ(values->videoBitrate, QStringLiteral("256"));
    EXPECT_EQ(values->frameRate, QStringLiteral("29.97"));
    EXPECT_EQ(values->audioCodec, QStringLiteral("aac"));
    EXPECT_EQ(values->disableAudio, QStringLiteral("No"));
    EXPECT_EQ(values->audioBitrate, QStringLiteral("128"));
    EXPECT_EQ(values->sampleRate, QStringLiteral("44100"));
    EXPECT_EQ(values->audioChannel, QStringLiteral("2"));

    // Distinct texts everywhere, so a field reading the wrong item shows.
    const std::vector<std::pair<const char*, const char*>> items{
        {"Video Options", "Video Codec"},     {"Video Options", "Aspect Ratio"},
        {"Video Options", "Video Size"},      {"Video Options", "Video Bitrate"},
        {"Video Options", "Video Framerate"}, {"Audio Options", "Audio Codec"},
        {"Audio Options", "Disable Audio"},   {"Audio Options", "Audio Bitrate"},
        {"Audio Options", "Sample Rate"},     {"Audio Options", "Audio Channel"}};
    for (const auto& [category, caption] : items)
        sheet.SetValue(find(sheet, category, caption), QString::fromLatin1(caption) + u'!');
    sheet.SetValue(find(sheet, "Audio Options", "A/V Sync"), QStringLiteral("Default"));

    values = readOptionValues(sheet);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->videoCodec, QStringLiteral("Video Codec!"));
    EXPECT_EQ(values->aspectRatio, QStringLiteral("Aspect Ratio!"));
    EXPECT_EQ(values->videoSize, QStringLiteral("Video Size!"));
    EXPECT_EQ(values->videoBitrate, QStringLiteral("Video Bitrate!"));
    EXPECT_EQ(values->frameRate, QStringLiteral("Video Framerate!"));
    EXPECT_EQ(values->audioCodec, QStringLiteral("Audio Codec!"));
    EXPECT_EQ(values->disableAudio, QStringLiteral("Disable Audio!"));
    EXPECT_EQ(values->audioBitrate, QStringLiteral("Audio Bitrate!"));
    EXPECT_EQ(values->sampleRate, QStringLiteral("Sample Rate!"));
    EXPECT_EQ(values->audioChannel, QStringLiteral("Audio Channel!"));
}

TEST(ReadOptionValues, AnyMissingItemGivesNoValues) {
    // Each video and audio item left out in turn: without one of the ten read ones there are
    // no values; without "A/V Sync", which nobody reads, there are.
    OptionSheet built;
    prolist(built);
    for (const BuiltItem& leftOut : kBuiltSheet) {
        if (!QByteArray(leftOut.category).endsWith("Options"))
            continue;
        const bool read = QByteArray(leftOut.caption) != "A/V Sync";
        SCOPED_TRACE(leftOut.caption);
        OptionSheet sheet;
        for (int c = 0; c < built.categoryCount(); ++c) {
            const OptionCategory* category = built.category(c);
            OptionCategory* copy = sheet.AddCategory(category->caption(), true);
            for (int i = 0; i < category->itemCount(); ++i) {
                const OptionItem* item = category->item(i);
                if (item->caption() != QString::fromLatin1(leftOut.caption))
                    sheet.AddItem(copy, item->caption(), item->value(), item->kind());
            }
        }
        EXPECT_EQ(readOptionValues(sheet).has_value(), !read);
    }
}

} // namespace
} // namespace vidora
