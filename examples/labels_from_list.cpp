// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// labels_from_list TEMPLATE.svg [FILE.pdf]: a shelf label for each product
// of a list, one a page, on the default printer or into FILE.pdf, as a
// 203 dpi label printer prints them: the template gives each label's
// shapes, text and the symbol's box, the list the values.
#include <WEQBarCode/LabelTemplate.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cstdio>
#include <utility>

struct TProduct {
    const char *Gtin, *Sku, *Name, *Price;
};

const TProduct Products[] = {
    {"4006381333931", "A-17", "Crème fraîche, 200 g", "€1.99"},
    {"5901234123457", "B-02", "Oat flakes, 500 g", "€2.49"},
    {"9780201379624", "K-11", "Ærøskøbing rye bread", "€3.10"},
};

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv); // fonts need a GUI application
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: labels_from_list TEMPLATE.svg [FILE.pdf]\n");
        return 2;
    }
    const WEQ::LabelTemplate Template(QString::fromLocal8Bit(argv[1]));
    if (!Template.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(Template.errorString()));
        return 1;
    }
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setResolution(203); // the printer's dots: the modules snap to them
    Printer.setPageSize(QPageSize(Template.size(), QPageSize::Millimeter, QStringLiteral("Label"),
                                  QPageSize::ExactMatch));
    Printer.setFullPage(true);
    if (argc == 3)
        Printer.setOutputFileName(QString::fromLocal8Bit(argv[2]));
    QPainter Painter;
    if (!Painter.begin(&Printer)) {
        std::fprintf(stderr, "cannot print\n");
        return 1;
    }
    bool First = true;
    for (const TProduct& P : Products) {
        if (!std::exchange(First, false))
            Printer.newPage();
        const WEQ::Barcode Symbol(QString::fromUtf8(P.Gtin));
        QString Error;
        // Millimetres from the page's top-left corner, as Barcode::paint takes them.
        if (!Template.paint(&Painter, QPointF(0, 0), Symbol,
                            {{"Name", QString::fromUtf8(P.Name)},
                             {"SKU", QString::fromUtf8(P.Sku)},
                             {"Price", QString::fromUtf8(P.Price)}},
                            &Error)) {
            std::fprintf(stderr, "%s: %s\n", P.Gtin, qPrintable(Error));
            return 1;
        }
    }
    return 0;
}
