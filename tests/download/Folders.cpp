#include "download/Folders.h"

#include "platform/Paths.h"
#include "webvideo/Transfers.h"

#include <QDir>
#include <QFile>

namespace vidora::test {

DownloadFolders::DownloadFolders() {
    m_valid = m_dir.isValid() && QDir(m_dir.path()).mkpath(QStringLiteral("program/Cache")) &&
              QDir(m_dir.path()).mkpath(QStringLiteral("Downloads"));
    m_programFolder.emplace(program());
    setDownloadFolderForTesting(downloads());
}

DownloadFolders::~DownloadFolders() {
    setDownloadFolderForTesting({});
}

QString DownloadFolders::program() const {
    return m_dir.filePath(QStringLiteral("program")) + u'/';
}

QString DownloadFolders::downloads() const {
    return m_dir.filePath(QStringLiteral("Downloads"));
}

QString DownloadFolders::cached(const QString& name) const {
    return program() + QStringLiteral("Cache/") + name;
}

QByteArray contentOf(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
}

} // namespace vidora::test
