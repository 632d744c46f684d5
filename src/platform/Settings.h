#pragma once

#include <QString>

namespace vidora {

// The program's settings, typed: the one place that knows the settings file's section, its
// keys and how each value is read. Every read goes to the file, so a value written is seen by
// the next read at once; nothing is cached.
class Settings {
public:
    // The program's settings file (settingsFilePath).
    Settings();
    explicit Settings(QString filePath);

    const QString& filePath() const { return m_filePath; }

    // The output folder as stored, blanks trimmed; empty means the default folder.
    QString outputFolder() const;
    // Where converted files go: the stored folder, or the person's videos folder when none is
    // stored.
    QString outputFolderOrVideos() const;
    // What to do when an output file exists: false adds "New" to the name (also for an empty
    // or non-numeric value), true overwrites it (any other number).
    bool overwriteExistingFiles() const;
    // The encoder thread count: the stored value's leading number, 0 when there is none.
    double threadCount() const;
    // The thread count exactly as stored, for showing it.
    QString threadText() const;
    // Whether the computer is powered off after a run: only a stored 1 says so.
    bool shutDownAfterRun() const;
    // The catalogue item number to select at start-up; 0 when none is stored or the stored
    // value is not a whole number.
    int profileItemNumber() const;
    // Whether a profile has been stored at all.
    bool hasProfile() const;

    // Writers. Each stores one key; a failed write is lost silently, as the settings file's
    // writes always are (the result says whether it was written).
    bool setOutputFolder(const QString& folder) const;
    bool setOverwriteExistingFiles(bool overwrite) const;
    bool setShutDownAfterRun(bool shutDown) const;
    bool setThreadCount(double threads) const;
    bool setProfileItemNumber(int itemNumber) const;

private:
    QString read(const QString& key) const;
    double readNumber(const QString& key) const;
    bool write(const QString& key, const QString& value) const;

    QString m_filePath;
};

} // namespace vidora
