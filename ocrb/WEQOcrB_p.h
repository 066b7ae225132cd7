#pragma once

// Internals of the digit painter: what the symbol drawing and the tests use
// beyond the public interface.

#include "ocrb/WEQOcrB.h"
#include "surface/Export.h"

#include <QByteArray>
#include <QRect>

#include <array>
#include <atomic>
#include <cstdint>

namespace WEQOcrB {

// Where the embedded font lives among the program's resources.
inline constexpr const char* OcrBFontResource = ":/ocrb/OCRB.ttf";

// Registers font data for this process and tells whether it provides the
// family "OCRB"; sets OcrBFontHandle.
WEQBARCODE_TEST_EXPORT bool RegisterOcrBFontData(const QByteArray& Data);
// Removes the registration: OcrBFontLoaded becomes false and the fitting
// cache's font name empty.
WEQBARCODE_TEST_EXPORT void UnloadOcrBFont();
// Whether the embedded face is registered now; any thread may ask.
WEQBARCODE_TEST_EXPORT bool OcrBFontRegistered();
// True on the thread of the application object. Drawings there keep the
// process-wide names (OcrBFontLoaded, the one-key fitting cache and its
// tables) as the interface describes; drawings on any other thread neither
// read nor write them.
WEQBARCODE_TEST_EXPORT bool OnGuiThread();

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

// The fitting of FontName to a Width x Height box from a cache that every
// thread shares (a few dozen boxes, the least recently used goes first). A
// box beyond the font's sizes is remembered as such. A search starts from
// empty ink tables, so its result does not depend on earlier fittings.
WEQBARCODE_TEST_EXPORT TFit SharedFit(const std::string& FontName, std::int32_t Width, std::int32_t Height);
// Empties the shared cache; for tests and benchmarks of a first fitting.
WEQBARCODE_TEST_EXPORT void ClearSharedFits();

// Where the text cell of a character goes so that its ink box lands in the
// box (Left, Top, Width) as aligned: 0 left, 2 right, else centred with the
// half of the spare width truncated toward zero. The ink top lands on Top.
QPoint PlaceInk(const TInk& Ink, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::uint8_t Alignment);

// DrawFontChar, but only where the canvas can reproduce the painter's pixels
// from its text cache and the text stays within Inside on one background
// colour; otherwise nothing is drawn (the fit is made all the same) and the
// result is false.
// Known: an area of one colour, as TCanvas::TextOutIfExact takes it.
WEQBARCODE_TEST_EXPORT bool DrawFontCharIfExact(const std::string& Text, TCanvas& Canvas, std::int32_t Left,
                                                std::int32_t Top, std::int32_t Width, std::int32_t Height,
                                                std::uint8_t Alignment, TColor Color, const QRect& Inside,
                                                const QRect* Known = nullptr);

// Draws Ch ('0'..'9', '>') with the font as Fit gives it, without
// antialiasing, placed by its ink at the fitted height itself, so that the ink
// lands exactly as aligned; touches no process-wide name. With Inside,
// only where the text cache gives exactly the painter's pixels within it
// (false otherwise, nothing drawn).
bool DrawFittedChar(const TFit& Fit, char Ch, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                    std::int32_t Width, std::uint8_t Alignment, TColor Color, const QRect* Inside = nullptr,
                    const QRect* Known = nullptr);

// Whether the digit painter draws with the font on this thread.
bool FontInUse();

// The outline painter of Ch ('0'..'9', '>'); nothing for any other character.
void DrawOutlineChar(char Ch, TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                     std::int32_t Height, TColor Color);

// Draws Ch's outline with its ink box mapped exactly onto (Left, Top, Width,
// Height), for files that hold the digits as paths.
void DrawOutlineInto(char Ch, TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                     std::int32_t Height, TColor Color);

// Counts every character measured by the fitting, so tests can see a cache hit.
WEQBARCODE_TEST_EXPORT extern std::atomic<std::uint64_t> MeasurementCount;

} // namespace WEQOcrB
