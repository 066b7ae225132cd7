// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Canvas_p.h"

#include <algorithm>

struct WEQBARCODE_HIDDEN TBitmap::TImpl {
    QImage Image;
    // Kept apart from the image: a bitmap 3 wide and 0 high has no image.
    std::int32_t Width = 0, Height = 0;
    TCanvas Canvas{nullptr};
};

TBitmap::TBitmap() : d(std::make_unique<TImpl>()) { d->Canvas.Rebind(&d->Image); }
TBitmap::~TBitmap()
{
    d->Canvas.Rebind(nullptr);
}

std::int32_t TBitmap::Width() const { return d->Width; }
std::int32_t TBitmap::Height() const { return d->Height; }
void TBitmap::SetWidth(std::int32_t Width) { SetSize(Width, Height()); }
void TBitmap::SetHeight(std::int32_t Height) { SetSize(Width(), Height); }

void TBitmap::SetSize(std::int32_t Width, std::int32_t Height)
{
    Width = std::max(0, Width);
    Height = std::max(0, Height);
    if (Width == d->Width && Height == d->Height)
        return;
    if (Width > MaxSide || Height > MaxSide || std::int64_t(Width) * Height > MaxPixels)
        throw Exception("Bitmap of " + std::to_string(Width) + " x " + std::to_string(Height) + " pixels is too large");

    d->Canvas.Rebind(nullptr);
    QImage Resized;
    if (Width > 0 && Height > 0) {
        Resized = QImage(Width, Height, QImage::Format_RGB32);
        if (Resized.isNull())
            throw Exception("Out of memory for a bitmap");
        Resized.fill(ToQColor(d->Canvas.BrushColor()));
        const int W = std::min(Width, d->Image.width());
        const int H = std::min(Height, d->Image.height());
        for (int Y = 0; Y < H; ++Y)
            std::copy_n(d->Image.constScanLine(Y), std::size_t(W) * 4, Resized.scanLine(Y));
    }
    d->Image = std::move(Resized);
    d->Width = Width;
    d->Height = Height;
    d->Canvas.Rebind(&d->Image);
}

TCanvas& TBitmap::Canvas() { return d->Canvas; }

std::int32_t TBitmap::Stride() const { return std::int32_t(d->Image.bytesPerLine() / 4); }

const std::uint32_t* TBitmap::ScanLine(std::int32_t Y) const
{
    if (Y < 0 || Y >= d->Image.height())
        return nullptr;
    return reinterpret_cast<const std::uint32_t*>(d->Image.constScanLine(Y));
}
