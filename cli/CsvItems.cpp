// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "CsvItems.h"

#include "Text.h"

#include <algorithm>
#include <cctype>

namespace WEQCli {

namespace {

std::string Folded(const std::string& Text)
{
    const std::size_t Begin = Text.find_first_not_of(' ');
    std::string Out = Begin == std::string::npos ? std::string() : Text.substr(Begin, Text.find_last_not_of(' ') - Begin + 1);
    std::transform(Out.begin(), Out.end(), Out.begin(), [](unsigned char C) { return char(std::tolower(C)); });
    return Out;
}

// "SKU, GTIN, Name": the header as messages show it, cut where it is long.
std::string Listed(const std::vector<std::string>& Header)
{
    std::string Out;
    for (std::size_t I = 0; I < Header.size() && I < 12; ++I)
        Out += (I ? ", " : "") + Quote(Header[I], 24);
    return Out + (Header.size() > 12 ? ", ..." : "");
}

// The 1-based position of the first byte of Field that begins no printable
// character, tabs and line breaks aside; 0 for none.
std::size_t BadByte(const std::string& Field)
{
    for (std::size_t I = 0; I < Field.size();) {
        if (Field[I] == '\t' || Field[I] == '\n' || Field[I] == '\r')
            ++I;
        else if (const std::size_t N = PrintableAt(Field, I))
            I += N;
        else
            return I + 1;
    }
    return 0;
}

} // namespace

bool FindColumn(const std::vector<std::string>& Header, const std::string& Wanted, const std::string& Option,
                std::size_t& Index, std::string& Reason)
{
    if (!Wanted.empty() && std::all_of(Wanted.begin(), Wanted.end(), [](char C) { return C >= '0' && C <= '9'; })) {
        const std::size_t N = Wanted.size() > 6 ? 0 : std::stoul(Wanted);
        if (N >= 1 && N <= Header.size()) {
            Index = N - 1;
            return true;
        }
        Reason = Option + " " + Wanted + ": the header has " + std::to_string(Header.size()) + " column" +
                 (Header.size() == 1 ? "" : "s") + " (" + Listed(Header) + ")";
        return false;
    }
    const std::string Key = Folded(Wanted);
    for (std::size_t I = 0; I < Header.size(); ++I)
        if (Folded(Header[I]) == Key) {
            Index = I;
            return true;
        }
    Reason = Option + " " + Quote(Wanted) + ": no column of the header is named so (" + Listed(Header) + ")";
    return false;
}

TCsvItemReader::TCsvItemReader(TLineReader::TRead Read, const TReading& Reading, std::string GtinColumn,
                               std::string AddOnColumn, std::uint32_t Input)
    : Records(std::move(Read)), Reading(Reading), GtinColumn(std::move(GtinColumn)),
      AddOnColumn(std::move(AddOnColumn)), Input(Input)
{
}

bool TCsvItemReader::Start()
{
    Started = true;
    if (const std::string& Encoding = Records.Encoding(); !Encoding.empty()) {
        Refused = "the input is " + Encoding + "; save it as UTF-8 or ASCII";
        return false;
    }
    if (!Records.Next(Record)) {
        if (!Records.Error())
            Refused = "no header line naming the columns";
        return false;
    }
    if (!Record.Fault.empty()) {
        Refused = "line " + std::to_string(Record.Line) + ", the header: " + Record.Fault;
        return false;
    }
    for (const std::string& Name : Record.Fields)
        if (const std::size_t Bad = BadByte(Name)) {
            Refused = "line " + std::to_string(Record.Line) + ", the header: " + Quote(Name) + " holds byte " +
                      Escape(std::string(1, Name[Bad - 1])) + ", which begins no printable character";
            return false;
        }
    ColumnNames = std::make_shared<const std::vector<std::string>>(Record.Fields);
    if (!FindColumn(*ColumnNames, GtinColumn, "--gtin-column", Gtin, Refused))
        return false;
    HasAddOn = !AddOnColumn.empty();
    return !HasAddOn || FindColumn(*ColumnNames, AddOnColumn, "--add-on-column", AddOn, Refused);
}

std::string TCsvItemReader::Refusal()
{
    if (!Started)
        Start();
    return Refused;
}

std::size_t TCsvItemReader::CountRest()
{
    if (!Started && !Start())
        return 0;
    std::size_t Count = 0;
    while (Refused.empty() && Records.Next(Record))
        ++Count;
    return Count;
}

bool TCsvItemReader::Next(TItem& Item)
{
    if ((!Started && !Start()) || !Refused.empty() || !Records.Next(Record))
        return false;
    Item.Input = Input;
    Item.Line = Record.Line;
    Item.Reading = {};
    Item.Fields.clear();
    Item.Columns.reset();
    const auto Reject = [&Item](std::string Reason) { Item.Rejected = std::move(Reason); };
    if (!Record.Fault.empty()) {
        Reject(Record.Fault);
        return true;
    }
    if (Record.Fields.size() != ColumnNames->size()) {
        Reject(std::to_string(Record.Fields.size()) + " field" + (Record.Fields.size() == 1 ? "" : "s") +
               " where the header has " + std::to_string(ColumnNames->size()));
        return true;
    }
    for (std::size_t I = 0; I < Record.Fields.size(); ++I)
        if (const std::size_t Bad = BadByte(Record.Fields[I])) {
            const std::string& F = Record.Fields[I];
            const char C = F[Bad - 1];
            const bool Control = static_cast<unsigned char>(C) < 0x20 || C == 0x7F;
            Reject("field " + std::to_string(I + 1) + " (" + Quote((*ColumnNames)[I], 24) + "), byte " +
                   std::to_string(Bad) + " is " + Escape(std::string(1, C)) +
                   (Control ? ", a control character" : ", not printable UTF-8") + ": " + QuoteAround(F, Bad));
            return true;
        }
    const std::string& Text = Record.Fields[Gtin];
    WEQEan::TReadOptions Options = Reading.Options;
    if (HasAddOn && !Record.Fields[AddOn].empty())
        Options.AddOn = Record.Fields[AddOn];
    WEQEan::TEanReading R = WEQEan::Read(Reading.Kind, Text, Options);
    if (!R.Valid()) {
        Reject(Quote(Text) + ": " + Escape(R.Error));
        return true;
    }
    Item.Reading = std::move(R);
    Item.Rejected.clear();
    Item.Fields = std::move(Record.Fields);
    Item.Columns = ColumnNames;
    return true;
}

} // namespace WEQCli
