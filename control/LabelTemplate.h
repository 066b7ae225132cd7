// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "../ean/Export.h"
#include "Barcode.h"

#include <QByteArray>
#include <QHash>
#include <QPointF>
#include <QRectF>
#include <QSharedDataPointer>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;

/// \file
/// \ingroup qtstyle
/// The SVG label templates WEQ::LabelTemplate; <WEQBarCode/LabelTemplate.h> includes it.

namespace WEQ {

class LabelTemplatePrivate;

/// \ingroup qtstyle
/// A label drawn from an SVG template: its shapes, its text with
/// placeholders filled in, and a symbol in the box the template gives it.
///
/// The SVG's width and height give the label's size (mm, cm, in, pt, or px
/// at CSS's 96 to the inch) and its viewBox, which it must have, the units
/// of the drawing. "{Name}" in the text of a `<text>` or `<tspan>` element, or in
/// an attribute's value, is a placeholder: it is filled in with the value of
/// that name, "{gtin}" always with the symbol's digits; placeholders in
/// `<style>` sheets and style attributes are not, CSS being no place for data.
/// The `<rect>` with `id="barcode"` is the symbol's box: the symbol is centred
/// in it, its bars shortened where the box is lower than the symbol at its
/// bar height (its warnings then say so); a box narrower than the symbol
/// draws nothing. The box itself is not drawn.
///
/// Qt's SVG module draws the shapes. The text is drawn with QPainter's text
/// (position, font-family, font-size, font-weight, font-style, text-anchor,
/// fill, as attributes or in a style attribute, inherited from the groups
/// around it), so that a PDF holds it as text, searchable and copied as
/// written; a font the system lacks is replaced as fontconfig replaces it.
/// Text is drawn over the shapes, the symbol over both. What the template
/// refers to outside itself (a file, a URL: an href that is not `"#id"` or
/// `data:`, a `url()` that is not `url(#id)`, an `@import`), a DOCTYPE and entities
/// make it invalid: drawing a template reads nothing but the template.
///
/// Like WEQ::Barcode an implicitly shared value; it never changes once read.
/// It may be used on any thread.
class WEQBARCODE_EXPORT LabelTemplate {
public:
    /// An invalid template.
    LabelTemplate();
    /// The template in the SVG file at fileName; invalid, with the reason,
    /// where it cannot be read or is no template.
    explicit LabelTemplate(const QString& fileName);
    /// The template of an SVG document's bytes.
    static LabelTemplate fromData(const QByteArray& svg);
    /// Copies share the template, which never changes once read.
    ///@{
    LabelTemplate(const LabelTemplate& other);
    LabelTemplate(LabelTemplate&& other) noexcept;
    LabelTemplate& operator=(const LabelTemplate& other);
    LabelTemplate& operator=(LabelTemplate&& other) noexcept;
    ///@}
    ~LabelTemplate();
    /// Swaps the two templates, which never fails.
    void swap(LabelTemplate& other) noexcept { d.swap(other.d); }

    /// The template was read: it can draw labels.
    bool isValid() const;
    /// Why the template is invalid ("Line 3: ..."); empty when it is valid.
    QString errorString() const;
    /// The label's size in millimetres; empty where invalid.
    QSizeF size() const;
    /// The placeholders' names, each once, in the order they first stand.
    QStringList fields() const;
    /// The symbol's box in millimetres from the label's top-left corner;
    /// empty where the template has none.
    QRectF barcodeBox() const;

    /// The barcode as paint draws it in the box on a device of dpi dots per
    /// inch (0: of vector files, the module whole micrometres): its bars
    /// shortened to whole dots (by barHeight) where the box is lower than the
    /// symbol. An invalid barcode where it cannot go in the box, error saying
    /// why ("the symbol is 42.42 mm wide, its box 40.00 mm"); the barcode as
    /// it is without a box.
    Barcode fittedBarcode(const Barcode& barcode, int dpi = 0, QString* error = nullptr) const;

    /// One label, its top-left at topLeftMillimetres from the painter's
    /// origin, in the painter's coordinates as Barcode::paint takes them:
    /// the device's millimetres as its window and viewport present them, then
    /// the world transform; where that is axis-aligned the symbol's modules
    /// are whole device dots (a QPdfWriter's resolution gives its dots). The
    /// placeholders take values by name ("{gtin}" the barcode's digits);
    /// false, with the reason and nothing drawn, where one has none, the
    /// barcode cannot go in the box, the template is invalid or the painter
    /// is not active. The painter's state is as it was afterwards.
    bool paint(QPainter* painter, const QPointF& topLeftMillimetres, const Barcode& barcode,
               const QHash<QString, QString>& values = {}, QString* error = nullptr) const;

private:
    QSharedDataPointer<LabelTemplatePrivate> d;
};

} // namespace WEQ

Q_DECLARE_SHARED(WEQ::LabelTemplate)
