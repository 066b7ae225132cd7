// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// weq_installed_plugin PLUGIN LIBDIR: loads an installed Designer plugin the
// way Designer does and uses its TWEQBarCode through the meta-object alone.
//
// This program does not link the library: the plugin must find it through its
// own RUNPATH, and it must be the copy in LIBDIR, not one from the build tree.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <link.h>

#include <cstdio>
#include <string>

namespace {

// Where the dynamic linker took libWEQBarCode from; empty when it is not loaded.
QString LoadedLibrary()
{
    QString Found;
    dl_iterate_phdr(
        [](dl_phdr_info* Info, size_t, void* Data) {
            const QString Name = QString::fromLocal8Bit(Info->dlpi_name);
            if (QFileInfo(Name).fileName().startsWith("libWEQBarCode.so"))
                *static_cast<QString*>(Data) = Name;
            return 0;
        },
        &Found);
    return Found;
}

QDesignerCustomWidgetInterface* FindWidget(QObject* Instance, const QString& Name)
{
    if (auto* Collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(Instance)) {
        for (QDesignerCustomWidgetInterface* Widget : Collection->customWidgets())
            if (Widget->name() == Name)
                return Widget;
        return nullptr;
    }
    auto* Widget = qobject_cast<QDesignerCustomWidgetInterface*>(Instance);
    return Widget && Widget->name() == Name ? Widget : nullptr;
}

struct TPropertyRow {
    const char* Name;
    QVariant Written;
    QVariant Read; // what reading the property gives back afterwards
};

int Failures = 0;
int Checks = 0;

void Check(bool Ok, const std::string& What)
{
    ++Checks;
    if (!Ok) {
        ++Failures;
        std::fprintf(stderr, "FAILED: %s\n", What.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PLUGIN LIBDIR\n", argv[0]);
        return 2;
    }
    QApplication App(argc, argv);
    const QString PluginPath = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString LibDir = QFileInfo(QString::fromLocal8Bit(argv[2])).canonicalFilePath();

    Check(LoadedLibrary().isEmpty(), "the library is loaded before the plugin");
    QPluginLoader Loader(PluginPath);
    QObject* Instance = Loader.instance();
    if (!Instance) {
        std::fprintf(stderr, "FAILED: %s does not load: %s\n", argv[1], qPrintable(Loader.errorString()));
        return 1;
    }
    const QString Library = LoadedLibrary();
    Check(QFileInfo(Library).canonicalPath() == LibDir,
          "the plugin uses " + Library.toStdString() + ", not the library in " + LibDir.toStdString());

    QDesignerCustomWidgetInterface* Plugin = FindWidget(Instance, "TWEQBarCode");
    if (!Plugin) {
        std::fprintf(stderr, "FAILED: the plugin offers no TWEQBarCode\n");
        return 1;
    }
    Check(Plugin->domXml().contains("class=\"TWEQBarCode\""), "domXml names another class");
    QWidget Form;
    QWidget* Made = Plugin->createWidget(&Form);
    if (!Made || QString(Made->metaObject()->className()) != "TWEQBarCode") {
        std::fprintf(stderr, "FAILED: createWidget made %s\n", Made ? Made->metaObject()->className() : "nothing");
        return 1;
    }

    // Designer reads and writes properties through the meta-object, as here.
    const TPropertyRow Rows[] = {
        {"GTIN", QString("400638133393"), QString("4006381333931")}, // check digit computed
        {"GTIN", QString("12345"), QString("0000000123457")},        // padded with zeros
        {"Color", quint32(0x00FF0000), quint32(0x00FF0000)},         // blue bars
        {"BackgroundColor", quint32(0x00FFFFFF), quint32(0x00FFFFFF)},
        {"FontColor", quint32(0xFF000018), quint32(0xFF000018)},     // a system colour kept as such
        {"Transparent", false, false},
        {"DrawRightDelimiter", false, false},
        {"FitHeightRatio", true, true},
        {"DrawOnBitmap", false, false},
    };
    for (const TPropertyRow& Row : Rows) {
        const int Index = Made->metaObject()->indexOfProperty(Row.Name);
        const std::string Name = Row.Name;
        Check(Index >= 0, Name + " is no property");
        if (Index < 0)
            continue;
        const QMetaProperty Property = Made->metaObject()->property(Index);
        Check(Property.isWritable() && Property.isDesignable(), Name + " is not editable in Designer");
        Check(Made->setProperty(Row.Name, Row.Written), Name + " refuses " + Row.Written.toString().toStdString());
        Check(Made->property(Row.Name) == Row.Read,
              Name + " reads " + Made->property(Row.Name).toString().toStdString() + ", expected " +
                  Row.Read.toString().toStdString());
    }

    // The widget the plugin made draws: blue bars on white at module width 3.
    Made->resize(339, 237);
    const QImage Shot = Made->grab().toImage();
    int Bars = 0, Background = 0;
    for (int X = 0; X < Shot.width(); ++X) {
        const QRgb Pixel = Shot.pixel(X, Shot.height() / 3);
        Bars += Pixel == qRgb(0, 0, 255);
        Background += Pixel == qRgb(255, 255, 255);
    }
    Check(Bars > 0 && Background > 0, "the drawn widget shows " + std::to_string(Bars) + " bar and " +
                                          std::to_string(Background) + " background pixels in a row");

    std::printf("installed plugin %s with %s: %d passed, %d failed\n", qPrintable(PluginPath),
                qPrintable(Library), Checks - Failures, Failures);
    return Failures == 0 ? 0 : 1;
}
