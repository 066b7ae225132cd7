// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// weq_installed_plugin PLUGIN LIBDIR: loads a Designer plugin the way
// Designer does: both widgets offered, their properties editable, a form
// that connects a line edit to their slots by name, and TWEQBarCode used
// through the meta-object alone. The test suite runs it on the plugin it
// builds, the test command on the installed and the packaged plugin.
//
// This program does not link the library: the plugin must find it through its
// own RUNPATH, and it must be the copy in LIBDIR, not one from the build tree.

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QUiLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <link.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

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

// One widget Designer offers, and what it must be able to edit of it.
struct TOffered {
    const char* Name;
    const char* Include;
    std::vector<std::pair<const char*, QMetaType::Type>> Properties;
};

// A form as Designer saves it: a line edit connected to each widget's GTIN
// slot by name, which only works for real slots.
const char* const ConnectedForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <widget class="QLineEdit" name="edit"/>
  <widget class="TWEQBarCode" name="control"/>
  <widget class="WEQ::BarcodeWidget" name="widget"/>
 </widget>
 <connections>
  <connection><sender>edit</sender><signal>textChanged(QString)</signal>
   <receiver>control</receiver><slot>SetGTIN(QString)</slot></connection>
  <connection><sender>edit</sender><signal>textChanged(QString)</signal>
   <receiver>widget</receiver><slot>setGtin(QString)</slot></connection>
 </connections>
</ui>
)";

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

    // Both widgets, each with the properties Designer edits: QColor ones with
    // its colour picker.
    const TOffered Offered[] = {
        {"TWEQBarCode",
         "<WEQBarCode/control/WEQBarCode.h>",
         {{"GTIN", QMetaType::QString},
          {"Color", QMetaType::UInt},
          {"BackgroundColor", QMetaType::UInt},
          {"FontColor", QMetaType::UInt},
          {"Transparent", QMetaType::Bool},
          {"DrawRightDelimiter", QMetaType::Bool},
          {"FitHeightRatio", QMetaType::Bool},
          {"DrawOnBitmap", QMetaType::Bool}}},
        {"WEQ::BarcodeWidget",
         "<WEQBarCode/BarcodeWidget.h>",
         {{"gtin", QMetaType::QString},
          {"text", QMetaType::QString},
          {"barColor", QMetaType::QColor},
          {"backgroundColor", QMetaType::QColor},
          {"textColor", QMetaType::QColor},
          {"quietZoneMarks", QMetaType::Bool},
          {"quietZoneMarker", QMetaType::Bool}, // the older name: forms that have it still load
          {"strict", QMetaType::Bool},
          {"xDimension", QMetaType::Double},
          {"keepAspectRatio", QMetaType::Bool}}},
    };
    QWidget Form;
    QWidget* Made = nullptr;
    for (const TOffered& Want : Offered) {
        const std::string Name = Want.Name;
        QDesignerCustomWidgetInterface* Plugin = FindWidget(Instance, Want.Name);
        if (!Plugin) {
            std::fprintf(stderr, "FAILED: the plugin offers no %s\n", Want.Name);
            return 1;
        }
        Check(Plugin->includeFile() == Want.Include, Name + " is included as " + Plugin->includeFile().toStdString());
        Check(Plugin->domXml().contains(QStringLiteral("class=\"%1\"").arg(Want.Name)), Name + ": domXml names another class");
        QWidget* Widget = Plugin->createWidget(&Form);
        if (!Widget || Name != Widget->metaObject()->className()) {
            std::fprintf(stderr, "FAILED: createWidget made %s for %s\n",
                         Widget ? Widget->metaObject()->className() : "nothing", Want.Name);
            return 1;
        }
        for (const auto& [Property, Type] : Want.Properties) {
            const QMetaProperty P = Widget->metaObject()->property(Widget->metaObject()->indexOfProperty(Property));
            Check(P.isValid() && P.metaType().id() == int(Type) && P.isWritable() && P.isDesignable() &&
                      P.hasNotifySignal(),
                  Name + "::" + Property + " is not an editable property of its type with a change signal");
        }
        if (!Made)
            Made = Widget;
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
        const std::string Name = Row.Name;
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

    // A form of both widgets, loaded through the plugin's folder.
    QUiLoader UiLoader;
    UiLoader.clearPluginPaths();
    UiLoader.addPluginPath(QFileInfo(PluginPath).absolutePath());
    QBuffer Saved;
    Saved.setData(ConnectedForm);
    const std::unique_ptr<QWidget> Window(UiLoader.load(&Saved));
    if (!Window) {
        std::fprintf(stderr, "FAILED: the form does not load: %s\n", qPrintable(UiLoader.errorString()));
        return 1;
    }
    auto* Edit = Window->findChild<QLineEdit*>("edit");
    QWidget* Control = Window->findChild<QWidget*>("control");
    QWidget* Widget = Window->findChild<QWidget*>("widget");
    Check(Edit && Control && Widget, "the form lacks a widget");
    if (Edit && Control && Widget) {
        Edit->setText("400638133393");
        Check(Control->property("GTIN") == "4006381333931", "the line edit does not reach TWEQBarCode's SetGTIN");
        Check(Widget->property("gtin") == "4006381333931" && Widget->property("inputValid").toBool(),
              "the line edit does not reach BarcodeWidget's setGtin");
    }

    std::printf("installed plugin %s with %s: %d passed, %d failed\n", qPrintable(PluginPath),
                qPrintable(Library), Checks - Failures, Failures);
    return Failures == 0 ? 0 : 1;
}
