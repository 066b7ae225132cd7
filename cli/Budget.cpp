#include "Budget.h"

#include <WEQBarCode/ean/WEQEanExport.h>
#include <WEQBarCode/ean/WEQEanFamily.h>

#include <algorithm>
#include <chrono>

namespace WEQCli {

std::uint64_t FrameBytes(const TOptions& O, const TItem& Item)
{
    if (O.Format != TFormat::Png || O.Sheet)
        return 0;
    const auto Dots = std::uint64_t(std::max(1, WEQEan::DotsPerModule(O.Export.XDimensionMM, O.Dpi)));
    const auto Wide = std::uint64_t(WEQEan::SymbolModules(Item.Symbology, Item.AddOn.size(), O.Export.AddOnGap));
    const auto High = std::uint64_t(WEQEan::RatioHeightModules(Item.Symbology));
    return Wide * Dots * High * Dots * 4;
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
