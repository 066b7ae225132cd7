// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Interrupt.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace WEQCli::Interrupt {

namespace {

// How long a signal waits for the files being written to be done.
constexpr auto Grace = std::chrono::seconds(10);

std::atomic<int> Signal{0};
int WakePipe[2] = {-1, -1};
sigset_t Taken;

[[noreturn]] void Die(int Sig)
{
    std::signal(Sig, SIG_DFL);
    sigset_t One;
    sigemptyset(&One);
    sigaddset(&One, Sig);
    pthread_sigmask(SIG_UNBLOCK, &One, nullptr);
    raise(Sig);
    _exit(128 + Sig); // where the signal's default is not to end the process
}

void Watch()
{
    int Sig = 0;
    while (sigwait(&Taken, &Sig) != 0) {
    }
    Signal = Sig;
    if (write(WakePipe[1], "!", 1) < 0) {
        // The pipe is only a wake-up; Requested() says the same.
    }
    const auto Deadline = std::chrono::steady_clock::now() + Grace;
    const timespec Now{};
    while (std::chrono::steady_clock::now() < Deadline) {
        if (FilesLock().try_lock_for(std::chrono::milliseconds(50)))
            break;
        if (sigtimedwait(&Taken, nullptr, &Now) > 0)
            break; // asked twice: at once
    }
    Die(Sig);
}

} // namespace

void Install()
{
    sigemptyset(&Taken);
    for (const int Sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction Old {};
        // A signal ignored on entry (nohup, a background job) stays ignored.
        if (sigaction(Sig, nullptr, &Old) == 0 && Old.sa_handler != SIG_IGN)
            sigaddset(&Taken, Sig);
    }
    if (pipe2(WakePipe, O_CLOEXEC) != 0)
        WakePipe[0] = WakePipe[1] = -1;
    pthread_sigmask(SIG_BLOCK, &Taken, nullptr);
    try {
        std::thread(Watch).detach();
    } catch (const std::system_error& E) {
        pthread_sigmask(SIG_UNBLOCK, &Taken, nullptr);
        throw std::runtime_error(std::string("cannot start a thread: ") + E.code().message());
    }
}

int Requested() { return Signal.load(std::memory_order_relaxed); }

int WakeDescriptor() { return WakePipe[0]; }

std::shared_timed_mutex& FilesLock()
{
    // Never destroyed: the watcher may take it while the program ends.
    static auto* Lock = new std::shared_timed_mutex;
    return *Lock;
}

void Exit()
{
    std::fflush(stderr);
    std::fflush(stdout);
    const std::unique_lock Guard(FilesLock());
    Die(Requested());
}

} // namespace WEQCli::Interrupt
