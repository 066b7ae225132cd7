// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ColorBox.h"

#include <surface/Canvas.h>

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QPixmap>

namespace {

struct TNamedColor {
    TColor Color;
    const char* Name;
};

const TNamedColor NamedColors[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"}, {clGrayText, "clGrayText"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"}, {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"}, {clMenu, "clMenu"}, {clMenuText, "clMenuText"},
    {clScrollBar, "clScrollBar"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};

QIcon Swatch(TColor Color, int Size)
{
    QPixmap Pixmap(Size, Size);
    const TColor Rgb = TCanvas::ResolveColor(Color);
    Pixmap.fill(QColor(int(Rgb & 0xFF), int((Rgb >> 8) & 0xFF), int((Rgb >> 16) & 0xFF)));
    QPainter Painter(&Pixmap);
    Painter.setPen(Qt::black);
    Painter.drawRect(0, 0, Size - 1, Size - 1);
    return QIcon(Pixmap);
}

} // namespace

TColorBox::TColorBox(QWidget* Parent) : QComboBox(Parent)
{
    Fill();
    // activated() comes from the user only; currentIndexChanged() also from code.
    connect(this, &QComboBox::activated, this, [this](int) { emit Change(); });
}

void TColorBox::Fill()
{
    const quint32 Current = count() ? Selected() : clBlack;
    const QSignalBlocker Blocker(this);
    clear();
    const int Size = std::max(4, FItemHeight - 4);
    setIconSize(QSize(Size, Size));
    for (const TNamedColor& Entry : NamedColors)
        addItem(Swatch(Entry.Color, Size), QString::fromLatin1(Entry.Name), QVariant::fromValue<quint32>(Entry.Color));
    SetSelected(Current);
}

quint32 TColorBox::Selected() const
{
    const QVariant Data = currentData();
    return Data.isValid() ? Data.value<quint32>() : clBlack;
}

void TColorBox::SetSelected(quint32 Color)
{
    int Index = findData(QVariant::fromValue<quint32>(Color));
    if (Index < 0) {
        addItem(Swatch(Color, iconSize().width()), QStringLiteral("$%1").arg(Color, 8, 16, QLatin1Char('0')).toUpper(),
                QVariant::fromValue<quint32>(Color));
        Index = count() - 1;
    }
    setCurrentIndex(Index);
}

int TColorBox::ItemHeight() const { return FItemHeight; }

void TColorBox::SetItemHeight(int Height)
{
    if (Height == FItemHeight || Height < 1)
        return;
    FItemHeight = Height;
    Fill();
}

void TColorBox::changeEvent(QEvent* Event)
{
    QComboBox::changeEvent(Event);
    // System colour swatches follow the palette.
    if (Event->type() == QEvent::PaletteChange || Event->type() == QEvent::ApplicationPaletteChange)
        Fill();
}
