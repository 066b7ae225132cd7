// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// barcode_in_qml [FILE.qml]: shows barcode.qml (or FILE.qml).
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QUrl>

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv);
    QQmlApplicationEngine Engine;
    Engine.load(argc > 1 ? QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])) : QUrl("qrc:/barcode.qml"));
    if (Engine.rootObjects().isEmpty())
        return 1;
    return App.exec();
}
