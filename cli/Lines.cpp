// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Lines.h"

#include "Text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace WEQCli {

namespace {

constexpr std::size_t BlockBytes = 64 * 1024;

bool Starts(const char* B, std::size_t Size, std::initializer_list<unsigned char> Bytes)
{
    if (Size < Bytes.size())
        return false;
    std::size_t I = 0;
    for (const unsigned char Byte : Bytes)
        if (static_cast<unsigned char>(B[I++]) != Byte)
            return false;
    return true;
}

// Every Width-byte unit of the first Size bytes holds one non-NUL byte at
// Place and NULs elsewhere: ASCII text in UTF-16 or UTF-32.
bool NulPattern(const char* B, std::size_t Size, std::size_t Width, std::size_t Place)
{
    const std::size_t Units = Size / Width;
    if (Units < 2)
        return false;
    for (std::size_t U = 0; U < Units; ++U)
        for (std::size_t I = 0; I < Width; ++I)
            if ((B[U * Width + I] != 0) != (I == Place))
                return false;
    return true;
}

} // namespace

std::string SniffEncoding(const char* B, std::size_t Size, std::size_t& Skip)
{
    Skip = 0;
    Size = std::min(Size, SniffBytes); // the same however the input arrives, in one block or byte by byte
    if (Starts(B, Size, {0xEF, 0xBB, 0xBF}))
        Skip = 3;
    else if (Starts(B, Size, {0xFF, 0xFE, 0, 0}) || Starts(B, Size, {0, 0, 0xFE, 0xFF}) || NulPattern(B, Size, 4, 0) ||
             NulPattern(B, Size, 4, 3))
        return "UTF-32";
    else if (Starts(B, Size, {0xFF, 0xFE}) || Starts(B, Size, {0xFE, 0xFF}) || NulPattern(B, Size, 2, 0) ||
             NulPattern(B, Size, 2, 1))
        return "UTF-16";
    return {};
}

TLineReader::TLineReader(TRead Read) : Read(std::move(Read)) {}

const std::string& TLineReader::Encoding()
{
    if (!Sniffed)
        Sniff();
    return Found;
}

void TLineReader::Sniff()
{
    Sniffed = true;
    Buffer.resize(SniffBytes);
    while (End < SniffBytes) {
        const long N = Read(Buffer.data() + End, SniffBytes - End);
        if (N < 0) {
            ReadError = errno ? errno : EIO;
            return;
        }
        if (N == 0) {
            AtEnd = true;
            break;
        }
        End += std::size_t(N);
    }
    Found = SniffEncoding(Buffer.data(), End, Begin);
}

bool TLineReader::Refill()
{
    Begin = End = 0;
    if (AtEnd || ReadError)
        return false;
    if (Buffer.size() < BlockBytes)
        Buffer.resize(BlockBytes);
    const long N = Read(Buffer.data(), Buffer.size());
    if (N < 0)
        ReadError = errno ? errno : EIO;
    else if (N == 0)
        AtEnd = true;
    else
        End = std::size_t(N);
    return N > 0;
}

bool TLineReader::Next(TLine& Line)
{
    if (!Sniffed)
        Sniff();
    if (!Found.empty() || ReadError)
        return false;
    Line.Text.clear();
    Line.TooLong = false;
    Line.BadByte = 0;
    bool Any = false, Ended = false;
    while (!Ended) {
        if (Begin == End && !Refill())
            break;
        const char* From = Buffer.data() + Begin;
        const auto* Newline = static_cast<const char*>(std::memchr(From, '\n', End - Begin));
        const std::size_t Take = Newline ? std::size_t(Newline - From) : End - Begin;
        Any = true;
        Ended = Newline != nullptr;
        Begin += Take + (Ended ? 1 : 0);
        if (Line.TooLong)
            continue;
        // One byte beyond the longest line leaves room for a CR before the LF.
        if (Line.Text.size() + Take > MaxLineLength + 1) {
            Line.TooLong = true;
            Line.Text.clear();
            continue;
        }
        Line.Text.append(From, Take);
    }
    if (ReadError || !Any)
        return false;
    Line.Number = ++LineNumber;
    if (!Line.Text.empty() && Line.Text.back() == '\r')
        Line.Text.pop_back();
    if (Line.Text.size() > MaxLineLength) {
        Line.TooLong = true;
        Line.Text.clear();
    }
    Line.BadByte = FirstUnprintable(Line.Text);
    return true;
}

} // namespace WEQCli
