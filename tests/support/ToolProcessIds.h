#pragma once

#include "platform/ToolProcesses.h"

namespace vidora::test {

// Clears the tools' process ids (PreviewProcessId, EncoderProcessId) when it is made and
// again when it goes, so that no test sends keys to, or stops, a process of another test.
class ToolProcessIdsReset {
public:
    ToolProcessIdsReset() { clear(); }
    ~ToolProcessIdsReset() { clear(); }
    ToolProcessIdsReset(const ToolProcessIdsReset&) = delete;
    ToolProcessIdsReset& operator=(const ToolProcessIdsReset&) = delete;

private:
    static void clear() {
        PreviewProcessId = 0;
        EncoderProcessId = 0;
    }
};

} // namespace vidora::test
