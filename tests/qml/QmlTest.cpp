// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The QML module as an application gets it: installed into a prefix and found
// through QML_IMPORT_PATH alone. This test does not link the library; the
// installed plugin must find it by itself.
#include "control/SignalTable.h"
#include "symbol/Decode.h"
#include "symbol/SymbolTestUtil.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QRgb Black = qRgb(0, 0, 0), Green = qRgb(0, 255, 0);

// A window showing one QML item made from Source.
struct TScene {
    QQmlEngine Engine;
    QQuickWindow Window;
    std::unique_ptr<QQuickItem> Item;

    explicit TScene(const QByteArray& Source)
    {
        QQmlComponent Component(&Engine);
        Component.setData(Source, QUrl());
        Item.reset(qobject_cast<QQuickItem*>(Component.create()));
        EXPECT_NE(Item, nullptr) << Component.errorString().toStdString();
        if (!Item)
            return;
        Window.setColor(Green);
        Window.resize(int(Item->width()), int(Item->height()));
        Item->setParentItem(Window.contentItem());
        Window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    QImage Grab() { return Window.grabWindow().convertToFormat(QImage::Format_RGB32); }
};

// Where the process mapped a shared object whose file name contains Name.
std::string MappedFrom(const char* Name)
{
    QFile Maps(QStringLiteral("/proc/self/maps"));
    if (!Maps.open(QIODevice::ReadOnly))
        return "(no /proc/self/maps)";
    for (const QByteArray& Line : Maps.readAll().split('\n'))
        if (Line.contains(Name))
            return Line.mid(Line.indexOf('/')).toStdString();
    return "(not loaded)";
}

TEST(QmlTest, TheInstalledModuleShowsADecodableSymbol)
{
    TScene Scene(R"(import WEQBarCode; Barcode { gtin: "400638133393"; width: 339; height: 237 })");
    ASSERT_NE(Scene.Item, nullptr);
    const QImage Shot = Scene.Grab();
    if (qEnvironmentVariableIsSet("WEQ_QML_SHOT"))
        Shot.save(qEnvironmentVariable("WEQ_QML_SHOT"));
    EXPECT_EQ(DecodeEan13(Shot), "4006381333931");
    EXPECT_EQ(ShowBars(BarsOnRow(Shot, 0, 3, Black, 339)), ShowBars(BarsOf4006381333931)) << "not whole modules";
    // Both from the prefix: the module through the import path, the library
    // through the plugin's run path.
    const std::string Prefix = qEnvironmentVariable("WEQ_TEST_PREFIX").toStdString();
    ASSERT_FALSE(Prefix.empty());
    EXPECT_EQ(MappedFrom("libweqbarcode_qml.so").rfind(Prefix, 0), 0u) << MappedFrom("libweqbarcode_qml.so");
    EXPECT_EQ(MappedFrom("libWEQBarCode.so").rfind(Prefix, 0), 0u) << MappedFrom("libWEQBarCode.so");
}

// The symbology, text and add-on reach the symbol: module width 3 with the
// add-on, a book's number line on top of its 79 modules. (Every symbol
// decodes in the library's own tests.)
TEST(QmlTest, ItsSymbologyAndAddOnReachTheSymbol)
{
    const struct {
        const char* Properties;
        const char* Gtin;
        QSizeF Implicit;
        const char* Read;
    } Rows[] = {
        {R"(symbology: Barcode.Isbn; text: "ISBN 0-306-40615-2"; addOn: "51299")", "9780306406157",
         QSizeF(3 * (11 + 95 + 9 + 47 + 5), 3 * 88), "EAN-13:9780306406157 51299"},
    };
    for (const auto& Row : Rows) {
        TScene Scene(QByteArray("import WEQBarCode\nBarcode { ") + Row.Properties + "; width: 600; height: 300 }");
        ASSERT_NE(Scene.Item, nullptr) << Row.Properties;
        EXPECT_EQ(Scene.Item->property("gtin").toString(), Row.Gtin);
        EXPECT_TRUE(Scene.Item->property("inputValid").toBool());
        EXPECT_EQ(QSizeF(Scene.Item->implicitWidth(), Scene.Item->implicitHeight()), Row.Implicit) << Row.Properties;
        EXPECT_EQ(DecodeFamily(Scene.Grab()), Row.Read);
    }
}

// save() from QML: a path, a file: URL as a string or a url, the file it
// names; otherwise the reason in errorString, naming what was given.
TEST(QmlTest, SavesAFileOrSaysWhyNot)
{
    QTemporaryDir Dir;
    const QString Url = QUrl::fromLocalFile(Dir.filePath("as-url.png")).toString();
    const struct {
        const char* Name;
        QString Call, Written, Reason;
    } Rows[] = {
        {"a path", QString("save('%1', 300)").arg(Dir.filePath("path.png")), Dir.filePath("path.png"), {}},
        {"a file: URL string", QString("save('%1', 300)").arg(Url), Dir.filePath("as-url.png"), {}},
        {"a url", QString("save(Qt.url('%1'), 300)").arg(QUrl::fromLocalFile(Dir.filePath("url.png")).toString()),
         Dir.filePath("url.png"), {}},
        {"a missing folder", QString("save('%1')").arg(Dir.filePath("missing/p.png")), {}, "missing"},
        {"another scheme", "save('http://example.com/p.png')", {}, "only local files"},
        {"a dpi no int holds", QString("save('%1', 1e12)").arg(Dir.filePath("big.png")), {}, "1e+12 dpi"},
    };
    for (const auto& Row : Rows) {
        TScene Scene(QStringLiteral(R"(import WEQBarCode
            Barcode { text: "400638133393"; property bool saved: %1 })")
                         .arg(Row.Call)
                         .toUtf8());
        ASSERT_NE(Scene.Item, nullptr) << Row.Name;
        EXPECT_EQ(Scene.Item->property("saved").toBool(), !Row.Written.isEmpty()) << Row.Name;
        if (!Row.Written.isEmpty()) {
            EXPECT_EQ(DecodeEan13(QImage(Row.Written)), "4006381333931") << Row.Name;
        }
        EXPECT_TRUE(Scene.Item->property("errorString").toString().contains(Row.Reason))
            << Row.Name << ": " << Scene.Item->property("errorString").toString().toStdString();
    }
    EXPECT_FALSE(QDir().exists(QStringLiteral("file:"))) << "a URL was taken as a relative folder";
}

// The example as a user runs it, told to save at once.
TEST(QmlTest, TheExampleSavesItsSymbol)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("example.png");
    QQmlApplicationEngine Engine;
    Engine.setInitialProperties({{"saveTo", Path}, {"saveAtStart", true}});
    Engine.load(QUrl::fromLocalFile(QStringLiteral(WEQ_QML_EXAMPLE)));
    ASSERT_FALSE(Engine.rootObjects().isEmpty());
    EXPECT_EQ(DecodeEan13(QImage(Path)), "4006381333931");
}

TEST(QmlTest, DefaultsImplicitSizeAndATransparentBackground)
{
    TScene Scene(R"(import WEQBarCode; Barcode { text: "40063813339x"; strict: false; backgroundColor: "transparent" })");
    ASSERT_NE(Scene.Item, nullptr);
    QQuickItem& Item = *Scene.Item;
    EXPECT_EQ(QSizeF(Item.implicitWidth(), Item.implicitHeight()), QSizeF(339, 237));
    EXPECT_EQ(Item.size(), QSizeF(339, 237)) << "an item without a size takes its implicit size";
    EXPECT_EQ(Item.property("gtin").toString(), "4006381333900");
    EXPECT_FALSE(Item.property("inputValid").toBool());
    EXPECT_EQ(Item.property("barColor").value<QColor>(), QColor(Qt::black));
    EXPECT_EQ(Item.property("textColor").value<QColor>(), QColor(Qt::black));
    EXPECT_TRUE(Item.property("quietZoneMarks").toBool());
    EXPECT_TRUE(Item.property("keepAspectRatio").toBool());
    EXPECT_EQ(Item.property("xDimension").toDouble(), 0.33);
    const QImage Shot = Scene.Grab();
    EXPECT_EQ(Shot.pixel(2, 2), Green) << "the window shows through the quiet zone";
    EXPECT_EQ(ShowBars(BarsOnRow(Shot, 0, 3, Black, 339)).substr(0, 4), "12/1") << "the first guard bar";
}

TEST(QmlTest, EveryPropertySignalsEachRealChangeOnce)
{
    TScene Scene(R"(import WEQBarCode; Barcode {})");
    ASSERT_NE(Scene.Item, nullptr);
    ExpectOneSignalPerRealChange(*Scene.Item, {
        {"gtin", "400638133393", {"text", "gtin", "inputValid", "errorString", "barcode"}},
        {"text", "4006381333930", {"text", "gtin", "inputValid", "errorString", "barcode"}},
        {"strict", false, {"strict", "gtin", "warnings", "barcode"}},
        {"text", "036000291452", {"text", "inputValid", "errorString", "warnings", "barcode"}},
        {"symbology", 2 /* Barcode.UpcA */, {"symbology", "gtin", "barcode"}},
        {"addOn", "12345", {"addOn", "barcode"}},
        {"xDimension", 11.0, {"xDimension", "inputValid", "errorString", "barcode"}},
        {"barColor", QColor(Qt::red), {"barColor", "barcode"}}, // nothing drawable: no print findings
        {"xDimension", 0.33, {"xDimension", "inputValid", "errorString", "warnings", "barcode"}},
        {"barColor", QColor(), {"barColor", "barcode", "warnings"}}, // invalid: the default, black
        {"backgroundColor", QColor(Qt::yellow), {"backgroundColor", "barcode"}},
        {"textColor", QColor(Qt::blue), {"textColor", "barcode"}},
        {"quietZoneMarker", false, {"quietZoneMarks", "quietZoneMarker", "barcode"}},
        {"keepAspectRatio", false, {"keepAspectRatio"}},
    });
}

TEST(QmlTest, AbsurdSizesDrawNothingOrABoundedSymbol)
{
    TScene Scene(R"(import WEQBarCode; Barcode { gtin: "400638133393" })");
    ASSERT_NE(Scene.Item, nullptr);
    QElapsedTimer Timer;
    Timer.start();
    for (double Side : {0.0, -50.0, 1e9, 1e30, 112.0}) {
        Scene.Item->setSize(QSizeF(Side, Side));
        const QImage Shot = Scene.Grab();
        EXPECT_FALSE(Shot.isNull()) << Side;
        EXPECT_EQ(DecodeEan13(Shot), "(nothing decoded)") << "no symbol is whole in the window at " << Side;
    }
    EXPECT_LT(Timer.elapsed(), 10000);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
