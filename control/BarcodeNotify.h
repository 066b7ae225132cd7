// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "control/Barcode.h"

namespace WEQ {

// For an object that holds a Barcode and publishes it property by property
// with change signals, as BarcodeWidget and the QML Barcode do: once the
// object has taken New in place of Old, emits the signal of each property
// that changed, once, and barcodeChanged last. The object's class has the
// signals barcodeChanged, textChanged, gtinChanged, inputValidChanged,
// symbologyChanged, addOnChanged, barColorChanged, backgroundColorChanged,
// textColorChanged and quietZoneMarkerChanged, and a Symbology enumeration
// in the order of Barcode's.
template <class TObject> void emitBarcodeChanges(TObject& Object, const Barcode& Old, const Barcode& New)
{
    const Barcode::Properties Changed = Old.differences(New);
    if (!Changed)
        return;
    if (Changed & Barcode::TextProperty)
        emit Object.textChanged(New.text());
    if (Old.gtin() != New.gtin())
        emit Object.gtinChanged(New.gtin());
    if (Old.errorString().isEmpty() != New.errorString().isEmpty())
        emit Object.inputValidChanged(New.errorString().isEmpty());
    if (Changed & Barcode::SymbologyProperty)
        emit Object.symbologyChanged(typename TObject::Symbology(New.symbology()));
    if (Changed & Barcode::AddOnProperty)
        emit Object.addOnChanged(New.addOn());
    if (Changed & Barcode::BarColorProperty)
        emit Object.barColorChanged(New.barColor());
    if (Changed & Barcode::BackgroundColorProperty)
        emit Object.backgroundColorChanged(New.backgroundColor());
    if (Changed & Barcode::TextColorProperty)
        emit Object.textColorChanged(New.textColor());
    if (Changed & Barcode::QuietZoneMarksProperty)
        emit Object.quietZoneMarkerChanged(New.quietZoneMarks());
    emit Object.barcodeChanged(New);
}

// Writes one property of such an object's barcode: a copy changed and handed
// back whole, so that the object signals what that changed.
template <class TObject, class TArgument, class TValue>
void setBarcodeProperty(TObject& Object, void (Barcode::*Setter)(TArgument), const TValue& Value)
{
    Barcode Changed = Object.barcode();
    (Changed.*Setter)(Value);
    Object.setBarcode(Changed);
}

} // namespace WEQ
