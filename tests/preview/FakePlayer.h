#pragma once

#include "support/Processes.h"
#include "support/ProgramFolder.h"
#include "support/ToolProcessIds.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vidora::test {

// A program folder whose mp.dll is the fake player (fake_mp.sh): it records its folder and
// arguments and the keys it reads. While it lives it is the program folder, and no player id
// is left over from an earlier test.
class FakePlayerFolder {
public:
    FakePlayerFolder();
    ~FakePlayerFolder();

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }

    // The folder and arguments the player with this id was started with, waiting for them
    // up to 5 s; empty when none came.
    QStringList startOf(qint64 pid) const;
    // The arguments alone.
    QStringList argumentsOf(qint64 pid) const;
    // The keys the player read so far, named: "q", "space", "left", "right".
    QStringList keysOf(qint64 pid) const;
    // Waits up to 5 s until the player read these keys; true when it did.
    bool waitForKeys(qint64 pid, const QStringList& keys) const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    ProgramFolder m_programFolder{m_dir.path()};
    ToolProcessIdsReset m_processIds;
};

} // namespace vidora::test
