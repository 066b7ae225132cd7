// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A PDF as text to search: every Flate stream inflated in its place, so that
// the page's operators and the dictionaries read alike.

#include <QByteArray>

#include <zlib.h>

inline QByteArray Inflated(const QByteArray& Packed)
{
    z_stream Z{};
    if (inflateInit(&Z) != Z_OK)
        return {};
    QByteArray Out;
    char Buffer[65536];
    Z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Packed.data()));
    Z.avail_in = uInt(Packed.size());
    int Status = Z_OK;
    while (Status == Z_OK) {
        Z.next_out = reinterpret_cast<Bytef*>(Buffer);
        Z.avail_out = sizeof Buffer;
        Status = inflate(&Z, Z_NO_FLUSH);
        Out.append(Buffer, qsizetype(sizeof Buffer - Z.avail_out));
    }
    inflateEnd(&Z);
    return Status == Z_STREAM_END ? Out : QByteArray("(a stream that does not inflate)");
}

inline QByteArray PdfText(const QByteArray& Pdf)
{
    QByteArray Out;
    qsizetype At = 0;
    for (;;) {
        const qsizetype Start = Pdf.indexOf(">>\nstream\n", At);
        const qsizetype End = Start < 0 ? -1 : Pdf.indexOf("\nendstream", Start);
        if (End < 0)
            break;
        Out += Pdf.mid(At, Start - At) + ">>\nstream\n" + Inflated(Pdf.mid(Start + 10, End - Start - 10));
        At = End;
    }
    return Out + Pdf.mid(At);
}
