// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/Describe_p.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace WEQ {

namespace {

QAccessibleInterface* AccessibleSymbol(const QString& Key, QObject* Object)
{
    if ((Key == QLatin1String("TWEQBarCode") || Key == QLatin1String("WEQ::BarcodeWidget")) && Object &&
        Object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(Object), QAccessible::Graphic);
    return nullptr;
}

// Installed when the library loads: an interface made for a widget before
// the factory exists would be cached with the wrong role.
[[maybe_unused]] const bool AccessibleFactoryInstalled = (QAccessible::installFactory(AccessibleSymbol), true);

} // namespace

bool DescribeSymbol(QWidget& Widget, const QString& Gtin, const QString& Kind)
{
    // Each change is an event to the widget, whose watchers may delete it.
    const QPointer<QWidget> Alive(&Widget);
    Widget.setToolTip(Gtin);
    if (!Alive)
        return false;
    Widget.setAccessibleName(Gtin);
    Widget.setAccessibleDescription(QStringLiteral("%1 barcode of GTIN %2").arg(Kind, Gtin));
    return true;
}

} // namespace WEQ
