#include "FakePlayer.h"

#include "platform/Paths.h"
#include "platform/ToolProcesses.h"
#include "support/EventLoop.h"
#include "support/Scripts.h"

#include <QFile>

namespace vidora::test {

FakePlayerFolder::FakePlayerFolder() {
    const QString player = m_dir.filePath(QStringLiteral("mp.dll"));
    m_valid = m_dir.isValid() &&
              copyExecutable(QStringLiteral(VIDORA_SOURCE_DIR "/tests/preview/fake_mp.sh"), player);
}

FakePlayerFolder::~FakePlayerFolder() = default;

QStringList FakePlayerFolder::startOf(qint64 pid) const {
    QFile file(m_dir.filePath(QStringLiteral("args.%1").arg(pid)));
    waitFor([&] { return file.exists(); }, 5000);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    lines.removeLast(); // after the last line end
    return lines;
}

QStringList FakePlayerFolder::argumentsOf(qint64 pid) const {
    return startOf(pid).mid(1);
}

QStringList FakePlayerFolder::keysOf(qint64 pid) const {
    QFile file(m_dir.filePath(QStringLiteral("keys.%1").arg(pid)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    QStringList keys;
    while (!bytes.isEmpty()) {
        if (bytes.startsWith("\x1b[D")) {
            keys << QStringLiteral("left");
            bytes.remove(0, 3);
        } else if (bytes.startsWith("\x1b[C")) {
            keys << QStringLiteral("right");
            bytes.remove(0, 3);
        } else {
            keys << (bytes[0] == ' ' ? QStringLiteral("space")
                                     : QString::fromLatin1(bytes.left(1)));
            bytes.remove(0, 1);
        }
    }
    return keys;
}

bool FakePlayerFolder::waitForKeys(qint64 pid, const QStringList& keys) const {
    return waitFor([&] { return keysOf(pid) == keys; }, 5000);
}

} // namespace vidora::test
