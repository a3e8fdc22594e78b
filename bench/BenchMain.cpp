#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
    // No window ever needs a screen here; an explicit platform choice still wins.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
