// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Where a batch's files go: which item took each path, and the folders made
// for them, kept small however many items there are.

#include <cstdint>
#include <string>
#include <vector>

namespace WEQCli {

// The paths taken so far, as 64-bit hashes of their normal form ("a/./b"
// and "a//b" are one file) with the item that took each: 16 bytes a path
// whatever its length. Two paths of one hash would be taken for one file;
// at a million files the odds of that are below one in ten million.
class TPathSet {
public:
    // The item that took a path: its input and line; Known false where they
    // were too large to keep.
    struct TTaker {
        std::uint32_t Input = 0;
        std::uint64_t Line = 0;
        bool Known = true;
    };
    // True, taking Path for the item at Input and Line, where no item took
    // it before; false, with the one that did in Taker, where one did.
    bool Claim(const std::string& Path, std::uint32_t Input, std::uint64_t Line, TTaker& Taker);
    std::size_t Size() const { return Used; }

private:
    struct TSlot {
        std::uint64_t Hash = 0;
        std::uint64_t Where = 0; // the input in the top 16 bits, the line below; 0: empty
    };
    void Grow();
    std::vector<TSlot> Slots;
    std::size_t Used = 0;
};

// Makes the folder a file goes into, with those above it; false with the
// reason where it cannot be made. The last folder made is not made again.
class TFolders {
public:
    bool Make(const std::string& Path, std::string& Error);

private:
    std::string Last;
};

} // namespace WEQCli
