// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QSpinBox>

// A spin box without bounds whose value is its text read as a decimal
// integer; text that is not one (an emptied box, a lone sign) reads as 0.
// Change() is emitted on every change of the text, typed or set from code.
class TSpinEdit : public QSpinBox {
    Q_OBJECT

public:
    explicit TSpinEdit(QWidget* Parent = nullptr);

    int Value() const;

signals:
    void Change();

private:
    void TextMayHaveChanged();
    QString FLastText;
};
