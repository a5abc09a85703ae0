// The benchmark run: one QApplication for every benchmark, without a display unless one is asked
// for, taken down in order once the last benchmark has finished.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "bench_app.h"
#include "ui/window_services.h"

namespace {
QApplication* g_application = nullptr;
}

namespace mitoran::bench {

QApplication& application() {
    if (!g_application) {
        std::fputs("bench: the application is used before main() made it\n", stderr);
        std::abort();
    }
    return *g_application;
}

}  // namespace mitoran::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt gets the program name only: every other argument was the benchmark library's.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    {
        QApplication app(qtArgc, qtArgv);
        // Screens hand over by closing one and opening the next, as in the program.
        QApplication::setQuitOnLastWindowClosed(false);
        g_application = &app;

        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();

        // What the benchmarks left behind goes while the application is still whole: windows
        // closed with deleteLater(), and the window services with their timers.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        mitoran::setServices(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        g_application = nullptr;
    }
    return 0;
}
