// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Standard error during a batch: the messages in the order they come, and on
// a terminal a progress bar for long batches (the count, the share where the
// total is known, and the rate) redrawn at most ten times a second. What is
// printed reaches the terminal at least as often. Any thread may print.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace WEQCli {

// Batches of more items than this show the bar.
inline constexpr std::size_t ProgressThreshold = 300;

class TProgress {
public:
    // A total not known ahead (items streaming from a pipe).
    static constexpr std::size_t Unknown = SIZE_MAX;

    TProgress(std::size_t Total, bool Enabled, std::FILE* Out = stderr);
    void SetTotal(std::size_t Count) { Total = Count; }
    // Redraws for Done items where a tenth of a second has passed (or always).
    void Update(std::size_t Done, bool Force = false);
    // A message on a line of its own above the bar, user text escaped.
    void Print(const std::string& Message);
    // The final line, left standing.
    void Finish(std::size_t Done);

    // One line of the bar, for Done of Total (or Unknown) after Seconds.
    static std::string Line(std::size_t Done, std::size_t Total, double Seconds);

private:
    bool Visible(std::size_t Done) const;

    std::mutex Lock;
    std::size_t Total;
    bool Enabled, OnScreen = false;
    std::FILE* Out;
    std::chrono::steady_clock::time_point Start, Last;
};

} // namespace WEQCli
