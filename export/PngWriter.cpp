// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "export/Writers_p.h"

#include "ean/Raster_p.h"
#include "ean/Vector_p.h"

#include "ean/Units.h"

#include <zlib.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace WEQEan {

namespace {

void Put32(std::vector<std::uint8_t>& Out, std::uint32_t V)
{
    const std::uint8_t B[4] = {std::uint8_t(V >> 24), std::uint8_t(V >> 16), std::uint8_t(V >> 8), std::uint8_t(V)};
    Out.insert(Out.end(), B, B + 4);
}

void Chunk(std::vector<std::uint8_t>& Out, const char* Type, const std::uint8_t* Data, std::size_t Size)
{
    Put32(Out, std::uint32_t(Size));
    const std::size_t Start = Out.size();
    Out.insert(Out.end(), Type, Type + 4);
    if (Size)
        Out.insert(Out.end(), Data, Data + Size);
    Put32(Out, std::uint32_t(crc32(0, Out.data() + Start, uInt(Out.size() - Start))));
}

// A PNG's last chunks: its resolution in dots per metre, the compressed rows
// and the end.
void EndPng(std::vector<std::uint8_t>& Png, int Dpi, const std::uint8_t* Deflated, std::size_t Size)
{
    const std::uint32_t PerMetre = std::uint32_t(std::lround(Dpi / MetresPerInch));
    std::vector<std::uint8_t> Phys;
    Put32(Phys, PerMetre);
    Put32(Phys, PerMetre);
    Phys.push_back(1);
    Chunk(Png, "pHYs", Phys.data(), Phys.size());
    Chunk(Png, "IDAT", Deflated, Size);
    Chunk(Png, "IEND", nullptr, 0);
}

// The image's colours, in order of appearance, up to 256; Index maps a
// pixel to its entry.
struct TPalette {
    std::vector<QRgb> Colors;
    bool Overflow = false;
    std::size_t Last = 0;

    int Index(QRgb Pixel)
    {
        if (Last < Colors.size() && Colors[Last] == Pixel)
            return int(Last);
        for (std::size_t I = 0; I < Colors.size(); ++I)
            if (Colors[I] == Pixel)
                return int(Last = I);
        if (Colors.size() == 256) {
            Overflow = true;
            return 0;
        }
        Colors.push_back(Pixel);
        return int(Last = Colors.size() - 1);
    }
};

int BitsFor(std::size_t Colors) { return Colors <= 2 ? 1 : Colors <= 4 ? 2 : Colors <= 16 ? 4 : 8; }

// Packs one row of indices, most significant bits first.
void PackRow(const std::uint8_t* Indices, int Width, int Bits, std::uint8_t* Out)
{
    const int PerByte = 8 / Bits;
    for (int X = 0; X < Width; X += PerByte) {
        unsigned Byte = 0;
        for (int K = 0; K < PerByte; ++K)
            Byte = (Byte << Bits) | (X + K < Width ? Indices[X + K] : 0u);
        *Out++ = std::uint8_t(Byte);
    }
}

} // namespace

QByteArray PngOfRows(TRowSource& Source, int Dpi, int Level, const QRgb* Transparent)
{
    const int W = Source.Width(), H = Source.Height();
    if (W <= 0 || H <= 0)
        return {};
    const std::size_t RowPixels = std::size_t(W);
    // The rows twice: first their colours, then their bytes. A row like the
    // one above it (every band of bars) is only marked as such, and costs
    // nothing further; the last row is kept, as a band may have gone since.
    std::vector<QRgb> Previous(RowPixels);
    const auto Each = [&](auto&& Row) {
        for (int Y = 0; Y < H; ++Y) {
            const QRgb* Pixels = Source.Row(Y);
            const bool Same = Y > 0 && std::memcmp(Pixels, Previous.data(), RowPixels * 4) == 0;
            Row(Y, Pixels, Same);
            if (!Same)
                std::memcpy(Previous.data(), Pixels, RowPixels * 4);
        }
    };
    TPalette Palette;
    Each([&](int, const QRgb* Pixels, bool Same) {
        if (!Same)
            for (int X = 0; X < W; ++X)
                Palette.Index(Pixels[X] | 0xFF000000u);
    });

    // Black and white alone is 1-bit grey, black 0; any other colours a palette.
    const auto Is = [&](std::size_t I, QRgb C) { return Palette.Colors[I] == C; };
    const bool Mono = !Palette.Overflow && Palette.Colors.size() == 2 &&
                      ((Is(0, 0xFF000000u) && Is(1, 0xFFFFFFFFu)) || (Is(0, 0xFFFFFFFFu) && Is(1, 0xFF000000u)));
    const bool Rgb = Palette.Overflow;
    const int Bits = Rgb ? 8 : BitsFor(Palette.Colors.size());
    const bool FlipMono = Mono && Is(0, 0xFFFFFFFFu);
    const std::size_t RowBytes = Rgb ? RowPixels * 3 : (RowPixels * std::size_t(Bits) + 7) / 8;

    // A row like the one above it is filtered with the row above, so it
    // becomes zeros; any other row is left unfiltered, which on these images
    // deflates smaller than the row-above or left filters. The rows go to
    // zlib one by one, as they are made.
    z_stream Z{};
    if (deflateInit(&Z, Level) != Z_OK)
        return {};
    std::vector<std::uint8_t> Deflated, Raw(RowBytes + 1), Indices(RowPixels);
    bool Failed = false;
    const auto Feed = [&](int Flush) {
        Z.next_in = Raw.data();
        Z.avail_in = uInt(Raw.size());
        do {
            std::uint8_t Chunk[16384];
            Z.next_out = Chunk;
            Z.avail_out = sizeof Chunk;
            const int Status = deflate(&Z, Flush);
            if (Status == Z_STREAM_ERROR) {
                Failed = true;
                return;
            }
            Deflated.insert(Deflated.end(), Chunk, Chunk + (sizeof Chunk - Z.avail_out));
        } while (Z.avail_out == 0 || Z.avail_in > 0);
    };
    Each([&](int Y, const QRgb* Pixels, bool Same) {
        std::uint8_t* Out = Raw.data();
        if (Same) {
            Out[0] = 2;
            std::memset(Out + 1, 0, RowBytes);
        } else if (Rgb) {
            Out[0] = 0;
            for (int X = 0; X < W; ++X) {
                Out[1 + std::size_t(X) * 3] = std::uint8_t(qRed(Pixels[X]));
                Out[2 + std::size_t(X) * 3] = std::uint8_t(qGreen(Pixels[X]));
                Out[3 + std::size_t(X) * 3] = std::uint8_t(qBlue(Pixels[X]));
            }
        } else {
            Out[0] = 0;
            for (int X = 0; X < W; ++X)
                Indices[std::size_t(X)] = std::uint8_t(Palette.Index(Pixels[X] | 0xFF000000u));
            PackRow(Indices.data(), W, Bits, Out + 1);
            if (FlipMono)
                for (std::size_t I = 1; I <= RowBytes; ++I)
                    Out[I] = std::uint8_t(~Out[I]);
        }
        if (!Failed)
            Feed(Y + 1 == H ? Z_FINISH : Z_NO_FLUSH);
    });
    deflateEnd(&Z);
    if (Failed)
        return {};

    std::vector<std::uint8_t> Png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> Header;
    Put32(Header, std::uint32_t(W));
    Put32(Header, std::uint32_t(H));
    Header.push_back(std::uint8_t(Bits));
    Header.push_back(Rgb ? 2 : Mono ? 0 : 3); // colour type: RGB, grey, palette
    Header.insert(Header.end(), {0, 0, 0});   // compression, filter, interlace
    Chunk(Png, "IHDR", Header.data(), Header.size());
    if (!Rgb && !Mono) {
        std::vector<std::uint8_t> Plte;
        for (const QRgb C : Palette.Colors) {
            Plte.push_back(std::uint8_t(qRed(C)));
            Plte.push_back(std::uint8_t(qGreen(C)));
            Plte.push_back(std::uint8_t(qBlue(C)));
        }
        Chunk(Png, "PLTE", Plte.data(), Plte.size());
    }
    // The transparent colour: its palette entry's alpha, or the grey or RGB
    // sample that stands for it.
    if (Transparent) {
        const QRgb T = *Transparent | 0xFF000000u;
        std::vector<std::uint8_t> Trns;
        if (Rgb) {
            for (const int V : {qRed(T), qGreen(T), qBlue(T)})
                Trns.insert(Trns.end(), {0, std::uint8_t(V)});
        } else if (Mono) {
            Trns = {0, std::uint8_t(T == 0xFFFFFFFFu ? 1 : 0)};
        } else {
            for (std::size_t I = 0; I < Palette.Colors.size(); ++I)
                Trns.push_back(Palette.Colors[I] == T ? 0 : 255);
        }
        Chunk(Png, "tRNS", Trns.data(), Trns.size());
    }
    EndPng(Png, Dpi, Deflated.data(), Deflated.size());
    return QByteArray(reinterpret_cast<const char*>(Png.data()), qsizetype(Png.size()));
}

bool TDeflater::Start(int NewLevel)
{
    if (!Ready) {
        Ready = deflateInit2(&Z, NewLevel, Z_DEFLATED, Raw ? -MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        Level = NewLevel;
        return Ready;
    }
    if (deflateReset(&Z) != Z_OK)
        return false;
    if (NewLevel != Level && deflateParams(&Z, NewLevel, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    Level = NewLevel;
    return true;
}

TDeflater::~TDeflater()
{
    if (Ready)
        deflateEnd(&Z);
}

TDeflater& TDeflater::Thread(bool Raw)
{
    thread_local TDeflater Deflaters[2] = {TDeflater(false), TDeflater(true)};
    return Deflaters[Raw];
}

namespace {

// A run of rows that repeat the row above them, each filtered with it: a
// filter byte and zeros. Every symbol of a size has the same runs.
struct TZeroRun {
    std::vector<std::uint8_t> Deflated; // deflated alone, ending on a byte boundary, not the last block
    uLong Adler = 0;                    // the run's own checksum
};

// Runs deflated so far, by row length and count. Made by a stream of their
// own, for the thread's stream is in the middle of a PNG when one is needed.
// What it returns holds until its next call.
const TZeroRun* ZeroRunOf(std::size_t Stride, std::int32_t Rows, int Level)
{
    thread_local TShapeMemo<TZeroRun, 16> Runs;
    const auto Make = [&] {
        TZeroRun Run;
        std::vector<std::uint8_t> Data(std::size_t(Rows) * (Stride + 1), 0);
        for (std::size_t I = 0; I < Data.size(); I += Stride + 1)
            Data[I] = 2;
        Run.Adler = adler32(adler32(0, nullptr, 0), Data.data(), uInt(Data.size()));
        TDeflater Own(true);
        if (!Own.Start(Level))
            return Run;
        z_stream& Z = Own.Z;
        Run.Deflated.resize(deflateBound(&Z, uLong(Data.size())) + 16);
        Z.next_in = Data.data();
        Z.avail_in = uInt(Data.size());
        Z.next_out = Run.Deflated.data();
        Z.avail_out = uInt(Run.Deflated.size());
        const bool Done = deflate(&Z, Z_SYNC_FLUSH) == Z_OK && Z.avail_in == 0 && Z.avail_out > 0;
        Run.Deflated.resize(Done ? Run.Deflated.size() - Z.avail_out : 0);
        Run.Deflated.shrink_to_fit(); // kept: a few hundred bytes, not the room it was given
        return Run;
    };
    // Keyed as a shape would be: the row length across, the count down.
    const TZeroRun& Run = Runs.Of(char(Level), false, std::int32_t(Stride), Rows, Make);
    return Run.Deflated.empty() ? nullptr : &Run;
}

} // namespace

QByteArray PngOfPacked(const TPackedRows& Rows, const std::vector<std::uint32_t>& Palette, int Dpi, int Level,
                       int Transparent)
{
    const std::int32_t W = Rows.Width(), H = Rows.Height();
    const int Depth = Rows.Depth();
    if (W <= 0 || H <= 0 || Palette.empty() || Palette.size() > (std::size_t(1) << Depth))
        return {};
    // Black and white alone is 1-bit grey, black 0; any other colours a palette.
    const bool Mono = Depth == 1 && Palette.size() == 2 &&
                      ((Palette[0] == 0 && Palette[1] == 0xFFFFFFu) || (Palette[0] == 0xFFFFFFu && Palette[1] == 0));
    const bool Flip = Mono && Palette[0] == 0xFFFFFFu;
    const std::size_t Stride = Rows.Stride();

    // A row like the one above it (every row of bars but the first) is
    // filtered with the row above, so it deflates to almost nothing; any
    // other row is left unfiltered, which on these images deflates smaller.
    thread_local std::vector<std::uint8_t> Raw;
    thread_local std::vector<std::int32_t> Starts; // the row where each run of repeats starts, and its end
    Raw.resize(std::size_t(H) * (Stride + 1));
    Starts.clear();
    for (std::int32_t Y = 0; Y < H; ++Y) {
        std::uint8_t* Out = Raw.data() + std::size_t(Y) * (Stride + 1);
        const std::uint8_t* Row = Rows.Row(Y);
        const bool Repeat = Y > 0 && std::memcmp(Row, Rows.Row(Y - 1), Stride) == 0;
        if (Repeat != (Starts.size() % 2 == 1))
            Starts.push_back(Y);
        if (Repeat) {
            Out[0] = 2;
            std::memset(Out + 1, 0, Stride);
            continue;
        }
        Out[0] = 0;
        if (Flip)
            for (std::size_t I = 0; I < Stride; ++I)
                Out[1 + I] = std::uint8_t(~Row[I]);
        else
            std::memcpy(Out + 1, Row, Stride);
    }
    if (Starts.size() % 2 == 1)
        Starts.push_back(H);

    // A long run of repeats is the same in every symbol of a size: deflated
    // once and kept, and spliced into the stream, which is flushed to a byte
    // boundary before it, with nothing after referring back across it. The
    // stream is raw deflate; its header and checksum are written here.
    constexpr std::int32_t SplicedRows = 16;
    TDeflater& Deflater = TDeflater::Thread(true);
    if (!Deflater.Start(Level))
        return {};
    z_stream& Z = Deflater.Z;
    // Room for the worst case, left untouched (and so unmapped) beyond what
    // is written: a spliced run is never longer than its rows stored with a
    // few bytes a block, and each flush and splice adds a few bytes.
    const std::size_t Capacity = 2 + deflateBound(&Z, uLong(Raw.size())) + 64 * (Starts.size() + 1) + 4;
    const std::unique_ptr<std::uint8_t[]> Deflated(new std::uint8_t[Capacity]);
    // The zlib header: deflate with a 32 KB window, the level's flag, the check bits.
    const int Effort = Level == Z_DEFAULT_COMPRESSION ? 6 : Level;
    const unsigned LevelFlag = Effort < 2 ? 0 : Effort < 6 ? 1 : Effort == 6 ? 2 : 3;
    unsigned ZlibHeader = (0x78u << 8) | (LevelFlag << 6);
    ZlibHeader += 31 - ZlibHeader % 31;
    Deflated[0] = std::uint8_t(ZlibHeader >> 8);
    Deflated[1] = std::uint8_t(ZlibHeader);
    std::size_t Size = 2;
    uLong Adler = adler32(0, nullptr, 0);
    bool Done = true;
    const auto Feed = [&](std::size_t From, std::size_t To, int Flush) {
        Adler = adler32(Adler, Raw.data() + From, uInt(To - From));
        Z.next_in = Raw.data() + From;
        Z.avail_in = uInt(To - From);
        Z.next_out = Deflated.get() + Size;
        Z.avail_out = uInt(Capacity - 4 - Size);
        const int Status = deflate(&Z, Flush);
        Done = Done && Z.avail_in == 0 && Z.avail_out > 0 && (Flush == Z_FINISH ? Status == Z_STREAM_END : Status == Z_OK);
        Size = Capacity - 4 - Z.avail_out;
    };
    const std::size_t RowBytes = Stride + 1;
    std::size_t Fed = 0; // raw bytes before this are in the stream
    for (std::size_t R = 0; R + 1 < Starts.size() && Done; R += 2) {
        const std::int32_t Count = Starts[R + 1] - Starts[R];
        const TZeroRun* Run = Count >= SplicedRows ? ZeroRunOf(Stride, Count, Level) : nullptr;
        if (!Run)
            continue;
        Feed(Fed, std::size_t(Starts[R]) * RowBytes, Z_FULL_FLUSH);
        if (!Done || Size + Run->Deflated.size() > Capacity - 4) {
            Done = false;
            break;
        }
        std::memcpy(Deflated.get() + Size, Run->Deflated.data(), Run->Deflated.size());
        Size += Run->Deflated.size();
        const std::size_t RunBytes = std::size_t(Count) * RowBytes;
        Adler = adler32_combine(Adler, Run->Adler, z_off_t(RunBytes));
        Fed = std::size_t(Starts[R + 1]) * RowBytes;
    }
    if (Done)
        Feed(Fed, Raw.size(), Z_FINISH);
    for (const int Shift : {24, 16, 8, 0})
        Deflated[Size++] = std::uint8_t(Adler >> Shift);
    const std::size_t DeflatedSize = Size;
    // A large symbol's rows are not kept for the next, small one.
    constexpr std::size_t KeptBytes = std::size_t(4) << 20;
    if (Raw.capacity() > KeptBytes)
        std::vector<std::uint8_t>().swap(Raw);
    if (!Done)
        return {};

    std::vector<std::uint8_t> Png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Png.reserve(DeflatedSize + 128);
    std::vector<std::uint8_t> Header;
    Put32(Header, std::uint32_t(W));
    Put32(Header, std::uint32_t(H));
    Header.push_back(std::uint8_t(Depth));
    Header.push_back(Mono ? 0 : 3);         // colour type: grey, palette
    Header.insert(Header.end(), {0, 0, 0}); // compression, filter, interlace
    Chunk(Png, "IHDR", Header.data(), Header.size());
    if (!Mono) {
        std::vector<std::uint8_t> Plte;
        for (const std::uint32_t C : Palette)
            Plte.insert(Plte.end(), {std::uint8_t(C >> 16), std::uint8_t(C >> 8), std::uint8_t(C)});
        Chunk(Png, "PLTE", Plte.data(), Plte.size());
    }
    // The transparent colour: its palette entry's alpha, or the grey sample
    // that stands for it.
    if (Transparent >= 0 && std::size_t(Transparent) < Palette.size()) {
        std::vector<std::uint8_t> Trns;
        if (Mono)
            Trns = {0, std::uint8_t(Palette[std::size_t(Transparent)] == 0xFFFFFFu ? 1 : 0)};
        else
            for (std::size_t I = 0; I < Palette.size(); ++I)
                Trns.push_back(int(I) == Transparent ? 0 : 255);
        Chunk(Png, "tRNS", Trns.data(), Trns.size());
    }
    EndPng(Png, Dpi, Deflated.get(), DeflatedSize);
    return QByteArray(reinterpret_cast<const char*>(Png.data()), qsizetype(Png.size()));
}

} // namespace WEQEan
