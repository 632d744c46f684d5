#pragma once

#include "support/ProgramFolder.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace vidora::test {

// A program folder with its Cache folder and a download folder, both in a temporary folder
// and in use (AppFolder, DownloadFolder) while this object lives.
class DownloadFolders {
public:
    DownloadFolders();
    ~DownloadFolders();
    bool isValid() const { return m_valid; }
    // The program folder, with a trailing "/".
    QString program() const;
    QString downloads() const;
    QString cached(const QString& name) const;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    std::optional<ProgramFolder> m_programFolder;
};

// A file's content, or "<missing>".
QByteArray contentOf(const QString& file);

} // namespace vidora::test
