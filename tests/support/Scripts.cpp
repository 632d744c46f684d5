#include "support/Scripts.h"

#include <QFile>
#include <gtest/gtest.h>

namespace vidora::test {

QString writeExecutableScript(const QString& path, const QByteArray& body) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return path;
    }
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    EXPECT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    return path;
}

} // namespace vidora::test
