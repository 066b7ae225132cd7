#pragma once

// What the exports share: the checks of their parameters, the snap of the
// module to whole dots, and the symbol of a text at whole modules.

#include "ean/WEQEanExport.h"

#include <QString>

namespace WEQEan {

// False, with Reason in Error when given.
bool Fail(QString* Error, const QString& Reason);
bool CheckXDimension(double X, QString* Error);
bool CheckDpi(int Dpi, QString* Error);
bool WithinGs1(double XMM);

struct TSnap {
    std::int32_t Dots;
    double XDimensionMM;
};
// The whole number of dots per module nearest to X at Dpi, at least one;
// where X itself is inside GS1's range, a neighbour inside it wins over a
// nearer one outside.
TSnap Snap(double X, double Dpi);

TEanReading ReadingOf(const std::string& Text, const TExportOptions& O);
// The symbol at whole modules, or false with the reason the reading or the
// gap gives.
bool SymbolAt(const std::string& Text, std::int32_t ModuleWidth, const TExportOptions& O, TSymbol& Symbol,
              QString* Error);
QString Title(const std::string& Text, const TExportOptions& O);

// Points of a PDF page for each unit of a symbol described at
// VectorUnitsPerModule, its module a whole number of micrometres.
double PdfPointsPerUnit(double XDimensionMM);

} // namespace WEQEan
