#pragma once

// The items of a batch: where each came from, and its GTIN or why it was
// rejected. Plain text work, no drawing.

#include <WEQBarCode/ean/WEQEanSymbol.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace WEQCli {

struct TItem {
    std::string Source;     // the input file, "<stdin>" or "<arguments>"
    std::size_t Line = 0;   // 1-based line (argument position for arguments)
    std::size_t Number = 0; // 1-based over all items, for {n}
    std::string Gtin;       // the symbol's digits (EAN-13: 13); empty when rejected
    std::string Rejected;   // the reason; empty when accepted
    WEQEan::TSymbology Symbology = WEQEan::TSymbology::Ean13;
    std::string AddOn;      // the add-on's digits, or none
};

// How the items are read: the symbology (none: chosen per item from its
// GTIN), the add-on of every item, and whether any text is completed.
struct TReading {
    std::optional<WEQEan::TSymbology> Symbology = WEQEan::TSymbology::Ean13;
    std::string AddOn;
    bool Complete = false;
};

// Lines longer than this are rejected whole: no input makes a huge string.
inline constexpr std::size_t MaxLineLength = 4096;

// The GTIN of one item's text, or the reason there is none. With Complete,
// any text is completed as the control completes it.
bool CheckGtin(const std::string& Text, bool Complete, std::string& Gtin, std::string& Reason);
// The same for any symbology: the item's digits, symbology and add-on, or
// the reason in Item.Rejected.
bool CheckItem(const std::string& Text, const TReading& Reading, TItem& Item);

// The first field of a CSV line (quotes removed), spaces around it trimmed.
std::string FirstField(const std::string& Line);

// Appends the items of one input, numbering on from Items.size(). Blank lines
// and lines starting with '#' are no items.
void ReadItems(std::FILE* In, const std::string& Source, const TReading& Reading, std::vector<TItem>& Items);
void AddArgument(const std::string& Text, std::size_t Position, const TReading& Reading, std::vector<TItem>& Items);

} // namespace WEQCli
