#pragma once

#include "platform/Paths.h"

namespace vidora::test {

// Points the program folder at a folder of the test's while it lives, and back at the
// executable's folder when it goes, also when the test ends early. A read-only one stands for
// a system-wide install, whichever user runs the test.
class ProgramFolder {
public:
    enum class Access { AsItIs, ReadOnly };
    explicit ProgramFolder(const QString& folder, Access access = Access::AsItIs) {
        setAppFolderForTesting(folder);
        setAppFolderReadOnlyForTesting(access == Access::ReadOnly);
    }
    ~ProgramFolder() {
        setAppFolderReadOnlyForTesting(false);
        setAppFolderForTesting(QString());
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
};

} // namespace vidora::test
