// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "BenchMain.h"

WEQ_BENCHMARK_MAIN()
