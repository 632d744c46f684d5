// Downloads one address through DownloadToFile into a folder and prints the wall time in
// milliseconds and how much the program's resident memory grew meanwhile (peak minus start).
#include "webvideo/Transfers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

// A "Vm...:   1234 kB" line of /proc/self/status, in kB.
qint64 statusKilobytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: download_bench URL FOLDER NAME\n");
        return 2;
    }
    vidora::HttpTransfer inet;
    const qint64 before = statusKilobytes("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    const bool ok = vidora::DownloadToFile(inet, QString::fromLocal8Bit(argv[1]),
                                           QString::fromLocal8Bit(argv[2]),
                                           QString::fromLocal8Bit(argv[3]), [](int) {});
    const qint64 elapsed = clock.elapsed();
    const qint64 peak = statusKilobytes("VmHWM:");
    std::printf("%lld %lld\n", static_cast<long long>(elapsed),
                static_cast<long long>(peak - before));
    return ok ? 0 : 1;
}
