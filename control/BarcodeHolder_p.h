// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// What BarcodeWidget and the QML Barcode share: a WEQ::Barcode published
// property by property with change signals, and the reason of the last save.
// Templates over the object's class, on the value type's exported API alone,
// so that the QML module, which links only the library, uses them too.

#include "control/Barcode.h"

#include <QPointer>
#include <QString>
#include <QStringList>

namespace WEQ {

struct TBarcodeHolder {
    Barcode Symbol;
    QString SaveError; // the last failed save's reason, until the barcode changes

    // The last save's failure, or else why the text is not (yet) what the
    // symbology takes or nothing can be drawn.
    QString ErrorString() const { return SaveError.isEmpty() ? Symbol.errorString() : SaveError; }
    bool InputValid() const { return Symbol.errorString().isEmpty(); }
};

// Emits, once the object has taken New in place of Old, the signal of each
// property that changed, once, and barcodeChanged last. The deprecated
// quietZoneMarker signals beside quietZoneMarks.
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
        emit Object.symbologyChanged(New.symbology());
    if (Changed & Barcode::AddOnProperty)
        emit Object.addOnChanged(New.addOn());
    if (Changed & Barcode::StrictProperty)
        emit Object.strictChanged(New.strict());
    if (Changed & Barcode::BarColorProperty)
        emit Object.barColorChanged(New.barColor());
    if (Changed & Barcode::BackgroundColorProperty)
        emit Object.backgroundColorChanged(New.backgroundColor());
    if (Changed & Barcode::TextColorProperty)
        emit Object.textColorChanged(New.textColor());
    if (Changed & Barcode::QuietZoneMarksProperty) {
        emit Object.quietZoneMarksChanged(New.quietZoneMarks());
        emit Object.quietZoneMarkerChanged(New.quietZoneMarks());
    }
    if (Changed & Barcode::XDimensionProperty)
        emit Object.xDimensionChanged(New.xDimension());
    emit Object.barcodeChanged(New);
}

// Takes New as the object's barcode: Apply(Old) does what the object's own
// kind asks (a repaint, a new size), then the signals follow. Each signal is
// an event whose receivers may delete the object. False when nothing changed.
template <class TObject, class TApply>
bool replaceBarcode(TObject& Object, TBarcodeHolder& Holder, const Barcode& New, TApply Apply)
{
    if (New == Holder.Symbol)
        return false;
    const Barcode Old = Holder.Symbol;
    const QString OldError = Holder.ErrorString();
    const QStringList OldWarnings = Old.warnings();
    Holder.Symbol = New;
    Holder.SaveError.clear();
    const QPointer<TObject> Alive(&Object);
    Apply(Old);
    if (!Alive)
        return true;
    emitBarcodeChanges(Object, Old, New);
    if (Alive && Holder.ErrorString() != OldError)
        emit Object.errorStringChanged(Holder.ErrorString());
    if (Alive && New.warnings() != OldWarnings)
        emit Object.warningsChanged(New.warnings());
    return true;
}

// Writes one property of the object's barcode: a copy changed and handed
// back whole, so that the object signals what that changed.
template <class TObject, class TArgument, class TValue>
void setBarcodeProperty(TObject& Object, void (Barcode::*Setter)(TArgument), const TValue& Value)
{
    Barcode Changed = Object.barcode();
    (Changed.*Setter)(Value);
    Object.setBarcode(Changed);
}

// The barcode into Path; a failure's reason is the object's errorString
// until the next save or change.
template <class TObject> bool saveBarcode(TObject& Object, TBarcodeHolder& Holder, const QString& Path, int Dpi)
{
    QString Reason;
    const bool Saved = Holder.Symbol.save(Path, Dpi, &Reason);
    const QString Old = Holder.ErrorString();
    Holder.SaveError = Saved ? QString() : Reason;
    if (Holder.ErrorString() != Old)
        emit Object.errorStringChanged(Holder.ErrorString());
    return Saved;
}

} // namespace WEQ
