#pragma once

#include <QString>

namespace vidora {

class Settings;

// What the settings dialog shows and stores, without its window.
struct SettingsFormValues {
    QString outputFolder;   // the folder box
    bool overwrite = false; // "Overwrite the existed file" chosen, else 'Add "New" after filename'
    bool shutDown = false;  // the shut-down box ticked
    QString threads;        // the threads box
};

// The highest thread count the dialog accepts.
inline constexpr double kMaxThreads = 8;

// The dialog's load: the stored values, the person's videos folder for an empty output folder
// and the thread count exactly as stored. A file that cannot be read reads as an empty one.
SettingsFormValues loadSettingsForm(const Settings& settings);

enum class SettingsSave { Saved, ThreadError };

// The dialog's "OK": a thread count above kMaxThreads writes nothing (only the upper limit is
// checked); otherwise the four settings are written in this order: the output folder (blanks
// trimmed), the existing-file policy, the shut-down switch and the thread count (the box's
// leading number, 0 when it has none).
SettingsSave saveSettingsForm(const Settings& settings, const SettingsFormValues& values);

} // namespace vidora
