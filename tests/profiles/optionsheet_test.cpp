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
    const char* value;
    QStringList choices;
    bool displayOnly;
};

// The sheet as the program starts with it, item by item in the order shown.
const std::vector<BuiltItem>& builtSheet() {
    static const std::vector<BuiltItem> items{
        {"General", "Item Name", OptionKind::Text, "Auto", {}, true},
        {"Output Duration", "All Clip Duration", OptionKind::Text, "00:00:00", {}, true},
        {"Output Duration", "Start Time", OptionKind::Text, "00:00:00", {}, true},
        {"Output Duration", "Stop Time", OptionKind::Text, "00:00:00", {}, true},
        {"Video Options",
         "Video Codec",
         OptionKind::List,
         "xvid",
         {"xvid", "mpeg4", "x264"},
         false},
        {"Video Options",
         "Video Size",
         OptionKind::List,
         "320x240",
         {"320x240", "480x270", "480x320", "640x480"},
         false},
        {"Video Options",
         "Video Bitrate",
         OptionKind::List,
         "256",
         {"48", "64", "128", "192", "256", "512", "768", "1000", "1500", "1152", "2500"},
         false},
        {"Video Options",
         "Video Framerate",
         OptionKind::List,
         "29.97",
         {"Auto", "8", "10", "12", "15", "23.976", "24", "25", "29.97", "30"},
         false},
        {"Video Options", "Aspect Ratio", OptionKind::List, "4:3", {"4:3", "16:9"}, false},
        {"Audio Options", "Audio Codec", OptionKind::List, "aac", {"aac", "mp3", "ogg"}, false},
        {"Audio Options",
         "Audio Bitrate",
         OptionKind::List,
         "128",
         {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224", "256",
          "320"},
         false},
        {"Audio Options",
         "Sample Rate",
         OptionKind::List,
         "44100",
         {"8000", "11025", "22050", "24000", "32000", "44100", "48000"},
         false},
        {"Audio Options", "Audio Channel", OptionKind::List, "2", {"1", "2"}, false},
        {"Audio Options", "Disable Audio", OptionKind::List, "No", {"No", "Yes"}, false},
        {"Audio Options", "A/V Sync", OptionKind::List, "Basic", {"Basic", "Default"}, false},
    };
    return items;
}

OptionItem* find(const OptionSheet& sheet, const char* category, const char* caption) {
    return sheet.itemAt(QString::fromLatin1(category), QString::fromLatin1(caption));
}

TEST(Prolist, BuildsTheFourCategoriesAndFifteenItemsInOrder) {
    OptionSheet sheet;
    prolist(sheet);

    const QList<OptionCategory*> categories = sheet.categories();
    ASSERT_EQ(categories.size(), 4);
    const QStringList expectedCategories{"General", "Output Duration", "Video Options",
                                         "Audio Options"};
    std::size_t next = 0;
    for (int c = 0; c < categories.size(); ++c) {
        EXPECT_EQ(categories[c]->caption(), expectedCategories[c]);
        EXPECT_TRUE(categories[c]->isExpanded());
        for (OptionItem* item : categories[c]->items()) {
            ASSERT_LT(next, builtSheet().size());
            const BuiltItem& expected = builtSheet()[next++];
            SCOPED_TRACE(expected.caption);
            EXPECT_EQ(categories[c]->caption(), QString::fromLatin1(expected.category));
            EXPECT_EQ(item->caption(), QString::fromLatin1(expected.caption));
            EXPECT_EQ(item->category(), categories[c]);
            EXPECT_EQ(item->kind(), expected.kind);
            EXPECT_EQ(item->value(), QString::fromLatin1(expected.value));
            EXPECT_EQ(item->choices(), expected.choices);
            EXPECT_EQ(item->isDisplayOnly(), expected.displayOnly);
        }
    }
    EXPECT_EQ(next, builtSheet().size());
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
    EXPECT_EQ(sheet.categories().size(), 4);
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
    EXPECT_TRUE(sheet.categories().isEmpty());
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
    EXPECT_TRUE(sheet.categories().isEmpty());
    EXPECT_EQ(sheet.FindCategory(QStringLiteral("Video Options")), nullptr);
    EXPECT_FALSE(readOptionValues(sheet).has_value());
}

TEST(OptionSheet, AnnouncesEveryChangeAViewMustMirror) {
    OptionSheet sheet;
    int cleared = 0;
    std::vector<OptionCategory*> categoriesAdded;
    std::vector<OptionItem*> itemsAdded;
    std::vector<OptionItem*> values;
    std::vector<OptionItem*> choices;
    std::vector<OptionItem*> displayOnly;
    QObject::connect(&sheet, &OptionSheet::categoriesCleared, [&] { ++cleared; });
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

    sheet.ClearCategories();
    EXPECT_EQ(cleared, 1);

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
    for (const BuiltItem& leftOut : builtSheet()) {
        if (!QByteArray(leftOut.category).endsWith("Options"))
            continue;
        const bool read = QByteArray(leftOut.caption) != "A/V Sync";
        SCOPED_TRACE(leftOut.caption);
        OptionSheet sheet;
        for (const BuiltItem& built : builtSheet()) {
            if (&built == &leftOut)
                continue;
            const QString category = QString::fromLatin1(built.category);
            OptionCategory* target = sheet.FindCategory(category);
            if (!target)
                target = sheet.AddCategory(category, true);
            sheet.AddItem(target, QString::fromLatin1(built.caption),
                          QString::fromLatin1(built.value), built.kind);
        }
        EXPECT_EQ(readOptionValues(sheet).has_value(), !read);
    }
}

} // namespace
} // namespace vidora
