// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as an input file of the command line,
// read for a symbology, add-on and completion the first byte picks. The
// items must be the lines a plain split of the bytes gives (less blank lines
// and comments), in order, the same however the bytes arrive; an accepted
// item is digits of its symbol's length from a line of printable ASCII, a
// rejected one has a reason that is printable ASCII; an input refused whole
// gives no item.
#include "Items.h"
#include "Text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace WEQCli;

namespace {

struct TRead {
    std::vector<std::string> Items; // "line:gtin" or "line:!reason"
    std::string Refusal;
};

TRead ReadAll(const std::string& Bytes, std::size_t Chunk, const TReading& Reading)
{
    std::size_t At = 0;
    TItemReader Reader(
        [&](char* Buffer, std::size_t Size) {
            const std::size_t N = std::min({Size, Chunk, Bytes.size() - At});
            std::memcpy(Buffer, Bytes.data() + At, N);
            At += N;
            return long(N);
        },
        Reading);
    TRead R;
    R.Refusal = Reader.Refusal();
    TItem Item;
    while (Reader.Next(Item)) {
        const std::size_t Digits = Item.Symbology == WEQEan::TSymbology::Ean13  ? 13
                                   : Item.Symbology == WEQEan::TSymbology::UpcA ? 12
                                                                                : 8;
        const bool Accepted = Item.Rejected.empty();
        if (Accepted && (Item.Gtin.size() != Digits ||
                         !std::all_of(Item.Gtin.begin(), Item.Gtin.end(), [](char C) { return C >= '0' && C <= '9'; })))
            std::abort();
        if (!Accepted && (!Item.Gtin.empty() || !std::all_of(Item.Rejected.begin(), Item.Rejected.end(), [](char C) {
                              return Printable(static_cast<unsigned char>(C));
                          })))
            std::abort();
        R.Items.push_back(std::to_string(Item.Line) + ":" + (Accepted ? Item.Gtin : "!" + Item.Rejected));
    }
    return R;
}

// The lines that are items, by a plain split: 1-based numbers, and whether
// each is all printable ASCII or tabs.
std::vector<std::pair<std::size_t, bool>> ItemLines(std::string Bytes)
{
    if (Bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        Bytes.erase(0, 3);
    std::vector<std::pair<std::size_t, bool>> Out;
    std::size_t Number = 0;
    for (std::size_t Begin = 0; Begin < Bytes.size();) {
        std::size_t End = Bytes.find('\n', Begin);
        if (End == std::string::npos)
            End = Bytes.size();
        std::string Line = Bytes.substr(Begin, End - Begin);
        Begin = End + 1;
        ++Number;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        const std::size_t First = Line.find_first_not_of(" \t");
        if (Line.size() > MaxLineLength || (First != std::string::npos && Line[First] != '#'))
            Out.emplace_back(Number, Line.size() <= MaxLineLength &&
                                         std::all_of(Line.begin(), Line.end(), [](char C) {
                                             return C == '\t' || Printable(static_cast<unsigned char>(C));
                                         }));
    }
    return Out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0)
        return 0;
    const std::uint8_t Flags = Data[0];
    const std::string Bytes(reinterpret_cast<const char*>(Data + 1), Size - 1);
    static const std::optional<WEQEan::TSymbology> Symbologies[] = {
        WEQEan::TSymbology::Ean13, WEQEan::TSymbology::Ean8, WEQEan::TSymbology::UpcA, WEQEan::TSymbology::UpcE,
        std::nullopt};
    static const char* AddOns[] = {"", "12", "51995"};
    const TReading Reading{Symbologies[Flags % 5], AddOns[Flags / 5 % 3], (Flags & 0x80) != 0};

    const TRead Whole = ReadAll(Bytes, SIZE_MAX, Reading);
    const TRead Chunked = ReadAll(Bytes, 1 + (Flags >> 3 & 7), Reading);
    if (Whole.Items != Chunked.Items || Whole.Refusal != Chunked.Refusal)
        std::abort();
    if (!Whole.Refusal.empty()) {
        const bool Sign = Bytes.find('\0') != std::string::npos || Bytes.compare(0, 2, "\xFF\xFE") == 0 ||
                          Bytes.compare(0, 2, "\xFE\xFF") == 0;
        if (!Whole.Items.empty() || !Sign)
            std::abort();
        return 0;
    }
    const auto Lines = ItemLines(Bytes);
    if (Lines.size() != Whole.Items.size())
        std::abort();
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        const std::string& Item = Whole.Items[I];
        if (Item.substr(0, Item.find(':')) != std::to_string(Lines[I].first))
            std::abort();
        // Only a line of printable text can give a symbol.
        if (!Lines[I].second && Item[Item.find(':') + 1] != '!')
            std::abort();
    }
    return 0;
}
