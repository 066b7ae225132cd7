// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The items of comma-separated values with a header line: the GTIN of each
// record from one column, its add-on from another, and every field kept
// for a label's text.

#include "Csv.h"
#include "Items.h"

namespace WEQCli {

// The column Wanted names in Header: a number counts from 1, a name matches
// a header's name in any case, spaces around it aside. False, with the
// reason, where there is no such column; Option names the option asking.
bool FindColumn(const std::vector<std::string>& Header, const std::string& Wanted, const std::string& Option,
                std::size_t& Index, std::string& Reason);

// A record's item: the GTIN column read for the reading's kind, with the
// add-on column's digits (an empty field: the reading's own add-on). A
// record is rejected with its reason where its fields are not as many as
// the header's or one holds a byte that begins no printable character (a
// tab and the line breaks inside quotes aside).
class TCsvItemReader final : public TInputItems {
public:
    TCsvItemReader(TLineReader::TRead Read, const TReading& Reading, std::string GtinColumn, std::string AddOnColumn,
                   std::uint32_t Input);
    // Why there are no items: an encoding, no header, a column not found.
    std::string Refusal() override;
    bool Next(TItem& Item) override;
    std::size_t CountRest() override;
    int ReadError() const override { return Records.Error(); }
    const std::vector<std::string>* Header() const override { return ColumnNames.get(); }

private:
    bool Start();

    TCsvReader Records;
    TReading Reading;
    std::string GtinColumn, AddOnColumn;
    std::uint32_t Input;
    bool Started = false;
    std::string Refused;
    std::shared_ptr<const std::vector<std::string>> ColumnNames;
    std::size_t Gtin = 0, AddOn = 0;
    bool HasAddOn = false;
    TCsvRecord Record;
};

} // namespace WEQCli
