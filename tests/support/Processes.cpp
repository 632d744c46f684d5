#include "support/Processes.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vidora::test {

bool processRuns(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    // The state follows the command name in parentheses: "Z" is a zombie.
    const QByteArray line = stat.readAll();
    const qsizetype end = line.lastIndexOf(')');
    return end >= 0 && line.mid(end + 2, 1) != "Z";
}

} // namespace vidora::test
