#include <control/WEQBarCode.h>

#include <QMetaProperty>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

TEST(DesignerPluginTest, LoadsAndMakesTheControl)
{
    QPluginLoader Loader(QStringLiteral(WEQ_DESIGNER_PLUGIN));
    QObject* Instance = Loader.instance();
    ASSERT_NE(Instance, nullptr) << Loader.errorString().toStdString();
    auto* Plugin = qobject_cast<QDesignerCustomWidgetInterface*>(Instance);
    ASSERT_NE(Plugin, nullptr);
    EXPECT_EQ(Plugin->name(), "TWEQBarCode");
    EXPECT_EQ(Plugin->includeFile(), "control/WEQBarCode.h");
    EXPECT_TRUE(Plugin->domXml().contains("class=\"TWEQBarCode\""));
    QWidget Parent;
    QWidget* Made = Plugin->createWidget(&Parent);
    auto* Control = qobject_cast<TWEQBarCode*>(Made);
    ASSERT_NE(Control, nullptr) << "the plugin made something else";
    // Designer edits properties through the meta-object, as here.
    for (const char* Name : {"GTIN", "Color", "BackgroundColor", "FontColor", "Transparent", "DrawRightDelimiter",
                             "FitHeightRatio", "DrawOnBitmap"}) {
        const int Index = Control->metaObject()->indexOfProperty(Name);
        ASSERT_GE(Index, 0) << Name;
        EXPECT_TRUE(Control->metaObject()->property(Index).isWritable()) << Name;
        EXPECT_TRUE(Control->metaObject()->property(Index).isDesignable()) << Name;
    }
    ASSERT_TRUE(Control->setProperty("GTIN", "12345"));
    EXPECT_EQ(Control->GTIN(), "0000000123457");
}
