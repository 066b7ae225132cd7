// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// label_with_text FILE.pdf: a shipping label on an A6 page, a line of text and
// two symbols beside it, each at its true size where the page wants it.
#include <WEQBarCode/Barcode.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv); // fonts need a GUI application
    if (argc != 2) {
        std::fprintf(stderr, "usage: label_with_text FILE.pdf\n");
        return 2;
    }
    QPdfWriter Pdf(QString::fromLocal8Bit(argv[1]));
    Pdf.setPageSize(QPageSize(QPageSize::A6));
    Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    Pdf.setResolution(1200); // the dots the modules snap to

    WEQ::Barcode Product(QStringLiteral("400638133393"));
    WEQ::Barcode Case(QStringLiteral("03600029145"), WEQ::Barcode::UpcA);
    Case.setAddOn(QStringLiteral("12"));

    QPainter Painter(&Pdf);
    const double DotsPerMillimetre = Pdf.resolution() / 25.4;
    Painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    Painter.drawText(QPointF(10 * DotsPerMillimetre, 12 * DotsPerMillimetre), QStringLiteral("Oat flakes, 500 g"));
    // Millimetres from the page's top-left corner.
    if (!Product.paint(&Painter, QPointF(10, 20)) || !Case.paint(&Painter, QPointF(10, 70))) {
        std::fprintf(stderr, "%s\n", qPrintable(Product.errorString() + Case.errorString()));
        return 1;
    }
    return 0;
}
