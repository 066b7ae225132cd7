// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include <ean/Colors.h>

#include <QComboBox>

// A drop-down list of colours with a swatch and a name each: the standard
// and extended colours, then the system colours (drawn as the palette has
// them). Change() is emitted only when the user picks an entry, never when
// the selection is set from code.
class TColorBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(quint32 Selected READ Selected WRITE SetSelected)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)

public:
    explicit TColorBox(QWidget* Parent = nullptr);

    // The selected colour; clBlack when nothing is selected.
    quint32 Selected() const;
    // Selects the entry of Color, adding a custom entry when the list has none.
    void SetSelected(quint32 Color);
    int ItemHeight() const;
    void SetItemHeight(int Height);

signals:
    void Change();

protected:
    void changeEvent(QEvent* Event) override;

private:
    void Fill();
    int FItemHeight = 16;
};
