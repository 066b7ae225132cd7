// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// A program's own global names, which the Qt-style headers must not take:
// the legacy interface's names are its headers' alone.
class Exception {};
class EConvertError {};
class TCanvas {};
using TColor = double;
inline int clRed = 1;
inline int StrToInt(int Value) { return Value; }

#include <WEQBarCode/Barcode.h>
#include <WEQBarCode/BarcodeWidget.h>
#include <WEQBarCode/LabelTemplate.h>

// Used, so that the compiler sees them all.
inline int OwnNames() { return StrToInt(clRed) + int(sizeof(Exception) + sizeof(EConvertError) + sizeof(TCanvas) + TColor(0)); }
