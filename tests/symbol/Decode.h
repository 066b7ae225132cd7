// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Reads symbols out of a picture with real readers (zxing-cpp, zbar).

#define ZX_USE_UTF8 1
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
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

// The picture on a white margin, as a scanner sees a label on a box.
inline QImage OnMargin(const QImage& Symbol, int Margin)
{
    QImage Out(Symbol.width() + 2 * Margin, Symbol.height() + 2 * Margin, QImage::Format_RGB32);
    Out.fill(Qt::white);
    QPainter(&Out).drawImage(Margin, Margin, Symbol);
    return Out;
}

// What zbarimg reads in Image on a white margin, its add-ons too, one symbol
// a line ("EAN-13:digits"), sorted.
inline std::string ZbarOnMargin(const QImage& Image)
{
    QTemporaryDir Dir;
    const QString Png = Dir.filePath("framed.png");
    OnMargin(Image, 16).save(Png);
    QProcess P;
    P.start("zbarimg", {"-q", "--nodbus", "-Sean2.enable", "-Sean5.enable", Png});
    P.waitForFinished(30000);
    QStringList Lines = QString::fromLatin1(P.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    Lines.sort();
    return Lines.join('\n').toStdString();
}
