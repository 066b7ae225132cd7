#pragma once

class QString;
class QWidget;

namespace WEQ {

// The GTIN as a symbol widget's tooltip, accessible name and description;
// assistive technology sees TWEQBarCode and BarcodeWidget as images. False
// when a watcher of the widget's events deleted it on the way.
bool DescribeSymbol(QWidget& Widget, const QString& Gtin);

} // namespace WEQ
