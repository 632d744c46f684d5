#pragma once

#include "platform/Paths.h"

namespace vidora::test {

// Points the program folder at a folder of the test's while it lives, and back at the
// executable's folder when it goes, also when the test ends early.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& folder) { setAppFolderForTesting(folder); }
    ~ProgramFolder() { setAppFolderForTesting(QString()); }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
};

} // namespace vidora::test
