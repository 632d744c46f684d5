#pragma once

#include "platform/Paths.h"

#include <QList>
#include <utility>

namespace vidora::test {

// Points the program folder at a folder of the test's while it lives, and back at the folder in
// use before (the executable's, or that of an enclosing guard) when it goes, also when the test
// ends early. A read-only one stands for a system-wide install, whichever user runs the test.
class ProgramFolder {
public:
    enum class Access { AsItIs, ReadOnly };
    explicit ProgramFolder(const QString& folder, Access access = Access::AsItIs) {
        active().append({folder, access});
        apply();
    }
    ~ProgramFolder() {
        active().removeLast();
        apply();
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

private:
    // The guards alive now, the innermost last.
    static QList<std::pair<QString, Access>>& active() {
        static QList<std::pair<QString, Access>> guards;
        return guards;
    }
    static void apply() {
        const auto& guards = active();
        setAppFolderForTesting(guards.isEmpty() ? QString() : guards.last().first);
        setAppFolderReadOnlyForTesting(!guards.isEmpty() &&
                                       guards.last().second == Access::ReadOnly);
    }
};

} // namespace vidora::test
