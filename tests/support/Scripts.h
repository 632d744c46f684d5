#pragma once

#include <QByteArray>
#include <QString>

namespace vidora::test {

// Writes a shell script ("#!/bin/sh", then `body`) to `path`, readable, writable and
// executable by its owner only; returns the path. A script that cannot be written fails the
// test.
QString writeExecutableScript(const QString& path, const QByteArray& body);

} // namespace vidora::test
