// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// An input's lines as bytes: read in blocks up to each newline, whatever the
// bytes are (a NUL is a byte like any other), and what the first bytes say
// of the encoding. Memory stays at one block and one line, however long the
// input or its lines.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace WEQCli {

// Lines longer than this are rejected whole: no input makes a huge string.
inline constexpr std::size_t MaxLineLength = 4096;

struct TLine {
    std::size_t Number = 0; // 1-based
    std::string Text;       // without its LF and a CR before it; empty when TooLong
    bool TooLong = false;
    // The 1-based position of the first byte that begins no printable
    // character (ASCII or UTF-8) and is no tab; 0 when there is none.
    std::size_t BadByte = 0;
};

// What an input's first bytes (its first 64, or all of a shorter one) say
// of its encoding: "UTF-16" or "UTF-32" where they show it (by its byte
// order mark, or by NULs in every other byte or every four), empty for
// anything else; Skip is the length of a UTF-8 BOM there (3), else 0.
std::string SniffEncoding(const char* Data, std::size_t Size, std::size_t& Skip);
inline constexpr std::size_t SniffBytes = 64;

class TLineReader {
public:
    // Reads up to Size bytes into Buffer: the count, 0 at the end, -1 with
    // errno set when the read failed.
    using TRead = std::function<long(char* Buffer, std::size_t Size)>;
    explicit TLineReader(TRead Read);

    // "UTF-16" or "UTF-32" where the first bytes show that encoding (by its
    // byte order mark, or by NULs in every other byte or every four), which
    // then gives no lines; empty for anything else. A UTF-8 BOM is skipped.
    const std::string& Encoding();
    // The next line; false at the end or when a read failed (Error()).
    bool Next(TLine& Line);
    // The errno of a failed read; 0 when none failed.
    int Error() const { return ReadError; }

private:
    bool Refill();
    void Sniff();

    TRead Read;
    std::vector<char> Buffer;
    std::size_t Begin = 0, End = 0, LineNumber = 0;
    bool Sniffed = false, AtEnd = false;
    int ReadError = 0;
    std::string Found;
};

} // namespace WEQCli
