// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A PDF page as poppler rasterises it: smoothed as on a screen, or as a
// printer's raster makes it (grey, no antialiasing, each dot filled where its
// centre is inside a shape). Null where poppler made no page.

#include <QImage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

enum class TPdfRaster { Screen, Printer };

inline QImage PdfPage(const QString& Pdf, int Dpi, int Page = 1, TPdfRaster As = TPdfRaster::Screen)
{
    QTemporaryDir Dir;
    QStringList Args{"-r", QString::number(Dpi), "-f", QString::number(Page), "-l", QString::number(Page), "-png",
                     "-singlefile"};
    if (As == TPdfRaster::Printer)
        Args << "-aa" << "no" << "-aaVector" << "no" << "-gray";
    QProcess P;
    P.setStandardErrorFile(QProcess::nullDevice());
    P.start("pdftoppm", Args << Pdf << Dir.filePath("page"));
    P.waitForFinished(60000);
    return QImage(Dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
}
