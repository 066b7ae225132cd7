// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "SpinEdit.h"

#include <ean/Exceptions.h>

#include <QLineEdit>

#include <limits>

TSpinEdit::TSpinEdit(QWidget* Parent) : QSpinBox(Parent)
{
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    // The spin box reports values set from code but stays silent while its text
    // is not a number; its editor reports typing but not values set from code.
    // Together they see every change of the text, which is told once.
    connect(this, &QSpinBox::textChanged, this, &TSpinEdit::TextMayHaveChanged);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::TextMayHaveChanged);
    FLastText = text();
}

int TSpinEdit::Value() const { return StrToIntDef(cleanText().toStdString(), 0); }

void TSpinEdit::TextMayHaveChanged()
{
    const QString Now = text();
    if (Now == FLastText)
        return;
    FLastText = Now;
    emit Change();
}
