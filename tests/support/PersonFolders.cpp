#include "support/PersonFolders.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace vidora::test {

namespace {
const char kConfigHome[] = "XDG_CONFIG_HOME";
const char kDataHome[] = "XDG_DATA_HOME";
} // namespace

PersonFolders::PersonFolders()
    : m_oldConfigHome(qgetenv(kConfigHome)), m_oldDataHome(qgetenv(kDataHome)) {
    EXPECT_TRUE(m_home.isValid());
    const QString config = m_home.filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
    EXPECT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_VIDEOS_DIR=\"" + videos().toUtf8() + "\"\n");
    dirs.close();
    qputenv(kConfigHome, QFile::encodeName(config));
    qputenv(kDataHome, QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
}

PersonFolders::~PersonFolders() {
    const auto restore = [](const char* name, const QByteArray& old) {
        if (old.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, old);
    };
    restore(kConfigHome, m_oldConfigHome);
    restore(kDataHome, m_oldDataHome);
}

QString PersonFolders::videos() const {
    return m_home.filePath(QStringLiteral("My Videos ü"));
}

QString PersonFolders::programData() const {
    return m_home.filePath(QStringLiteral("data/Vidora"));
}

QStringList PersonFolders::environment() const {
    return {QString::fromLatin1(kConfigHome) + u'=' + m_home.filePath(QStringLiteral("config")),
            QString::fromLatin1(kDataHome) + u'=' + m_home.filePath(QStringLiteral("data"))};
}

} // namespace vidora::test
