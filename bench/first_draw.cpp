// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// weq_bench_first_draw M: in a fresh process, the first and the later
// drawings of a whole symbol at module width M into an image of its size
// (already in memory, as a window's backing store is), in milliseconds.
#include <ean/WEQEan.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const int M = argc > 1 ? std::atoi(argv[1]) : 96;
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    QElapsedTimer Timer;
    Timer.start();
    WEQEan::DrawEan13("4006381333931", Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true);
    const double First = Timer.nsecsElapsed() / 1e6;
    double Later = 1e9;
    const char* const Gtins[] = {"9780201379624", "5901234123457", "0000000123457", "4006381333931"};
    for (int I = 0; I < 8; ++I) {
        Timer.restart();
        WEQEan::DrawEan13(Gtins[I % 4], Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true);
        Later = std::min(Later, Timer.nsecsElapsed() / 1e6);
    }
    std::printf("%.1f %.1f\n", First, Later);
    return 0;
}
