// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Labels from an SVG template, through the library's WEQ::LabelTemplate:
// the template read and held against the job before anything is written,
// then every label on a roll or a sheet (one PDF by Qt's PDF engine), or a
// file a label.

#include "Batch.h"

#include <WEQBarCode/LabelTemplate.h>

#include <QHash>

namespace WEQCli {

// Reads the template of the options and holds it against the job: every
// placeholder is a column of every input's header, {gtin} or {n}; the
// symbols of the job fit its box; --label, where given, is its size. The
// job's options then carry the template's size and the bar height its box
// leaves (the print checks say where that is below the nominal). False,
// with the reason, where the job cannot run.
bool PrepareTemplate(const TItemSource& Source, const TOptions& Options, TOptions& Job, WEQ::LabelTemplate& Template,
                     std::string& Error);

// The symbol of an accepted item, in the job's look.
WEQ::Barcode BarcodeOf(const TItem& Item, const TOptions& Job);
// The values of an item's placeholders: its record's fields by their
// columns' names, and {n}, its number.
QHash<QString, QString> ValuesOf(const TItem& Item);

// Every label on a roll or the pages of a sheet, one PDF written atomically;
// a PDF without a label is not written, a file already there left as it was.
TBatchResult WriteTemplateSheet(TItemSource& Source, const TOptions& Job, const WEQ::LabelTemplate& Template,
                                TProgress& Progress);

// One label's file: a PNG at the job's dpi, or a PDF of one page the
// label's size. False, with the reason, where it cannot be drawn.
bool EncodeLabel(const TItem& Item, const TOptions& Job, const WEQ::LabelTemplate& Template, QByteArray& Bytes,
                 std::string& Error);

} // namespace WEQCli
