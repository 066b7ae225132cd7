// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// A keystroke in the demo's GTIN box, to the symbol redrawn on the window.
#include "BenchMain.h"
#include "uMain.h"

#include <QLineEdit>
#include <QTest>

namespace {

void BM_DemoKeystroke(benchmark::State& State)
{
    TFrmWEqBarCodeDemo Window;
    Window.show();
    if (!QTest::qWaitForWindowExposed(&Window))
        State.SkipWithError("window not exposed");
    QCoreApplication::processEvents();
    auto* Edit = Window.findChild<QLineEdit*>("edt_GTIN");
    Edit->setFocus();
    Edit->setText("400638133");
    int I = 0;
    for (auto _ : State) {
        // Typing a digit and taking it back: each changes the GTIN and repaints at once.
        QTest::keyClick(Edit, Qt::Key(Qt::Key_0 + I++ % 10));
        QTest::keyClick(Edit, Qt::Key_Backspace);
    }
    State.SetItemsProcessed(State.iterations() * 2);
}
BENCHMARK(BM_DemoKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace

WEQ_BENCHMARK_MAIN()
