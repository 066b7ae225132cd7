// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Budget.h"

#include <WEQBarCode/ean/Units.h>
#include <WEQBarCode/ean/WEQEanExport.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstring>

namespace WEQCli {

TFrames::TFrames(const TOptions& O)
{
    if (O.Format != TFormat::Png || OnePdf(O))
        return;
    if (O.TemplateWidthMM > 0) {
        // A template's label, whatever its symbol.
        const double PerMM = O.Dpi / WEQEan::MillimetresPerInch;
        const auto Label = std::uint64_t(std::lround(O.TemplateWidthMM * PerMM)) *
                           std::uint64_t(std::lround(O.TemplateHeightMM * PerMM)) * 4;
        std::fill(std::begin(Frame), std::end(Frame), Label);
        return;
    }
    // A bit a dot for two colours, two where the digits have their own.
    const std::uint64_t Depth = O.Export.FontColor == O.Export.BarColor ? 1 : 2;
    for (const auto S : {WEQEan::TSymbology::Ean13, WEQEan::TSymbology::Ean8, WEQEan::TSymbology::UpcA,
                         WEQEan::TSymbology::UpcE})
        for (const char* AddOn : {"", "00", "00000"})
            for (const bool Line : {false, true}) {
                const QSize Size = WEQEan::RasterSize(SampleReading(S, std::strlen(AddOn), Line), O.Dpi, O.Export);
                // The packed rows and their copy for the compression, a
                // filter byte a row more; every write-out as large again at most.
                const std::uint64_t Row = (std::uint64_t(std::max(0, Size.width())) * Depth + 7) / 8 + 1;
                Frame[KindOf(S, std::strlen(AddOn), Line)] = 3 * Row * std::uint64_t(std::max(0, Size.height()));
            }
}

std::uint64_t TFrames::Bytes(const TItem& Item) const
{
    return Frame[KindOf(Item)];
}

bool TBudget::Take(std::uint64_t Bytes, const std::atomic<bool>& Stop)
{
    std::unique_lock Guard(Lock);
    while (Taken > 0 && Taken + Bytes > Limit) {
        if (Stop)
            return false;
        // Stop is set without this lock: the wait looks again now and then.
        Freed.wait_for(Guard, std::chrono::milliseconds(50));
    }
    Taken += Bytes;
    return true;
}

void TBudget::Give(std::uint64_t Bytes)
{
    {
        const std::lock_guard Guard(Lock);
        Taken -= Bytes;
    }
    Freed.notify_all();
}

} // namespace WEQCli
