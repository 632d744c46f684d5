// A loopback HTTP server for the download bench: serves /body, a generated body of the given
// number of bytes with its "Content-Length". Prints its port, runs until its input closes.
#include "download/LoopbackServer.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: http_body_server BYTES\n");
        return 2;
    }
    vidora::test::LoopbackServer server;
    if (!server.start()) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }
    vidora::test::ServedReply body;
    body.generatedBytes = QByteArray(argv[1]).toLongLong();
    server.serve(QStringLiteral("/body"), body);
    std::printf("%d\n", server.port());
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}
