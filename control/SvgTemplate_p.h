// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A label template as the library reads it: an SVG document held as a small
// tree, its placeholders kept apart from the text around them, and what a
// label needs of it (its size, the symbol's box, the text to draw) read out.
// Qt's SVG module draws the shapes; the text is drawn by the label itself,
// so that a PDF holds it as text.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <functional>
#include <optional>
#include <vector>

namespace WEQ {

// Text with placeholders: literal text and field names in turn, a literal
// first and last (empty ones too), "{Name}" wherever a name stands.
struct TSegments {
    QStringList Parts;
    bool HasFields() const { return Parts.size() > 1; }
    // The text with each field's value put in.
    QString Filled(const std::function<QString(const QString&)>& Value) const;
};

// Reads "{Name}" placeholders out of Text: a name of 1 to 64 characters,
// none a brace or a control character; any other brace is text.
TSegments Placeholders(const QString& Text);

// An element, or (Name empty) the characters between elements.
struct TNode {
    QString Name; // as written, with its prefix
    std::vector<std::pair<QString, TSegments>> Attributes;
    std::vector<TNode> Children;
    TSegments Text;
    QString LocalName() const { return Name.mid(Name.lastIndexOf(u':') + 1); }
    const TSegments* Attribute(const QString& LocalName) const;
};

// The largest template read: more is no label.
inline constexpr qsizetype MaxTemplateBytes = 4 << 20;

// The tree of an SVG document, or the reason it cannot be a template: no
// DOCTYPE (nor so any entity) is taken, nor a reference to anything outside
// the document (an href that is not "#id" or data:, a url() that is not
// url(#id), an @import), so that drawing it never reads a file or the
// network.
bool ParseTemplate(const QByteArray& Svg, TNode& Root, QString* Error);

// A length of SVG as user units at CSS's 96 to the inch: a number, with px
// or none, or mm, cm, in, pt, pc; none for anything else (%, em).
std::optional<double> UserUnits(const QString& Length);

// One piece of a text element in one style, drawn from where the one before
// it ended unless it has a place of its own.
struct TTextRun {
    std::optional<double> X, Y; // the element's own place, in its user units
    double DX = 0, DY = 0;
    QFont Font;           // its pixel size in user units
    double FontSize = 16; // user units
    int Anchor = 0;       // of its chunk: 0 start, 1 middle, 2 end
    QColor Fill;          // invalid: not drawn
    TSegments Content;
    int Element = 0;      // the text element, for its transform
    bool StartsChunk = false;
};

// What a template draws, read from its tree (with attributes filled in,
// where they hold placeholders): the shapes for Qt's SVG module, the text
// runs and the symbol's box. Markers in the shapes' document let Qt's SVG
// module give each text element's transform and the box's.
struct TLabelLayout {
    QByteArray Shapes;
    std::vector<TTextRun> Runs;
    int Elements = 0;    // text elements, markers "weq-text-0" on
    bool HasBox = false; // the marker "weq-box" stands for id="barcode"
};
bool LayOut(const TNode& Root, const std::function<QString(const QString&)>& Value, TLabelLayout& Out,
            QString* Error);

} // namespace WEQ
