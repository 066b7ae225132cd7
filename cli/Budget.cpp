#include "Budget.h"

#include <WEQBarCode/ean/WEQEanExport.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace WEQCli {

namespace {

std::size_t AddOnKind(std::size_t Digits) { return Digits == 0 ? 0 : Digits == 2 ? 1 : 2; }

} // namespace

TFrames::TFrames(const TOptions& O)
{
    if (O.Format != TFormat::Png || O.Sheet)
        return;
    for (const auto S : {WEQEan::TSymbology::Ean13, WEQEan::TSymbology::Ean8, WEQEan::TSymbology::UpcA,
                         WEQEan::TSymbology::UpcE})
        for (const char* AddOn : {"", "00", "00000"}) {
            WEQEan::TExportOptions E = O.Export;
            E.Symbology = S;
            E.AddOn = AddOn;
            const QSize Size = WEQEan::RasterSize("0", O.Dpi, E);
            Frame[std::size_t(S)][AddOnKind(std::strlen(AddOn))] =
                std::uint64_t(std::max(0, Size.width())) * std::uint64_t(std::max(0, Size.height())) * 4;
        }
}

std::uint64_t TFrames::Bytes(const TItem& Item) const
{
    const auto S = std::size_t(Item.Symbology);
    return S < 4 ? Frame[S][AddOnKind(Item.AddOn.size())] : 0;
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
