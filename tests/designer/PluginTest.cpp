// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include <control/BarcodeWidget.h>
#include <control/WEQBarCode.h>

#include <QBuffer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

#include <memory>

namespace {

QDesignerCustomWidgetCollectionInterface* LoadCollection(QPluginLoader& Loader)
{
    QObject* Instance = Loader.instance();
    EXPECT_NE(Instance, nullptr) << Loader.errorString().toStdString();
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(Instance);
}

// One widget Designer offers, and what it must be able to edit of it.
struct TOffered {
    const char* Name;
    const char* Include;
    const char* ClassName; // of what createWidget makes
    std::vector<std::pair<const char*, QMetaType::Type>> Properties;
};

TEST(DesignerPluginTest, OffersBothWidgetsWithEditableProperties)
{
    QPluginLoader Loader(QStringLiteral(WEQ_DESIGNER_PLUGIN));
    QDesignerCustomWidgetCollectionInterface* Collection = LoadCollection(Loader);
    ASSERT_NE(Collection, nullptr) << "the plugin is not a collection";
    const TOffered Offered[] = {
        {"TWEQBarCode",
         "<WEQBarCode/control/WEQBarCode.h>",
         "TWEQBarCode",
         {{"GTIN", QMetaType::QString},
          {"Color", QMetaType::UInt},
          {"BackgroundColor", QMetaType::UInt},
          {"FontColor", QMetaType::UInt},
          {"Transparent", QMetaType::Bool},
          {"DrawRightDelimiter", QMetaType::Bool},
          {"FitHeightRatio", QMetaType::Bool},
          {"DrawOnBitmap", QMetaType::Bool}}},
        // QColor properties are what Designer edits with a colour picker.
        {"WEQ::BarcodeWidget",
         "<WEQBarCode/BarcodeWidget.h>",
         "WEQ::BarcodeWidget",
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
    const QList<QDesignerCustomWidgetInterface*> Widgets = Collection->customWidgets();
    ASSERT_EQ(Widgets.size(), qsizetype(std::size(Offered)));
    for (std::size_t I = 0; I < std::size(Offered); ++I) {
        const TOffered& Want = Offered[I];
        SCOPED_TRACE(Want.Name);
        QDesignerCustomWidgetInterface* Plugin = Widgets[qsizetype(I)];
        EXPECT_EQ(Plugin->name(), Want.Name);
        EXPECT_EQ(Plugin->includeFile(), Want.Include);
        EXPECT_TRUE(Plugin->domXml().contains(QStringLiteral("class=\"%1\"").arg(Want.Name)));
        QWidget Parent;
        QWidget* Made = Plugin->createWidget(&Parent);
        ASSERT_NE(Made, nullptr);
        EXPECT_STREQ(Made->metaObject()->className(), Want.ClassName) << "the plugin made something else";
        // Designer edits properties through the meta-object, as here.
        for (const auto& [Name, Type] : Want.Properties) {
            const int Index = Made->metaObject()->indexOfProperty(Name);
            ASSERT_GE(Index, 0) << Name;
            const QMetaProperty Property = Made->metaObject()->property(Index);
            EXPECT_EQ(Property.metaType().id(), int(Type)) << Name;
            EXPECT_TRUE(Property.isWritable()) << Name;
            EXPECT_TRUE(Property.isDesignable()) << Name;
            EXPECT_TRUE(Property.hasNotifySignal()) << Name;
        }
    }
    auto* Control = qobject_cast<TWEQBarCode*>(Widgets[0]->createWidget(nullptr));
    std::unique_ptr<QWidget> Owned(Control);
    ASSERT_TRUE(Control->setProperty("GTIN", "12345"));
    EXPECT_EQ(Control->GTIN(), "0000000123457");
}

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

TEST(DesignerPluginTest, AFormConnectsALineEditToBothWidgets)
{
    QUiLoader Loader;
    Loader.clearPluginPaths();
    Loader.addPluginPath(QFileInfo(QStringLiteral(WEQ_DESIGNER_PLUGIN)).absolutePath());
    ASSERT_TRUE(Loader.availableWidgets().contains("WEQ::BarcodeWidget"));
    QBuffer Form;
    Form.setData(ConnectedForm);
    std::unique_ptr<QWidget> Window(Loader.load(&Form));
    ASSERT_NE(Window, nullptr) << Loader.errorString().toStdString();
    auto* Edit = Window->findChild<QLineEdit*>("edit");
    auto* Control = Window->findChild<TWEQBarCode*>("control");
    auto* Widget = Window->findChild<WEQ::BarcodeWidget*>("widget");
    ASSERT_TRUE(Edit && Control && Widget);
    Edit->setText("400638133393");
    EXPECT_EQ(Control->GTIN(), "4006381333931");
    EXPECT_EQ(Widget->gtin(), "4006381333931");
    EXPECT_TRUE(Widget->inputValid());
}

} // namespace
