// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The memory the workers' raster frames may take together: each PNG job
// takes its frame's bytes from the budget before it draws and gives them
// back once its image is encoded, so that more threads never mean more
// memory than the budget.

#include "Items.h"
#include "Options.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace WEQCli {

// The bytes of an item's raster frame at the options' dpi, X-dimension and
// bar height: its rows packed a bit a dot (two where the digits' colour is
// their own), copied once for the compression and once more for what it
// writes out. Vector
// files draw no frame: 0. The size depends on the symbology and the add-on's
// digits alone, so each is measured once.
class TFrames {
public:
    explicit TFrames(const TOptions& Options);
    std::uint64_t Bytes(const TItem& Item) const;

private:
    // By KindOf; 0 where it cannot be drawn.
    std::uint64_t Frame[ItemKinds] = {};
};

class TBudget {
public:
    explicit TBudget(std::uint64_t Limit) : Limit(Limit) {}
    // Waits until Bytes fit beside what the running jobs took (one larger
    // than the whole budget waits to run alone), or until Stop; true when
    // they were taken.
    bool Take(std::uint64_t Bytes, const std::atomic<bool>& Stop);
    void Give(std::uint64_t Bytes);

private:
    const std::uint64_t Limit;
    std::mutex Lock;
    std::condition_variable Freed;
    std::uint64_t Taken = 0;
};

} // namespace WEQCli
