#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vidora {

// One block of FFmpeg's "-progress" report: key=value lines closed by "progress=continue" or
// "progress=end".
struct ProgressReport {
    bool hasVideo = false;     // FFmpeg writes "frame=" only for an output with a video stream
    long long frames = 0;      // frame: the pictures written so far
    double seconds = 0;        // out_time_us: how much of the output has been written
    long long totalBytes = 0;  // total_size
    double kbitsPerSecond = 0; // bitrate
    bool last = false;         // progress=end
};

// Gathers reports from FFmpeg's progress stream, which arrives in pieces of any size.
class ProgressReader {
public:
    // Takes the next piece of the stream; returns the reports it completes.
    std::vector<ProgressReport> feed(std::string_view bytes);

private:
    void takeLine(std::string_view line, std::vector<ProgressReport>& done);

    std::string m_partialLine;
    ProgressReport m_current;
};

// Whether the last report of a run says that it wrote nothing: no picture and no time. FFmpeg
// then still ends with 0 and leaves a file with a header only (it warns "Output file is empty"
// only when no stream has a header either).
bool wroteNothing(const ProgressReport& last);

// A statistics line in the layout FFmpeg writes for each video frame with -vstats_version 1,
// so the sixth "="-separated field holds the encoded seconds followed by " br":
// "frame=     0 q= 0.0 f_size=      0 s_size=       63kB time= 4.024 br=   129.4kbits/s
//  avg_br=   129.4kbits/s type= A" (one line, ended by LF).
std::string statisticsLine(const ProgressReport& report);

} // namespace vidora
