// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Csv.h"

#include "Text.h"

#include <cerrno>
#include <utility>

namespace WEQCli {

namespace {

constexpr std::size_t BlockBytes = 64 * 1024;

} // namespace

TCsvReader::TCsvReader(TLineReader::TRead Read) : Read(std::move(Read)) {}

void TCsvReader::Start()
{
    Started = true;
    Buffer.resize(BlockBytes);
    while (End < SniffBytes && !AtEnd && !ReadError) {
        const long N = Read(Buffer.data() + End, SniffBytes - End);
        if (N < 0)
            ReadError = errno ? errno : EIO;
        else if (N == 0)
            AtEnd = true;
        else
            End += std::size_t(N);
    }
    Found = SniffEncoding(Buffer.data(), End, Begin);
}

const std::string& TCsvReader::Encoding()
{
    if (!Started)
        Start();
    return Found;
}

int TCsvReader::Get()
{
    if (Pending != NoByte)
        return std::exchange(Pending, NoByte);
    if (Begin == End) {
        if (AtEnd || ReadError)
            return -1;
        const long N = Read(Buffer.data(), Buffer.size());
        Begin = End = 0;
        if (N <= 0) {
            if (N < 0)
                ReadError = errno ? errno : EIO;
            AtEnd = true;
            return -1;
        }
        End = std::size_t(N);
    }
    return static_cast<unsigned char>(Buffer[Begin++]);
}

bool TCsvReader::Next(TCsvRecord& R)
{
    if (!Started)
        Start();
    if (!Found.empty() || ReadError)
        return false;
    for (;;) {
        R.Line = Line;
        R.Fields.assign(1, std::string());
        R.Fault.clear();
        std::size_t Bytes = 0;
        // Where the field stands: not begun, unquoted, inside its quotes, or
        // after its closing quote.
        enum { Fresh, Plain, Quoted, Closed } State = Fresh;
        bool Any = false;
        const auto Fault = [&R](std::string Why) {
            if (R.Fault.empty())
                R.Fault = std::move(Why);
        };
        const auto Field = [&R] { return "field " + std::to_string(R.Fields.size()); };
        // A field's byte, kept while the record is within its bounds.
        const auto Keep = [&](char C) {
            if (++Bytes > MaxRecordBytes)
                Fault("a record longer than " + std::to_string(MaxRecordBytes) + " bytes");
            else if (R.Fault.empty())
                R.Fields.back() += C;
        };
        for (;;) {
            const int C = Get();
            if (C < 0) {
                if (ReadError)
                    return false;
                if (State == Quoted)
                    Fault("a quote without its end");
                break;
            }
            Any = true;
            if (C == '\n')
                ++Line;
            if (State == Quoted) {
                if (C != '"') {
                    Keep(char(C));
                    continue;
                }
                // A quote ends the field unless another follows: "" is one quote.
                const int After = Get();
                if (After == '"') {
                    Keep('"');
                    continue;
                }
                Pending = After;
                State = Closed;
                continue;
            }
            if (C == '\r') {
                const int After = Get();
                Pending = After;
                if (After == '\n')
                    continue; // a CR LF's CR: the LF ends the record
            }
            if (C == ',') {
                if (R.Fields.size() >= MaxRecordFields)
                    Fault("more than " + std::to_string(MaxRecordFields) + " fields");
                else if (R.Fault.empty())
                    R.Fields.emplace_back();
                State = Fresh;
            } else if (C == '\n') {
                break;
            } else if (State == Closed) {
                Fault(Field() + ": " + Quote(std::string(1, char(C))) + " after its closing quote");
            } else if (C == '"') {
                if (State == Fresh)
                    State = Quoted;
                else
                    Fault(Field() + ": a quote inside a field that is not in quotes");
            } else {
                State = Plain;
                Keep(char(C));
            }
        }
        if (!Any)
            return false;
        // A line without a byte (CR LF or LF alone) is no record.
        if (R.Fault.empty() && R.Fields.size() == 1 && R.Fields[0].empty() && State == Fresh)
            continue;
        if (!R.Fault.empty())
            R.Fields.clear();
        return true;
    }
}

} // namespace WEQCli
