// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// run_peak COMMAND ARG...: runs the command once, its output discarded, and
// prints its wall time in seconds and its peak resident memory in KB. A
// child forked from this small program starts small: one forked from a
// larger one (Python) would count the parent's pages as its own peak.
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    struct timespec Start, End;
    clock_gettime(CLOCK_MONOTONIC, &Start);
    const pid_t Child = fork();
    if (Child == 0) {
        const int Null = open("/dev/null", O_WRONLY);
        dup2(Null, 1);
        dup2(Null, 2);
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int Status = 0;
    struct rusage Usage;
    if (Child < 0 || wait4(Child, &Status, 0, &Usage) != Child)
        return 2;
    clock_gettime(CLOCK_MONOTONIC, &End);
    printf("%.6f %ld\n", (double)(End.tv_sec - Start.tv_sec) + (End.tv_nsec - Start.tv_nsec) / 1e9, Usage.ru_maxrss);
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0 ? 0 : 1;
}
