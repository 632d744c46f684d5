#pragma once

#include <QtGlobal>

namespace vidora::test {

// Whether a process with this id still runs (a zombie counts as ended).
bool processRuns(qint64 pid);

} // namespace vidora::test
