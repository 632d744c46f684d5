#include "support/Scripts.h"

#include <QFile>
#include <gtest/gtest.h>

namespace vidora::test {

namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

} // namespace

QString writeExecutable(const QString& path, const QByteArray& contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return path;
    }
    file.write(contents);
    file.close();
    EXPECT_TRUE(file.setPermissions(kOwnerOnly));
    return path;
}

QString writeExecutableScript(const QString& path, const QByteArray& body) {
    return writeExecutable(path, "#!/bin/sh\n" + body + "\n");
}

bool copyExecutable(const QString& from, const QString& to) {
    return QFile::copy(from, to) && QFile::setPermissions(to, kOwnerOnly);
}

} // namespace vidora::test
