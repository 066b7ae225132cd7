// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Internals of the digit painter: what the symbol drawing and the tests use
// beyond the public interface.

#include "ean/OcrBQuadOutlines.h"
#include "ocrb/WEQOcrB.h"
#include "ean/Export.h"

#include <QByteArray>
#include <QRect>

#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>

class TTextCache;

namespace WEQOcrB {

// Where the embedded font lives among the program's resources.
inline constexpr const char* OcrBFontResource = ":/ocrb/OCRB.ttf";
// The embedded font's units to the em, those of the outline tables.
inline constexpr int OcrBUnitsPerEm = 1000;

// Registers font data for this process and tells whether it provides the
// family "OCRB"; sets OcrBFontHandle.
bool RegisterOcrBFontData(const QByteArray& Data);
// Removes the registration: OcrBFontLoaded becomes false and the fitting
// cache's font name empty.
void UnloadOcrBFont();
// Whether the embedded face is registered now; any thread may ask.
bool OcrBFontRegistered();
// True on the thread of the application object. Drawings there keep the
// process-wide names (OcrBFontLoaded, the one-key fitting cache and its
// tables) as the interface describes; drawings on any other thread neither
// read nor write them.
bool OnGuiThread();

// The largest font height the fitting will try. A box that needs more is
// drawn with the outlines instead.
inline constexpr std::int32_t MaxFitFontHeight = 1024;

// Raised by the fitting for a box that no font height up to
// MaxFitFontHeight can be measured for.
class EFitTooLarge : public Exception {
public:
    using Exception::Exception;
};

struct TInk {
    std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TInk&) const = default;
};

// One fitting of the font to a box.
struct TFit {
    bool Fitted = false;              // false: the box is beyond MaxFitFontHeight
    std::int32_t Height = 0;          // the fitted em height
    std::array<TInk, 11> Reported{};  // the ink entries as the search leaves them, per slot
    std::array<TInk, 11> Exact{};     // each character's ink at Height itself
    bool Complete = false;            // the search measured every slot itself
};

// The characters the number line above a book's symbol can hold, those its
// outlines have, each one a slot of a line fitting in this order.
inline constexpr const auto& LineFitChars = LineChars;
inline constexpr std::size_t LineFitSlots = std::size(LineChars) - 1;

// One fitting of the font to the number line's boxes: the largest em height
// at which the ink of every line character, drawn on one baseline, fits a
// box: the widest within its width, from the highest ink to the lowest
// within its height.
struct TLineFit {
    bool Fitted = false; // false: no height from 1 fits, or the box wants MaxFitFontHeight or more
    std::int32_t Height = 0;
    std::int32_t Top = 0; // the highest ink's row in the text cell, the same for every character
    std::array<TInk, LineFitSlots> Ink{}; // each character's ink at Height
};

// The fitting of the line's Width x Height boxes; raises where a measurement fails.
TLineFit FitLine(const std::string& FontName, std::int32_t Width, std::int32_t Height);

// Fittings of the font to box sizes, for every thread that is handed it: a
// few dozen boxes, the least recently used goes first. A box beyond the
// font's sizes is remembered as such. A search starts from empty ink
// tables, so what it holds never depends on earlier fittings.
class TFitCache {
public:
    explicit TFitCache(std::size_t Capacity = 48) : Capacity(Capacity) {}
    TFitCache(const TFitCache&) = delete;
    TFitCache& operator=(const TFitCache&) = delete;

    // The fitting of FontName to a Width x Height box, fitted on a miss.
    TFit Fit(const std::string& FontName, std::int32_t Width, std::int32_t Height);
    // The number line's fitting to boxes of that size, likewise.
    TLineFit Line(const std::string& FontName, std::int32_t Width, std::int32_t Height);
    bool Find(const std::string& FontName, std::int32_t Width, std::int32_t Height, TFit& Out);
    void Keep(const std::string& FontName, std::int32_t Width, std::int32_t Height, const TFit& Fit);
    void Clear();

    // The library's own, which its entry points hand to the engine.
    static TFitCache& Shared();

private:
    template <class T> struct TEntry {
        std::string FontName;
        std::int32_t Width, Height;
        T Fit;
    };
    template <class T> bool FindIn(std::list<TEntry<T>>& In, const std::string& FontName, std::int32_t Width,
                                   std::int32_t Height, T& Out);
    template <class T> void KeepIn(std::list<TEntry<T>>& In, const std::string& FontName, std::int32_t Width,
                                   std::int32_t Height, const T& Fit);
    const std::size_t Capacity;
    std::mutex Mutex;
    std::list<TEntry<TFit>> Entries; // most recently used first
    std::list<TEntry<TLineFit>> Lines;
};

// Where the text cell of a character goes so that its ink box lands in the
// box (Left, Top, Width) as aligned: 0 left, 2 right, else centred with the
// half of the spare width truncated toward zero. The ink top lands on Top.
QPoint PlaceInk(const TInk& Ink, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::uint8_t Alignment);

// The fitting DrawOcrBChar goes by on this thread: on the application's
// thread the interface's one-key fitting (which this updates as
// FitFontHeight does), elsewhere the shared cache's. Not fitted where the
// box is beyond the font's sizes.
TFit InterfaceFit(const std::string& FontName, std::int32_t Width, std::int32_t Height);

// How a fitted character is drawn: as the interface's digit painter draws
// it, in the canvas's own antialiasing and placed by the ink entries the
// search reported; or exactly, without antialiasing and placed by its own
// ink at the fitted height, so that the ink lands exactly as aligned.
enum class TFontStyle : std::uint8_t { AsPainter, Exact };

// Draws the number line's Ch with the font as Fit gives it, into the box at
// (Left, Top) Width wide: its ink centred across, the line's highest ink on
// Top; exactly, without antialiasing, in the Exact style. False for a
// character the fitting has no slot for, nothing drawn.
bool DrawLineChar(const TLineFit& Fit, TFontStyle Style, char Ch, TCanvas& Canvas, std::int32_t Left,
                  std::int32_t Top, std::int32_t Width, TColor Color);

// Draws Ch ('0'..'9', '>') with the font as Fit gives it, in Style; touches
// no process-wide name. With Glyphs, from that cache and only where it gives
// exactly the painter's pixels within Inside (false otherwise, nothing
// drawn); Known as TCanvasRaster::TextOutIfExact takes it.
bool DrawFittedChar(const TFit& Fit, TFontStyle Style, char Ch, TCanvas& Canvas, std::int32_t Left,
                    std::int32_t Top, std::int32_t Width, std::uint8_t Alignment, TColor Color,
                    TTextCache* Glyphs = nullptr, const QRect* Inside = nullptr, const QRect* Known = nullptr);

// Whether the interface's digit painter draws with the font on this thread:
// OcrBFontLoaded on the application's thread, the registration elsewhere.
bool FontInUse();

// The outline painter of Ch ('0'..'9', '>'); nothing for any other character.
void DrawOutlineChar(char Ch, TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                     std::int32_t Height, TColor Color);

// Counts every character measured by the fitting, so tests can see a cache hit.
extern std::atomic<std::uint64_t> MeasurementCount;

} // namespace WEQOcrB
