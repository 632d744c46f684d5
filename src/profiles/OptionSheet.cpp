#include "profiles/OptionSheet.h"

#include <array>
#include <vector>

namespace vidora {

namespace {

// Categories and items are held in order, each by its owner; these look one up by position.
template <typename T> T* entryAt(const std::vector<std::unique_ptr<T>>& entries, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= entries.size())
        return nullptr;
    return entries[static_cast<std::size_t>(position)].get();
}

template <typename T>
int positionOf(const std::vector<std::unique_ptr<T>>& entries, const T* entry) {
    for (std::size_t at = 0; at < entries.size(); ++at) {
        if (entries[at].get() == entry)
            return static_cast<int>(at);
    }
    return -1;
}

} // namespace

OptionItem::OptionItem(OptionCategory* category, const QString& caption, const QString& value,
                       OptionKind kind)
    : m_category(category), m_caption(caption), m_value(value), m_kind(kind) {}

OptionCategory::OptionCategory(const QString& caption, bool expanded)
    : m_caption(caption), m_expanded(expanded) {}

int OptionCategory::itemCount() const {
    return static_cast<int>(m_items.size());
}

OptionItem* OptionCategory::item(int position) const {
    return entryAt(m_items, position);
}

int OptionCategory::position(const OptionItem* item) const {
    return positionOf(m_items, item);
}

OptionSheet::OptionSheet(QObject* parent) : QObject(parent) {}

OptionSheet::~OptionSheet() = default;

void OptionSheet::SetImageList(const QString& imageList) {
    m_imageList = imageList;
}

void OptionSheet::ClearCategories() {
    emit categoriesAboutToBeCleared();
    m_categories.clear();
    emit categoriesCleared();
}

OptionCategory* OptionSheet::AddCategory(const QString& caption, bool expanded) {
    m_categories.push_back(std::unique_ptr<OptionCategory>(new OptionCategory(caption, expanded)));
    OptionCategory* category = m_categories.back().get();
    emit categoryAdded(category);
    return category;
}

OptionItem* OptionSheet::AddItem(OptionCategory* category, const QString& caption,
                                 const QString& value, OptionKind kind) {
    if (!category)
        return nullptr;
    category->m_items.push_back(
        std::unique_ptr<OptionItem>(new OptionItem(category, caption, value, kind)));
    OptionItem* item = category->m_items.back().get();
    emit itemAdded(item);
    return item;
}

OptionCategory* OptionSheet::FindCategory(const QString& caption) const {
    for (const auto& category : m_categories) {
        if (category->m_caption == caption)
            return category.get();
    }
    return nullptr;
}

OptionItem* OptionSheet::itemAt(const QString& category, const QString& caption) const {
    return FindItem(FindCategory(category), caption);
}

OptionItem* OptionSheet::FindItem(const OptionCategory* category, const QString& caption) const {
    if (!category)
        return nullptr;
    for (const auto& item : category->m_items) {
        if (item->m_caption == caption)
            return item.get();
    }
    return nullptr;
}

bool OptionSheet::ClearChoices(OptionItem* item) {
    if (!item || item->m_kind != OptionKind::List)
        return false;
    if (!item->m_choices.isEmpty()) {
        item->m_choices.clear();
        emit choicesChanged(item);
    }
    return true;
}

bool OptionSheet::AddChoice(OptionItem* item, const QString& choice) {
    if (!item || item->m_kind != OptionKind::List)
        return false;
    item->m_choices.append(choice);
    emit choicesChanged(item);
    return true;
}

std::optional<QString> OptionSheet::GetValue(const OptionItem* item) const {
    if (!item)
        return std::nullopt;
    return item->m_value;
}

bool OptionSheet::SetValue(OptionItem* item, const QString& value) {
    if (!item)
        return false;
    // Only a real change is announced, so a view that writes the user's pick back here
    // is not told about its own edit again.
    if (item->m_value != value) {
        item->m_value = value;
        emit valueChanged(item);
    }
    return true;
}

bool OptionSheet::SetDisplayOnly(OptionItem* item) {
    if (!item)
        return false;
    if (!item->m_displayOnly) {
        item->m_displayOnly = true;
        emit displayOnlyChanged(item);
    }
    return true;
}

int OptionSheet::categoryCount() const {
    return static_cast<int>(m_categories.size());
}

OptionCategory* OptionSheet::category(int position) const {
    return entryAt(m_categories, position);
}

int OptionSheet::position(const OptionCategory* category) const {
    return positionOf(m_categories, category);
}

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kOutputDuration = QStringLiteral("Output Duration");
const QString kVideoOptions = QStringLiteral("Video Options");
const QString kAudioOptions = QStringLiteral("Audio Options");

struct InitialItem {
    const QString& category;
    const char* caption;
    OptionKind kind;
    const char* value;
    std::vector<const char*> choices;
    bool displayOnly;
};

// The sheet as the program starts with it, in the order it is shown. The defaults need not
// be the first choice ("29.97"), and "1152" does come after "1500".
const std::array<InitialItem, 15>& initialItems() {
    static const std::array<InitialItem, 15> items{{
        {kGeneral, "Item Name", OptionKind::Text, "Auto", {}, true},
        {kOutputDuration, "All Clip Duration", OptionKind::Text, "00:00:00", {}, true},
        {kOutputDuration, "Start Time", OptionKind::Text, "00:00:00", {}, true},
        {kOutputDuration, "Stop Time", OptionKind::Text, "00:00:00", {}, true},
        {kVideoOptions, "Video Codec", OptionKind::List, "xvid", {"xvid", "mpeg4", "x264"}, false},
        {kVideoOptions,
         "Video Size",
         OptionKind::List,
         "320x240",
         {"320x240", "480x270", "480x320", "640x480"},
         false},
        {kVideoOptions,
         "Video Bitrate",
         OptionKind::List,
         "256",
         {"48", "64", "128", "192", "256", "512", "768", "1000", "1500", "1152", "2500"},
         false},
        {kVideoOptions,
         "Video Framerate",
         OptionKind::List,
         "29.97",
         {"Auto", "8", "10", "12", "15", "23.976", "24", "25", "29.97", "30"},
         false},
        {kVideoOptions, "Aspect Ratio", OptionKind::List, "4:3", {"4:3", "16:9"}, false},
        {kAudioOptions, "Audio Codec", OptionKind::List, "aac", {"aac", "mp3", "ogg"}, false},
        {kAudioOptions,
         "Audio Bitrate",
         OptionKind::List,
         "128",
         {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224", "256",
          "320"},
         false},
        {kAudioOptions,
         "Sample Rate",
         OptionKind::List,
         "44100",
         {"8000", "11025", "22050", "24000", "32000", "44100", "48000"},
         false},
        {kAudioOptions, "Audio Channel", OptionKind::List, "2", {"1", "2"}, false},
        {kAudioOptions, "Disable Audio", OptionKind::List, "No", {"No", "Yes"}, false},
        {kAudioOptions, "A/V Sync", OptionKind::List, "Basic", {"Basic", "Default"}, false},
    }};
    return items;
}

} // namespace

void prolist(OptionSheet& sheet) {
    sheet.SetImageList(QStringLiteral("ImageList1"));
    sheet.ClearCategories();

    OptionCategory* category = nullptr;
    for (const InitialItem& initial : initialItems()) {
        if (!category || category->caption() != initial.category)
            category = sheet.AddCategory(initial.category, true);
        OptionItem* item = sheet.AddItem(category, QString::fromLatin1(initial.caption),
                                         QString::fromLatin1(initial.value), initial.kind);
        for (const char* choice : initial.choices)
            sheet.AddChoice(item, QString::fromLatin1(choice));
    }

    // Marked only once everything is in place, as the sheet has always been built.
    for (const InitialItem& initial : initialItems()) {
        if (initial.displayOnly)
            sheet.SetDisplayOnly(
                sheet.itemAt(initial.category, QString::fromLatin1(initial.caption)));
    }
}

std::optional<OptionValues> readOptionValues(const OptionSheet& sheet) {
    const OptionCategory* video = sheet.FindCategory(kVideoOptions);
    const OptionCategory* audio = sheet.FindCategory(kAudioOptions);

    struct Read {
        const OptionCategory* category;
        const char* caption;
        QString OptionValues::*field;
    };
    // The order in which a conversion has always read them.
    const std::array<Read, 10> reads{{
        {video, "Video Codec", &OptionValues::videoCodec},
        {video, "Aspect Ratio", &OptionValues::aspectRatio},
        {video, "Video Size", &OptionValues::videoSize},
        {video, "Video Bitrate", &OptionValues::videoBitrate},
        {video, "Video Framerate", &OptionValues::frameRate},
        {audio, "Audio Codec", &OptionValues::audioCodec},
        {audio, "Disable Audio", &OptionValues::disableAudio},
        {audio, "Audio Bitrate", &OptionValues::audioBitrate},
        {audio, "Sample Rate", &OptionValues::sampleRate},
        {audio, "Audio Channel", &OptionValues::audioChannel},
    }};

    OptionValues values;
    for (const Read& read : reads) {
        const std::optional<QString> value =
            sheet.GetValue(sheet.FindItem(read.category, QString::fromLatin1(read.caption)));
        if (!value)
            return std::nullopt;
        values.*read.field = *value;
    }
    return values;
}

} // namespace vidora
