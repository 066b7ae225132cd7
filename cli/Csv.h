// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Comma-separated values as RFC 4180 writes them: fields apart by commas,
// records ending in CR LF (or LF), a field in double quotes holding commas,
// line breaks and quotes doubled. Read as bytes in blocks, a record at a
// time: memory stays at one block and one record, whatever the input.

#include "Lines.h"

#include <string>
#include <vector>

namespace WEQCli {

// A record longer than this, or of more fields, is a fault of its own: no
// input makes a huge record.
inline constexpr std::size_t MaxRecordBytes = 64 * 1024, MaxRecordFields = 1024;

struct TCsvRecord {
    std::size_t Line = 0; // the file's line (1-based) its first byte stands on
    std::vector<std::string> Fields;
    // Why the bytes make no record ("a quote without its end"); the
    // fields are then empty.
    std::string Fault;
};

class TCsvReader {
public:
    explicit TCsvReader(TLineReader::TRead Read);

    // "UTF-16" or "UTF-32" where the input starts as those (it then has no
    // records); empty for anything else. A UTF-8 BOM is skipped.
    const std::string& Encoding();
    // The next record; a line without a byte is none. False at the end or
    // when a read failed (Error()).
    bool Next(TCsvRecord& Record);
    // The errno of a failed read; 0 when none failed.
    int Error() const { return ReadError; }

private:
    // The next byte, or -1 at the end or on a failed read.
    int Get();
    void Start();

    TLineReader::TRead Read;
    std::vector<char> Buffer;
    std::size_t Begin = 0, End = 0, Line = 1;
    bool Started = false, AtEnd = false;
    int ReadError = 0;
    std::string Found;
    // A byte read ahead and given back.
    static constexpr int NoByte = -2;
    int Pending = NoByte;
};

} // namespace WEQCli
