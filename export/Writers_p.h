// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The file formats behind the exports, each written from a symbol's vector
// form or its raster: no painter, no device, nothing shared between calls, so
// any number of threads may write at once.

#include "ean/Colors.h"
#include "ean/WEQEanInk.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <zlib.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace WEQEan {

struct TVectorSymbol;

// The three inks a symbol is printed with. Background None: no background.
struct TInks {
    TInk Background, Bars, Digits;
};

struct TSvgStyle {
    TColor Background = clWhite, Bars = clBlack, Digits = clBlack;
    std::int32_t MicrometresPerModule = 330; // the printed size: Symbol.Modules of these
    std::string Title;                       // plain text; empty for none
    bool FillBackground = true;
};

// The path text of outlines written before, by shape and by where within a
// step of the file's grid its box begins: a batch's digits are rounded and
// written once a size, and copied after. One serves one thread at a time.
class TSvgShapeTexts {
public:
    TSvgShapeTexts();
    ~TSvgShapeTexts();
    struct TImpl;
    std::unique_ptr<TImpl> d;
};

// Appends a whole SVG document for a symbol described in micrometres:
// the background, every bar in one path, each character as its outline (a
// digit drawn more than once is defined once and reused). Texts, when
// given, keeps the characters' path text for the next symbol.
void AppendSvg(const TVectorSymbol& Symbol, const TSvgStyle& Style, std::string& Out,
               TSvgShapeTexts* Texts = nullptr);

// PNG of a 32-bit image at Dpi: 1-bit grey when the image is black and white
// alone, else indexed with as few bits as its colours need (RGB beyond 256),
// the resolution in its pHYs chunk. Level is zlib's, 1 (fast) to 9; its
// default 6 takes under a tenth of a millisecond on a symbol's few kilobytes
// of rows and makes files a quarter smaller than level 1.
// Transparent, when given, is the colour that lets the page through.
QByteArray PngOfImage(const QImage& Image, int Dpi, int Level = 6, const QRgb* Transparent = nullptr);

// The rows of an image as a PNG writer asks for them, top to bottom, twice
// over: a row's pointer holds until the next call.
class TRowSource {
public:
    virtual ~TRowSource() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual const QRgb* Row(int Y) = 0;
};
// PngOfImage of rows that need not all exist at once: a symbol too large to
// hold whole is rendered band by band.
QByteArray PngOfRows(TRowSource& Rows, int Dpi, int Level = 6, const QRgb* Transparent = nullptr);

// One compression stream a thread, reset for each file: a fresh one costs
// its tables' allocation and setup (page faults over a quarter megabyte)
// every time.
struct TDeflater {
    explicit TDeflater(bool Raw = false) : Raw(Raw) {}
    z_stream Z{};
    int Level = -1;
    bool Ready = false;
    const bool Raw; // deflate data alone, without the zlib header and checksum
    ~TDeflater();
    // Ready for a new stream at Level.
    bool Start(int NewLevel);
    // The thread's stream of each kind.
    static TDeflater& Thread(bool Raw = false);
};

class TPackedRows;
// PNG of rows packed as the format keeps them, at Depth bits an index into
// Palette (0xRRGGBB each): 1-bit grey where the two colours are black and
// white, else a palette. Transparent, unless -1, is the index that lets the
// page through. The compression stream is the thread's own, reused.
QByteArray PngOfPacked(const TPackedRows& Rows, const std::vector<std::uint32_t>& Palette, int Dpi, int Level,
                       int Transparent = -1);


// An EPSF-3.0 file of a symbol described in micrometres: the bounding box its
// exact size, the bars as rectangles and each character shape a procedure
// defined once, every shape in its ink (setrgbcolor, setcmykcolor, or a
// Separation colour space for a spot ink).
// Text as a PDF or PostScript string literal: its parentheses and
// backslashes escaped, anything but printable ASCII as '?'.
std::string LiteralString(const std::string& Text);

void AppendEps(const TVectorSymbol& Symbol, const TInks& Inks, const std::string& Title, std::string& Out);

// A PDF document written as its pages are made, into a sink that takes the
// bytes in order (a buffer, a file): each character shape once, as a form
// XObject, however many symbols use it, so that a page of many labels costs a
// few operators a label.
class TPdfDocument {
public:
    using TSink = std::function<bool(const char* Data, std::size_t Size)>;
    explicit TPdfDocument(TSink Sink);

    void BeginPage(double WidthPoints, double HeightPoints);
    // Symbol described in units of PointsPerUnit, its top-left at (Left, Top)
    // points from the page's top-left corner.
    void Place(const TVectorSymbol& Symbol, double Left, double Top, double PointsPerUnit, TColor Background,
               TColor Bars, TColor Digits, bool FillBackground = true);
    // The same in inks: CMYK as DeviceCMYK, a spot ink as a Separation with
    // its CMYK as the alternate, RGB as DeviceRGB.
    void Place(const TVectorSymbol& Symbol, double Left, double Top, double PointsPerUnit, const TInks& Inks);
    // A line from (X1, Y1) to (X2, Y2) points from the page's top-left.
    void Line(double X1, double Y1, double X2, double Y2, double Width, TColor Color);
    void Line(double X1, double Y1, double X2, double Y2, double Width, const TInk& Ink);
    // PDF/X-1a:2003 for the registered output condition of that name: the
    // OutputIntent, a TrimBox and BleedBox on each page, the document's
    // /ID and the Info keys it asks for. The inks must be CMYK or spot.
    void SetPdfX(const std::string& OutputCondition);
    bool Failed() const { return Broken; }
    void EndPage();
    // The shared objects, the page tree and the cross-reference table; false
    // where the sink refused bytes anywhere.
    bool Finish(const std::string& Title);

private:
    int NewObject();
    void Put(const std::string& Bytes);
    void BeginObject(int Number);
    void PutStream(int Number, const std::string& Dictionary, const std::string& Data);
    std::string ShapeName(const TVectorSymbol& Symbol, std::size_t Shape);
    void AppendInk(const TInk& Ink, bool Stroke);

    TSink Sink;
    bool Broken = false;
    std::size_t Written = 0;
    std::vector<std::size_t> Offsets; // of object n at n - 1
    std::vector<int> Pages;
    std::map<std::string, std::string> ShapeNames;
    std::string XObjects, Content;
    double PageWidth = 0, PageHeight = 0;
    std::map<std::string, std::string> SpotNames; // a spot ink's text to its colour space's name
    std::string ColorSpaces;
    std::string OutputCondition; // empty: not PDF/X
    std::uint32_t Crc = 0, Adler = 1; // of every byte so far, for PDF/X's /ID
};

} // namespace WEQEan
