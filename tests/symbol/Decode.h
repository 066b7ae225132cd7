// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Reads an EAN-13 symbol out of a picture with a real reader (zxing-cpp).

#define ZX_USE_UTF8 1
#include <QImage>
#include <ZXing/ReadBarcode.h>

#include <string>

// The GTIN read from Image, or "(nothing decoded)".
inline std::string DecodeEan13(const QImage& Image)
{
    const QImage Gray = Image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView View(Gray.constBits(), Gray.width(), Gray.height(), ZXing::ImageFormat::Lum,
                                int(Gray.bytesPerLine()));
    const ZXing::Result Result =
        ZXing::ReadBarcode(View, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::EAN13).setTryHarder(true));
    return Result.isValid() ? Result.text() : "(nothing decoded)";
}

// Any symbol of the EAN/UPC family with its add-on, as "FORMAT:digits addon"
// (zxing-cpp's names), or "(nothing decoded)".
inline std::string DecodeFamily(const QImage& Image)
{
    const QImage Gray = Image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView View(Gray.constBits(), Gray.width(), Gray.height(), ZXing::ImageFormat::Lum,
                                int(Gray.bytesPerLine()));
    const auto Formats = ZXing::BarcodeFormat::EAN8 | ZXing::BarcodeFormat::EAN13 | ZXing::BarcodeFormat::UPCA |
                         ZXing::BarcodeFormat::UPCE;
    const ZXing::Result Result = ZXing::ReadBarcode(
        View, ZXing::DecodeHints().setFormats(Formats).setTryHarder(true).setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read));
    if (!Result.isValid())
        return "(nothing decoded)";
    return std::string(ZXing::ToString(Result.format())) + ":" + Result.text();
}
