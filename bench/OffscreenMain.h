#pragma once

// The main function of the benchmarks that need widgets: an offscreen application (unless
// the environment names a platform), `prepare` for what must be made before any timing, the
// benchmarks, then `release` for what they kept alive and must go before the application.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

namespace sorvanti::bench {

using Step = std::function<void()>;

inline int runOffscreen(int argc, char** argv, const Step& prepare, const Step& release) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (prepare)
        prepare();
    benchmark::RunSpecifiedBenchmarks();
    if (release)
        release();
    benchmark::Shutdown();
    return 0;
}

} // namespace sorvanti::bench
