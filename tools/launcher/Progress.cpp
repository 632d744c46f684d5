#include "launcher/Progress.h"

#include <cstdio>
#include <cstdlib>

namespace vidora {

namespace {

// The number at the start of a value, 0 for "N/A" and the like.
double leadingValue(std::string_view text) {
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

} // namespace

std::vector<ProgressReport> ProgressReader::feed(std::string_view bytes) {
    std::vector<ProgressReport> done;
    for (char c : bytes) {
        if (c == '\n') {
            takeLine(m_partialLine, done);
            m_partialLine.clear();
        } else {
            m_partialLine.push_back(c);
        }
    }
    return done;
}

void ProgressReader::takeLine(std::string_view line, std::vector<ProgressReport>& done) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    if (key == "frame") {
        m_current.hasVideo = true;
        m_current.frames = static_cast<long long>(leadingValue(value));
    } else if (key == "out_time_us") {
        // "N/A" until the first packet has been written.
        if (!value.empty() && value != "N/A") {
            m_current.seconds = leadingValue(value) / 1e6;
        }
    } else if (key == "total_size") {
        m_current.totalBytes = static_cast<long long>(leadingValue(value));
    } else if (key == "bitrate") {
        m_current.kbitsPerSecond = leadingValue(value);
    } else if (key == "progress") {
        m_current.last = value == "end";
        done.push_back(m_current);
        m_current = ProgressReport{};
    }
}

bool wroteNothing(const ProgressReport& last) {
    return last.last && last.frames <= 0 && last.seconds <= 0;
}

std::string statisticsLine(const ProgressReport& report) {
    const double seconds = report.seconds < 0 ? 0 : report.seconds;
    char line[256];
    std::snprintf(line, sizeof line,
                  "frame= %5d q= %2.1f f_size= %6d s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s "
                  "avg_br= %7.1fkbits/s type= A\n",
                  0, 0.0, 0, static_cast<double>(report.totalBytes) / 1024.0, seconds,
                  report.kbitsPerSecond, report.kbitsPerSecond);
    return line;
}

} // namespace vidora
