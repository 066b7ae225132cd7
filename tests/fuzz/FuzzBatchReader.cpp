// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as an input file of the command line,
// read for a symbology, add-on and completion the first byte picks. The
// items must be the lines a plain split of the bytes gives (less blank lines
// and comments), in order, the same however the bytes arrive; an accepted
// item is digits of its symbol's length from a line of printable text, a
// rejected one has a reason of printable characters only (ASCII, or UTF-8
// of a printable character, as the line showed it; every other byte
// escaped); an input refused whole gives no item.
#include "Items.h"
#include "Text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
        const WEQEan::TSymbology Symbology = Item.Reading.Symbology;
        const std::size_t Digits = Symbology == WEQEan::TSymbology::Ean13  ? 13
                                   : Symbology == WEQEan::TSymbology::UpcA ? 12
                                                                           : 8;
        const std::string& Gtin = Item.Gtin();
        const bool Accepted = Item.Rejected.empty();
        if (Accepted && (Gtin.size() != Digits ||
                         !std::all_of(Gtin.begin(), Gtin.end(), [](char C) { return C >= '0' && C <= '9'; })))
            std::abort();
        if (!Accepted && (FirstUnprintable(Item.Rejected) != 0 || Item.Rejected.find('\t') != std::string::npos))
            std::abort();
        R.Items.push_back(std::to_string(Item.Line) + ":" + (Accepted ? Gtin : "!" + Item.Rejected));
    }
    return R;
}

// The lines that are items, by a plain split: 1-based numbers, and whether
// each is all printable characters (ASCII or UTF-8) or tabs.
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
            Out.emplace_back(Number, Line.size() <= MaxLineLength && FirstUnprintable(Line) == 0);
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
    static const WEQEan::TKind Kinds[] = {WEQEan::TKind::Ean13, WEQEan::TKind::Ean8, WEQEan::TKind::UpcA,
                                          WEQEan::TKind::UpcE, WEQEan::TKind::Auto};
    static const char* AddOns[] = {"", "12", "51995"};
    TReading Reading;
    Reading.Kind = Kinds[Flags % 5];
    Reading.Options.AddOn = AddOns[Flags / 5 % 3];
    Reading.Options.Complete = (Flags & 0x80) != 0;

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
