// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "WEQBarCodePlugin.h"

#include <control/BarcodeWidget.h>
#include <control/WEQBarCode.h>

#include <QIcon>

TWidgetPlugin::TWidgetPlugin(QString Name, QString Include, QString WhatsThis, QString DomXml, TFactory Factory,
                             QObject* Parent)
    : QObject(Parent), FName(std::move(Name)), FInclude(std::move(Include)), FWhatsThis(std::move(WhatsThis)),
      FDomXml(std::move(DomXml)), FFactory(Factory)
{
}

QString TWidgetPlugin::name() const { return FName; }
QString TWidgetPlugin::group() const { return QStringLiteral("Display Widgets"); }
QString TWidgetPlugin::toolTip() const { return QStringLiteral("EAN-13 barcode"); }
QString TWidgetPlugin::whatsThis() const { return FWhatsThis; }
QString TWidgetPlugin::includeFile() const { return FInclude; }
QIcon TWidgetPlugin::icon() const { return QIcon(); }
bool TWidgetPlugin::isContainer() const { return false; }
QWidget* TWidgetPlugin::createWidget(QWidget* Parent) { return FFactory(Parent); }
bool TWidgetPlugin::isInitialized() const { return FInitialized; }
void TWidgetPlugin::initialize(QDesignerFormEditorInterface*) { FInitialized = true; }
QString TWidgetPlugin::domXml() const { return FDomXml; }

TWEQBarCodePlugins::TWEQBarCodePlugins(QObject* Parent) : QObject(Parent)
{
    FWidgets.append(new TWidgetPlugin(
        QStringLiteral("TWEQBarCode"), QStringLiteral("<WEQBarCode/control/WEQBarCode.h>"),
        QStringLiteral("Shows the EAN-13 symbol of its GTIN, snapped to whole modules, with OCR-B digits."),
        QStringLiteral(R"(<ui language="c++">
 <widget class="TWEQBarCode" name="WEQBarCode">
  <property name="geometry"><rect><x>0</x><y>0</y><width>339</width><height>237</height></rect></property>
 </widget>
</ui>
)"),
        [](QWidget* Parent) -> QWidget* { return new TWEQBarCode(Parent); }, this));
    FWidgets.append(new TWidgetPlugin(
        QStringLiteral("WEQ::BarcodeWidget"), QStringLiteral("<WEQBarCode/BarcodeWidget.h>"),
        QStringLiteral("Shows the EAN-13 symbol of its GTIN, the largest whole-module symbol that fits, with "
                       "OCR-B digits; made for layouts."),
        QStringLiteral(R"(<ui language="c++">
 <widget class="WEQ::BarcodeWidget" name="barcodeWidget">
  <property name="geometry"><rect><x>0</x><y>0</y><width>339</width><height>237</height></rect></property>
 </widget>
</ui>
)"),
        [](QWidget* Parent) -> QWidget* { return new WEQ::BarcodeWidget(Parent); }, this));
}

QList<QDesignerCustomWidgetInterface*> TWEQBarCodePlugins::customWidgets() const { return FWidgets; }
