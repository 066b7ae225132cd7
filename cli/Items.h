// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The items of a batch: where each came from, and its GTIN or why it was
// rejected. Plain text work, no drawing.

#include "Lines.h"

#include <WEQBarCode/ean/WEQEanBook.h>
#include <WEQBarCode/ean/WEQEanSymbol.h>

#include <cstdint>
#include <optional>
#include <string>

namespace WEQCli {

struct TItem {
    std::uint32_t Input = 0; // 0: the arguments; 1 on: the inputs in order
    std::size_t Line = 0;    // 1-based line (argument position for arguments)
    std::size_t Number = 0;  // 1-based over all items, for {n}
    std::string Gtin;        // the symbol's digits (EAN-13: 13); empty when rejected
    std::string Rejected;    // the reason, user text escaped; empty when accepted
    WEQEan::TSymbology Symbology = WEQEan::TSymbology::Ean13;
    std::string AddOn;       // the add-on's digits, or none
    std::string NumberLine;  // the number printed above a book's bars, or none
};

// The kinds of item by symbology, add-on (none, 2 or 5 digits) and number
// line (none, or one: every line a reading gives is sized alike), for what
// follows from those alone: a label's size, its print findings.
inline constexpr std::size_t ItemKinds = 24;
inline std::size_t KindOf(WEQEan::TSymbology Symbology, std::size_t AddOnDigits, bool Line = false)
{
    return (Line ? 12 : 0) + std::size_t(Symbology) % 4 * 3 + (AddOnDigits == 0 ? 0 : AddOnDigits == 2 ? 1 : 2);
}
inline std::size_t KindOf(const TItem& Item) { return KindOf(Item.Symbology, Item.AddOn.size(), !Item.NumberLine.empty()); }
// A number line of the size every reading's line takes, for measuring.
inline constexpr const char* SampleLine = "ISBN 978-0-00-000000-0";

// How the items are read: the symbology (none: chosen per item from its
// GTIN), the add-on of every item, and whether any text is completed.
struct TReading {
    std::optional<WEQEan::TSymbology> Symbology = WEQEan::TSymbology::Ean13;
    std::string AddOn;
    bool Complete = false;
    // Every item a book's number of this kind; with Symbology none, any item
    // of a book's form is read as one.
    WEQEan::TBookKind Book = WEQEan::TBookKind::None;
    std::string IssnVariant = "00";
};

// The GTIN of one item's text, or the reason there is none. With Complete,
// any text is completed as the control completes it.
bool CheckGtin(const std::string& Text, bool Complete, std::string& Gtin, std::string& Reason);
// The same for any symbology: the item's digits, symbology and add-on, or
// the reason in Item.Rejected. A byte that is not printable ASCII is refused
// before anything reads the text.
bool CheckItem(const std::string& Text, const TReading& Reading, TItem& Item);

// An item's text as its GTIN and its add-on's field (empty: none): "GTIN",
// "GTIN,ADDON", "GTIN+ADDON" or the two apart by spaces or tabs, each field
// may be quoted as in CSV and an empty add-on field is none. False, with the
// reason, for anything else: a third field, text after the add-on, '+'
// without one. Nothing of a line is dropped unread.
bool SplitItem(const std::string& Text, std::string& Gtin, std::string& AddOn, std::string& Reason);
// The item of a line or argument: split, then checked with its own add-on
// (2 or 5 digits, or the line is rejected) or else the reading's.
void ReadItem(const std::string& Text, const TReading& Reading, TItem& Item);

// One input's items in order. Blank lines and lines starting with '#' are
// no items; every other line is one (ReadItem), rejected with its reason
// where it holds a byte that is not printable ASCII (tabs aside) or is too
// long.
class TItemReader {
public:
    TItemReader(TLineReader::TRead Read, const TReading& Reading, std::uint32_t Input = 1);
    // Why the input is no text of lines (UTF-16, UTF-32); empty when it is.
    std::string Refusal();
    // The next item, its Number left as it was; false at the end or when a
    // read failed (ReadError()).
    bool Next(TItem& Item);
    // How many items are left, counted without checking them; they are read.
    std::size_t CountRest();
    int ReadError() const { return Lines.Error(); }

private:
    TLineReader Lines;
    TReading Reading;
    std::uint32_t Input;
    TLine Line;

    // The next line that is an item: not blank, no comment.
    bool NextItemLine();
};

// The item of the argument at Position.
void ArgumentItem(const std::string& Text, std::size_t Position, const TReading& Reading, TItem& Item);

} // namespace WEQCli
