// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

class QWidget;

namespace WEQ {

// The GTIN as a symbol widget's tooltip, accessible name and description (of
// a symbol of the Kind given); assistive technology sees TWEQBarCode and
// BarcodeWidget as images. False when a watcher of the widget's events
// deleted it on the way.
bool DescribeSymbol(QWidget& Widget, const QString& Gtin, const QString& Kind = QStringLiteral("EAN-13"));

} // namespace WEQ
