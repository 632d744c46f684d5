#pragma once

#include <QByteArray>
#include <QString>

namespace vidora::test {

// Writes `contents` to `path` as a file its owner alone may read, write and run; returns the
// path. A file that cannot be written fails the test.
QString writeExecutable(const QString& path, const QByteArray& contents);

// Writes a shell script ("#!/bin/sh", then `body`) the same way.
QString writeExecutableScript(const QString& path, const QByteArray& body);

// Copies the file `from` to `to` and makes the copy executable by its owner; false when
// either step fails.
bool copyExecutable(const QString& from, const QString& to);

} // namespace vidora::test
