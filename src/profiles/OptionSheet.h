#pragma once

#include "profiles/OptionValues.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace vidora {

class OptionCategory;

// The two kinds of item, with the codes the sheet has always used for them.
enum class OptionKind : int {
    Text = 8,  // a value without choices
    List = 245 // the user picks the value from the item's choices
};

// One row of the option sheet. Only the sheet changes it; everybody else reads it.
class OptionItem {
public:
    OptionItem(const OptionItem&) = delete;
    OptionItem& operator=(const OptionItem&) = delete;

    OptionCategory* category() const { return m_category; }
    const QString& caption() const { return m_caption; }
    const QString& value() const { return m_value; }
    OptionKind kind() const { return m_kind; }
    // In the order they were added; a choice added twice is held twice.
    const QStringList& choices() const { return m_choices; }
    bool isDisplayOnly() const { return m_displayOnly; }

private:
    friend class OptionSheet;
    OptionItem(OptionCategory* category, const QString& caption, const QString& value,
               OptionKind kind);

    OptionCategory* m_category;
    QString m_caption;
    QString m_value;
    OptionKind m_kind;
    QStringList m_choices;
    bool m_displayOnly = false;
};

// A titled group of items, shown in the order the items were added.
class OptionCategory {
public:
    OptionCategory(const OptionCategory&) = delete;
    OptionCategory& operator=(const OptionCategory&) = delete;

    const QString& caption() const { return m_caption; }
    // The flag the sheet is built with (always true): the category starts open.
    bool isExpanded() const { return m_expanded; }
    int itemCount() const;
    // The item at a 0-based position, nullptr outside the items.
    OptionItem* item(int position) const;
    // The position of an item of this category, -1 for any other.
    int position(const OptionItem* item) const;

private:
    friend class OptionSheet;
    OptionCategory(const QString& caption, bool expanded);

    QString m_caption;
    bool m_expanded;
    std::vector<std::unique_ptr<OptionItem>> m_items;
};

// The model of the option sheet `PS1`: the only store of the output's video and audio values.
// Categories and items are addressed by caption; a caption that is not there gives nullptr,
// and every operation given nullptr does nothing and reports false, so callers decide
// whether a missing item skips one step or ends what they are doing.
// Handles stay valid until `ClearCategories`.
class OptionSheet : public QObject {
    Q_OBJECT

public:
    explicit OptionSheet(QObject* parent = nullptr);
    ~OptionSheet() override;

    // The picture list the sheet may draw from; named only, the sheet itself draws nothing.
    void SetImageList(const QString& imageList);
    const QString& imageList() const { return m_imageList; }

    void ClearCategories();
    OptionCategory* AddCategory(const QString& caption, bool expanded);
    // nullptr when category is nullptr.
    OptionItem* AddItem(OptionCategory* category, const QString& caption, const QString& value,
                        OptionKind kind);

    // The first category or item with exactly this caption, or nullptr.
    OptionCategory* FindCategory(const QString& caption) const;
    OptionItem* FindItem(const OptionCategory* category, const QString& caption) const;
    // The item with this caption in the category with that caption, or nullptr.
    OptionItem* itemAt(const QString& category, const QString& caption) const;

    // A text item has no choices: both refuse it.
    bool ClearChoices(OptionItem* item);
    bool AddChoice(OptionItem* item, const QString& choice);

    std::optional<QString> GetValue(const OptionItem* item) const;
    // Any text is accepted, whether or not it is one of the item's choices.
    bool SetValue(OptionItem* item, const QString& value);
    // The user can no longer edit the item; the program still can.
    bool SetDisplayOnly(OptionItem* item);

    int categoryCount() const;
    // The category at a 0-based position, nullptr outside the categories.
    OptionCategory* category(int position) const;
    // The position of a category of this sheet, -1 for any other.
    int position(const OptionCategory* category) const;

signals:
    // Before ClearCategories drops the categories; their handles are still valid here.
    void categoriesAboutToBeCleared();
    void categoriesCleared();
    void categoryAdded(vidora::OptionCategory* category);
    void itemAdded(vidora::OptionItem* item);
    void valueChanged(vidora::OptionItem* item);
    void choicesChanged(vidora::OptionItem* item);
    void displayOnlyChanged(vidora::OptionItem* item);

private:
    QString m_imageList;
    std::vector<std::unique_ptr<OptionCategory>> m_categories;
};

// Builds the sheet as the program starts with it: four categories, fifteen items, their
// default values and choices, and the four display-only items of "General" and
// "Output Duration".
void prolist(OptionSheet& sheet);

// The ten values a conversion reads, looked up in this order: "Video Codec", "Aspect Ratio",
// "Video Size", "Video Bitrate", "Video Framerate" of "Video Options", then "Audio Codec",
// "Disable Audio", "Audio Bitrate", "Sample Rate", "Audio Channel" of "Audio Options".
// Empty when any of them cannot be found.
std::optional<OptionValues> readOptionValues(const OptionSheet& sheet);

} // namespace vidora
