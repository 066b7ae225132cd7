// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Fitting the font height to a box by measuring rendered ink, and the cache
// of fittings that every thread shares.

#include "ocrb/Fit_p.h"

#include "ean/Arith.h"
#include "surface/Ink_p.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace WEQOcrB {

std::atomic<std::uint64_t> MeasurementCount{0};

namespace {

// A safety net: the stop rules end every real search within a few passes.
constexpr int MaxFitPasses = 4096;

char SlotChar(std::int32_t Slot) { return Slot == DelimiterSlot ? '>' : char('0' + Slot); }

// The slots' ink at one height, measured as the search asks for them:
// together, where the meter draws glyphs together, from the first slot asked
// for to the last; with FirstAlone, the first slot alone (a first look at a
// roomy box needs no other).
class TPassInk {
public:
    TPassInk(const std::string& FontName, std::int32_t Height, bool FirstAlone)
        : FontName(FontName), Height(Height), FirstAlone(FirstAlone)
    {
    }

    // Slot's ink, or false beyond the heights we fit.
    bool Slot(std::int32_t Slot, TInkBox& Ink)
    {
        if (Height > MaxFitFontHeight)
            return false;
        MeasurementCount.fetch_add(1, std::memory_order_relaxed);
        const std::size_t I = std::size_t(Slot);
        if (!Known[I]) {
            // The face is found at the first measurement: a final pass often needs none.
            const TInkMeter& Meter = Meters ? *Meters : Meters.emplace(FontName, Height);
            const std::int32_t Last = (Slot == 0 && FirstAlone) || !Meter.DrawsTogether() ? Slot : DelimiterSlot;
            std::string Chars;
            for (std::int32_t S = Slot; S <= Last; ++S)
                if (!Known[std::size_t(S)])
                    Chars += SlotChar(S);
            const std::vector<TInkBox> Measured = Meter.MeasureEach(Chars);
            std::size_t Next = 0;
            for (std::int32_t S = Slot; S <= Last; ++S)
                if (!Known[std::size_t(S)]) {
                    Boxes[std::size_t(S)] = Measured[Next++];
                    Known[std::size_t(S)] = true;
                }
        }
        Ink = Boxes[I];
        return true;
    }

private:
    const std::string& FontName;
    std::int32_t Height;
    bool FirstAlone;
    std::optional<TInkMeter> Meters; // the one meter, once made
    std::array<TInkBox, DelimiterSlot + 1> Boxes{};
    std::array<bool, DelimiterSlot + 1> Known{};
};

// The table entries of one measurement. A character without ink counts as an
// empty box at the cell origin.
TInk EntryOf(const TInkBox& Ink, std::int32_t W, std::int32_t H)
{
    if (!Ink.Any)
        return {std::min(W, 0), std::min(H, 0), 0, 0};
    return {std::min(W, Ink.Left), std::min(H, Ink.Top), Ink.Right - Ink.Left + 1, Ink.Bottom - Ink.Top + 1};
}

} // namespace

bool SearchFittedHeight(TSearchState& State, const std::string& F, std::int32_t W, std::int32_t H)
{
    State.MeasuredAt.fill(0);
    State.MeasuredBefore.fill(0);
    State.FittedHeight = H;
    long double Ratio = 0;
    std::int32_t KnownFit = std::numeric_limits<std::int32_t>::min();
    std::int32_t KnownOverflow = std::numeric_limits<std::int32_t>::max();
    auto& Ink = State.Ink;

    for (int Pass = 0; Pass < MaxFitPasses; ++Pass) {
        // No font is smaller than one pixel: a box too small for every height
        // ends the search at 1.
        std::int32_t Ht = std::max(1, State.FittedHeight);
        State.FittedHeight = Ht;
        std::int32_t MaxW = 0, MaxH = 0;
        TPassInk Measured(F, Ht, Ratio == 0);
        for (std::int32_t S = 0; S <= DelimiterSlot; ++S) {
            TInkBox Box;
            if (!Measured.Slot(S, Box))
                return false;
            if (State.MeasuredAt[std::size_t(S)] != 0) {
                State.Before[std::size_t(S)] = Ink[std::size_t(S)];
                State.MeasuredBefore[std::size_t(S)] = State.MeasuredAt[std::size_t(S)];
            }
            Ink[std::size_t(S)] = EntryOf(Box, W, H);
            State.MeasuredAt[std::size_t(S)] = Ht;
            MaxW = std::max(MaxW, Ink[std::size_t(S)].Width);
            MaxH = std::max(MaxH, Ink[std::size_t(S)].Height);
            if (S == DelimiterSlot && MaxW < W && MaxH < H)
                KnownFit = std::max(KnownFit, Ht);
            if ((S == DelimiterSlot && MaxW > W) || MaxH > H) {
                KnownOverflow = std::min(KnownOverflow, Ht);
                break;
            }
            if (std::int64_t(W) - MaxW >= 2 && std::int64_t(H) - MaxH >= 2 && S == 0 && Ratio == 0)
                break;
        }

        if (MaxW > W || MaxH > H) {
            if (Ht == 1)
                return true; // overflows even at the smallest height
            State.FittedHeight = --Ht;
            if (Ht == KnownFit)
                return true;
        } else if (MaxW < W && MaxH < H) {
            if (Ratio == 0 && Ink[0].Height > 0) {
                // The one jump: scale so that the ink of '0' would fill the box height.
                Ratio = static_cast<long double>(Ht) / static_cast<long double>(Ink[0].Height);
                Ht = TruncToInt32(static_cast<long double>(H) * Ratio);
            } else {
                Ht = ClampToInt32(std::int64_t(Ht) + 1);
            }
            State.FittedHeight = Ht;
            if (Ht == KnownOverflow) {
                State.FittedHeight = Ht - 1;
                return true;
            }
        } else {
            return true; // fills the box exactly in at least one direction
        }
    }
    return true;
}

TFit FitFrom(TSearchState State, const std::string& FontName, std::int32_t Width, std::int32_t Height)
{
    TFit Fit;
    if (!SearchFittedHeight(State, FontName, Width, Height))
        return Fit;
    Fit.Fitted = true;
    Fit.Height = State.FittedHeight;
    Fit.Reported = State.Ink;
    Fit.Complete = std::none_of(State.MeasuredAt.begin(), State.MeasuredAt.end(), [](std::int32_t H) { return H == 0; });
    // The entries may come from a pass one pixel above the final height; the
    // exact ink of each character at that height is the pass's before it, or
    // measured.
    TPassInk Pass(FontName, Fit.Height, false);
    for (std::int32_t S = 0; S <= DelimiterSlot; ++S) {
        const std::size_t I = std::size_t(S);
        TInkBox Box;
        if (State.MeasuredAt[I] == Fit.Height)
            Fit.Exact[I] = State.Ink[I];
        else if (State.MeasuredBefore[I] == Fit.Height)
            Fit.Exact[I] = State.Before[I];
        else if (Pass.Slot(S, Box))
            Fit.Exact[I] = EntryOf(Box, Width, Height);
        else
            return TFit{};
    }
    return Fit;
}

namespace {

// The line's characters at em height H, into Fit: whether their ink fits a
// Width x Height box, and how tall it stands from the highest to the lowest.
bool LineFits(const std::string& FontName, std::int32_t H, std::int32_t Width, std::int32_t Height, TLineFit& Fit,
              std::int64_t& Tall)
{
    Fit.Height = H;
    std::int32_t Top = std::numeric_limits<std::int32_t>::max(), Bottom = std::numeric_limits<std::int32_t>::min();
    std::int32_t Widest = 0;
    const std::vector<TInkBox> Boxes = TInkMeter(FontName, H).MeasureEach(std::string(LineFitChars, LineFitSlots));
    MeasurementCount.fetch_add(LineFitSlots, std::memory_order_relaxed);
    for (std::size_t S = 0; S < LineFitSlots; ++S) {
        const TInkBox& Box = Boxes[S];
        Fit.Ink[S] = EntryOf(Box, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max());
        if (!Box.Any)
            continue;
        Top = std::min(Top, Box.Top);
        Bottom = std::max(Bottom, Box.Bottom);
        Widest = std::max(Widest, Fit.Ink[S].Width);
    }
    Fit.Top = Top > Bottom ? 0 : Top;
    Tall = Top > Bottom ? 0 : std::int64_t(Bottom) - Top + 1;
    return Widest <= Width && Tall <= Height;
}

} // namespace

TLineFit FitLine(const std::string& FontName, std::int32_t Width, std::int32_t Height)
{
    // From the box's height, one jump in proportion to the ink's height,
    // then a pixel at a time to the largest height that fits.
    TLineFit Best, Trial;
    std::int32_t H = std::clamp(Height, 1, MaxFitFontHeight);
    std::int32_t KnownOverflow = MaxFitFontHeight + 1;
    bool Jumped = false;
    for (int Pass = 0; Pass < MaxFitPasses && H >= 1 && H < KnownOverflow && H > Best.Height; ++Pass) {
        std::int64_t Tall = 0;
        const bool Fits = LineFits(FontName, H, Width, Height, Trial, Tall);
        if (Fits)
            Best = Trial, Best.Fitted = true;
        else
            KnownOverflow = H;
        std::int32_t Next = Fits ? H + 1 : H - 1;
        if (!Jumped) {
            Jumped = true;
            if (Tall > 0) {
                const std::int32_t Scaled = TruncToInt32(static_cast<long double>(H) * Height / Tall);
                if (Fits ? Scaled > H : Scaled < H)
                    Next = std::clamp(Scaled, 1, MaxFitFontHeight);
            }
        }
        // Below a height that fits, nothing new is learned.
        if (!Fits && Next <= Best.Height)
            break;
        H = Next;
    }
    // Fitting at the largest height tried says nothing of whether more would:
    // such a box is beyond the font's sizes, as the digits' search has it.
    if (Best.Height >= MaxFitFontHeight)
        return {};
    return Best;
}

template <class T>
bool TFitCache::FindIn(std::list<TEntry<T>>& In, const std::string& FontName, std::int32_t Width,
                       std::int32_t Height, T& Out)
{
    const std::lock_guard Lock(Mutex);
    for (auto It = In.begin(); It != In.end(); ++It)
        if (It->Width == Width && It->Height == Height && It->FontName == FontName) {
            In.splice(In.begin(), In, It);
            Out = It->Fit;
            return true;
        }
    return false;
}

template <class T>
void TFitCache::KeepIn(std::list<TEntry<T>>& In, const std::string& FontName, std::int32_t Width,
                       std::int32_t Height, const T& Fit)
{
    const std::lock_guard Lock(Mutex);
    In.remove_if([&](const TEntry<T>& E) { return E.Width == Width && E.Height == Height && E.FontName == FontName; });
    In.push_front({FontName, Width, Height, Fit});
    if (In.size() > Capacity)
        In.pop_back();
}

TFit TFitCache::Fit(const std::string& FontName, std::int32_t Width, std::int32_t Height)
{
    TFit Found;
    if (Find(FontName, Width, Height, Found))
        return Found;
    // Fitted outside the lock: other boxes need not wait for this one.
    Found = FitFrom(TSearchState{}, FontName, Width, Height);
    Keep(FontName, Width, Height, Found);
    return Found;
}

TLineFit TFitCache::Line(const std::string& FontName, std::int32_t Width, std::int32_t Height)
{
    TLineFit Found;
    if (FindIn(Lines, FontName, Width, Height, Found))
        return Found;
    Found = FitLine(FontName, Width, Height);
    KeepIn(Lines, FontName, Width, Height, Found);
    return Found;
}

bool TFitCache::Find(const std::string& FontName, std::int32_t Width, std::int32_t Height, TFit& Out)
{
    return FindIn(Entries, FontName, Width, Height, Out);
}

void TFitCache::Keep(const std::string& FontName, std::int32_t Width, std::int32_t Height, const TFit& Fit)
{
    KeepIn(Entries, FontName, Width, Height, Fit);
}

void TFitCache::Clear()
{
    const std::lock_guard Lock(Mutex);
    Entries.clear();
    Lines.clear();
}

TFitCache& TFitCache::Shared()
{
    static TFitCache Instance;
    return Instance;
}

} // namespace WEQOcrB
