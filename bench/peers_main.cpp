#include "BenchMain.h"

WEQ_BENCHMARK_MAIN()
