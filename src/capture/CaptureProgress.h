#pragma once

#include "capture/CaptureDevice.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace vidora {

// Reads FFmpeg's "-progress" report, which arrives in pieces that need not end at a line end.
// The report is a run of "key=value" lines; each block ends with "progress=continue" (or
// "progress=end" at the last one) about every half second. Of a block the recording uses
// "frame=" (frames written), "drop_frames=" and "out_time_us=" (the recorded time in
// microseconds; "out_time_ms=" holds microseconds too, despite its name, and stands in when
// the first is missing). A value FFmpeg has not got yet reads "N/A" and keeps the last one.
class CaptureProgressReader {
public:
    // Takes the next piece; true when at least one block ended in it.
    bool feed(QByteArrayView piece);
    // The figures of the last complete block.
    CaptureStatistics statistics() const { return m_statistics; }
    bool ended() const { return m_ended; }

private:
    void takeLine(QByteArrayView line);

    QByteArray m_partialLine;
    CaptureStatistics m_block;
    CaptureStatistics m_statistics;
    bool m_blockHasTimeUs = false;
    bool m_blockEnded = false;
    bool m_ended = false;
};

} // namespace vidora
