// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// weq_export_file png|svg|pdf PATH: exports one symbol; exit 0 when the export
// says it wrote the file, 1 when it says it failed (with the reason on stderr).
// The tests run it under limits a test process cannot put on itself.
#include <ean/WEQEanExport.h>

#include <QGuiApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: weq_export_file png|svg|pdf PATH\n");
        return 2;
    }
    const QString Path = QString::fromLocal8Bit(argv[2]);
    QString Error;
    bool Written = false;
    if (std::strcmp(argv[1], "png") == 0)
        Written = WEQEan::ExportPng("400638133393", Path, 600, {}, nullptr, &Error);
    else if (std::strcmp(argv[1], "svg") == 0)
        Written = WEQEan::ExportSvg("400638133393", Path, {}, &Error);
    else
        Written = WEQEan::ExportPdf("400638133393", Path, {}, &Error);
    if (!Written)
        std::fprintf(stderr, "%s\n", qPrintable(Error));
    return Written ? 0 : 1;
}
