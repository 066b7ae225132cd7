// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Benchmarks that draw need a GUI application, made before any benchmark runs.
#include <QApplication>
#include <benchmark/benchmark.h>

#define WEQ_BENCHMARK_MAIN()                                                                                  \
    int main(int argc, char** argv)                                                                           \
    {                                                                                                         \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))                                                    \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                          \
        QApplication App(argc, argv);                                                                      \
        ::benchmark::Initialize(&argc, argv);                                                                 \
        ::benchmark::RunSpecifiedBenchmarks();                                                                \
        ::benchmark::Shutdown();                                                                              \
        return 0;                                                                                             \
    }
