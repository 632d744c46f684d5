#include "platform/Settings.h"

#include "base/TextValues.h"
#include "platform/Inifun.h"
#include "platform/Paths.h"

#include <utility>

namespace vidora {

namespace {

// The settings file has one section; the main window has always written its key under "Set",
// which names the same section.
const QString kSection = QStringLiteral("set");
const QString kProfileSection = QStringLiteral("Set");

const QString kOutputFolderKey = QStringLiteral("outputfolder");
const QString kExistingFileKey = QStringLiteral("existedfile");
const QString kThreadKey = QStringLiteral("thread");
const QString kShutDownKey = QStringLiteral("autoshut");
const QString kProfileKey = QStringLiteral("profile");

} // namespace

Settings::Settings() : Settings(settingsFilePath()) {}

Settings::Settings(QString filePath) : m_filePath(std::move(filePath)) {}

QString Settings::read(const QString& key) const {
    return ReadSetting(m_filePath, kSection, key);
}

double Settings::readNumber(const QString& key) const {
    return leadingNumberOrZero(read(key));
}

bool Settings::write(const QString& key, const QString& value) const {
    return WriteSetting(m_filePath, kSection, key, value);
}

QString Settings::outputFolder() const {
    return read(kOutputFolderKey);
}

QString Settings::outputFolderOrVideos() const {
    const QString folder = outputFolder();
    return folder.isEmpty() ? VideosFolder() : folder;
}

bool Settings::overwriteExistingFiles() const {
    return readNumber(kExistingFileKey) != 0;
}

double Settings::threadCount() const {
    return readNumber(kThreadKey);
}

QString Settings::threadText() const {
    return read(kThreadKey);
}

bool Settings::shutDownAfterRun() const {
    return readNumber(kShutDownKey) == 1;
}

int Settings::profileItemNumber() const {
    const double stored = readNumber(kProfileKey);
    // Only a whole number names a row.
    if (stored != static_cast<double>(static_cast<int>(stored)))
        return 0;
    return static_cast<int>(stored);
}

bool Settings::hasProfile() const {
    return !read(kProfileKey).isEmpty();
}

bool Settings::setOutputFolder(const QString& folder) const {
    return write(kOutputFolderKey, folder.trimmed());
}

bool Settings::setOverwriteExistingFiles(bool overwrite) const {
    return write(kExistingFileKey, overwrite ? QStringLiteral("1") : QStringLiteral("0"));
}

bool Settings::setShutDownAfterRun(bool shutDown) const {
    return write(kShutDownKey, shutDown ? QStringLiteral("1") : QStringLiteral("0"));
}

bool Settings::setThreadCount(double threads) const {
    return write(kThreadKey, QString::number(threads, 'g', 15));
}

bool Settings::setProfileItemNumber(int itemNumber) const {
    return WriteSetting(m_filePath, kProfileSection, kProfileKey, QString::number(itemNumber));
}

} // namespace vidora
