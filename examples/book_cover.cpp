// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// book_cover FILE.pdf [ISBN [PRICE]]: the back cover of a paperback, 129 x
// 198 mm, with its blurb and, in the corner where a till looks for it, the
// book's symbol: the ISBN printed above the bars, hyphenated, and the price
// add-on beside them (90000: no price given).
#include <WEQBarCode/Barcode.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv); // fonts need a GUI application
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: book_cover FILE.pdf [ISBN [PRICE]]\n");
        return 2;
    }
    // Any form a publisher writes: an ISBN-10, with or without hyphens or "ISBN".
    WEQ::Barcode Symbol(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("978-3-16-148410-0"),
                        WEQ::Barcode::Isbn);
    Symbol.setAddOn(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("90000"));
    if (!Symbol.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(Symbol.errorString()));
        return 1;
    }

    const QSizeF Cover(129, 198); // millimetres
    QPdfWriter Pdf(QString::fromLocal8Bit(argv[1]));
    Pdf.setPageSize(QPageSize(Cover, QPageSize::Millimeter));
    Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    Pdf.setResolution(1200); // the dots the modules snap to
    const double Dots = Pdf.resolution() / 25.4;

    QPainter Painter(&Pdf);
    Painter.fillRect(QRectF(QPointF(0, 0), Cover * Dots), QColor(0x1d, 0x3b, 0x53));
    Painter.setPen(QColor(0xf4, 0xee, 0xe0));
    Painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 13, QFont::Bold));
    Painter.drawText(QRectF(14 * Dots, 18 * Dots, 101 * Dots, 12 * Dots), QStringLiteral("The Lighthouse Keeper"));
    Painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 10));
    Painter.drawText(QRectF(14 * Dots, 34 * Dots, 101 * Dots, 90 * Dots), Qt::TextWordWrap,
                     QStringLiteral("For forty winters the light on the point never failed. Then, one night in "
                                    "November, it went dark, and the keeper was nowhere to be found.\n\n"
                                    "A novel of the sea, of patience, and of the things we keep burning."));
    // The symbol at its true size on a white panel a little larger than its
    // quiet zones: the bars are read against white, whatever the cover's colours.
    const QSizeF Size = Symbol.size();
    const QPointF At(Cover.width() - 12 - Size.width(), Cover.height() - 14 - Size.height());
    constexpr double Panel = 2; // millimetres around the symbol
    Painter.fillRect(QRectF((At - QPointF(Panel, Panel)) * Dots, (Size + QSizeF(2 * Panel, 2 * Panel)) * Dots),
                     Qt::white);
    if (!Symbol.paint(&Painter, At)) {
        std::fprintf(stderr, "%s\n", qPrintable(Symbol.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(Symbol.gtin()));
    return 0;
}
