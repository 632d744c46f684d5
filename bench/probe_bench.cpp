// Adding files to the job list against the player runs themselves: the same identify runs of
// mp.dll once started directly one after the other, once added to a job list through the
// prober (several runs at a time), side by side in one run, and the longest stall of the event
// loop while adding. The order alternates between rounds, so a machine that gets busier or
// quieter meanwhile weighs on both sides alike.
//
//   probe_bench PROGRAM_FOLDER ROUNDS FILE...

#include "jobs/JobList.h"
#include "jobs/MediaProbe.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstdio>

using namespace vidora;

namespace {

// One identify run per file, started and waited for directly; returns the nanoseconds taken.
qint64 runDirectly(const QString& player, const QStringList& files, int* sized) {
    QElapsedTimer timer;
    timer.start();
    for (const QString& file : files) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(player, identifyArguments(file));
        process.waitForFinished(-1);
        if (process.readAll().contains("ID_VIDEO_WIDTH="))
            ++*sized;
    }
    return timer.nsecsElapsed();
}

// The same runs as files added to a job list; returns the nanoseconds taken. The longest gap
// between two turns of the event loop meanwhile goes into *longestStallMs.
qint64 addToList(const QStringList& files, int* sized, qint64* longestStallMs) {
    JobList list;
    MediaProber prober(list);
    QEventLoop loop;
    QObject::connect(&prober, &MediaProber::busyChanged, &loop, [&](bool busy) {
        if (!busy)
            loop.quit();
    });
    QElapsedTimer sinceTurn;
    QTimer turns;
    turns.setInterval(5);
    QObject::connect(&turns, &QTimer::timeout,
                     [&] { *longestStallMs = std::max(*longestStallMs, sinceTurn.restart()); });
    QElapsedTimer timer;
    timer.start();
    sinceTurn.start();
    turns.start();
    prober.add(files);
    *longestStallMs = std::max(*longestStallMs, sinceTurn.restart());
    if (prober.isBusy())
        loop.exec();
    const qint64 elapsed = timer.nsecsElapsed();
    for (int row = 0; row < list.count(); ++row) {
        if (list.at(row).size != u"0x0" && !list.at(row).size.isEmpty())
            ++*sized;
    }
    return elapsed;
}

double seconds(qint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: probe_bench PROGRAM_FOLDER ROUNDS FILE...\n");
        return 2;
    }
    const QString folder = arguments.takeFirst();
    const int rounds = qMax(1, arguments.takeFirst().toInt());
    const QStringList files = arguments;
    setAppFolderForTesting(folder);
    const QString player = AppFolder() + QStringLiteral("mp.dll");

    // A first pass that is not counted brings the files and the player into the caches.
    int warmed = 0;
    runDirectly(player, files, &warmed);

    qint64 direct = 0;
    qint64 listed = 0;
    int directSized = 0;
    int listedSized = 0;
    qint64 longestStall = 0;
    std::printf("%d files, %d rounds\n", static_cast<int>(files.size()), rounds);
    std::printf("round  mp.dll directly  added to the list\n");
    for (int round = 1; round <= rounds; ++round) {
        qint64 d = 0;
        qint64 l = 0;
        if (round % 2 == 1) {
            d = runDirectly(player, files, &directSized);
            l = addToList(files, &listedSized, &longestStall);
        } else {
            l = addToList(files, &listedSized, &longestStall);
            d = runDirectly(player, files, &directSized);
        }
        direct += d;
        listed += l;
        std::printf("%5d  %13.3f s  %12.3f s\n", round, seconds(d), seconds(l));
    }
    const int expected = static_cast<int>(files.size()) * rounds;
    if (directSized != expected || listedSized != expected) {
        std::fprintf(stderr,
                     "not every file was identified (directly %d, through the list %d, of %d)\n",
                     directSized, listedSized, expected);
        return 1;
    }
    const double ratio = static_cast<double>(listed) / static_cast<double>(direct);
    std::printf("total  %13.3f s  %12.3f s\n", seconds(direct), seconds(listed));
    std::printf("ratio %.3f (target at most 0.60): %s\n", ratio, ratio <= 0.60 ? "met" : "MISSED");
    std::printf("longest event-loop stall while adding %lld ms (target under 100 ms): %s\n",
                static_cast<long long>(longestStall), longestStall < 100 ? "met" : "MISSED");
    return 0;
}
