// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// SIGINT, SIGTERM and SIGHUP end the program only where no temporary file
// of its own is left behind: the signals are taken on a thread of their own
// (never in a handler), which wakes the program's waits, then waits until
// nothing holds FilesLock() and ends the program as the signal would have.
// A second signal, or a wait past the grace time, ends it at once; a later
// run into the same folder then removes what was left (TAtomicFile does).

#include <shared_mutex>

namespace WEQCli::Interrupt {

// Takes the signals that were not ignored when the program started. Call it
// before any other thread starts: the threads inherit the signals blocked.
// Throws std::runtime_error where its thread cannot be started.
void Install();

// The signal that asked the program to stop; 0 while none has.
int Requested();

// Readable once a signal came, for waits on input; -1 before Install.
int WakeDescriptor();

// Held shared for as long as a temporary file of ours may exist; whoever
// holds it checks Requested() after taking it and starts no file then.
std::shared_timed_mutex& FilesLock();

// Ends the program as the signal that came would have (exit status 128 + the
// signal's number to a shell).
[[noreturn]] void Exit();

} // namespace WEQCli::Interrupt
