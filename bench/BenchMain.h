// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Benchmarks that draw need a GUI application, made before any benchmark runs.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

// Count bodies of twelve random digits, the same every run for a Seed.
inline std::vector<std::string> RandomBodies(int Count, std::uint64_t Seed)
{
    std::vector<std::string> Bodies;
    for (int I = 0; I < Count; ++I) {
        std::string Body;
        for (int D = 0; D < 12; ++D) {
            Seed = Seed * 6364136223846793005ULL + 1442695040888963407ULL;
            Body += char('0' + (Seed >> 33) % 10);
        }
        Bodies.push_back(Body);
    }
    return Bodies;
}

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
