#include "WEQBarCodePlugin.h"

#include <control/WEQBarCode.h>

#include <QIcon>

TWEQBarCodePlugin::TWEQBarCodePlugin(QObject* Parent) : QObject(Parent) {}

QString TWEQBarCodePlugin::name() const { return QStringLiteral("TWEQBarCode"); }
QString TWEQBarCodePlugin::group() const { return QStringLiteral("Display Widgets"); }
QString TWEQBarCodePlugin::toolTip() const { return QStringLiteral("EAN-13 barcode"); }
QString TWEQBarCodePlugin::whatsThis() const
{
    return QStringLiteral("Shows the EAN-13 symbol of its GTIN, snapped to whole modules, with OCR-B digits.");
}
QString TWEQBarCodePlugin::includeFile() const { return QStringLiteral("control/WEQBarCode.h"); }
QIcon TWEQBarCodePlugin::icon() const { return QIcon(); }
bool TWEQBarCodePlugin::isContainer() const { return false; }
QWidget* TWEQBarCodePlugin::createWidget(QWidget* Parent) { return new TWEQBarCode(Parent); }
bool TWEQBarCodePlugin::isInitialized() const { return FInitialized; }
void TWEQBarCodePlugin::initialize(QDesignerFormEditorInterface*) { FInitialized = true; }

QString TWEQBarCodePlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="TWEQBarCode" name="WEQBarCode">
  <property name="geometry"><rect><x>0</x><y>0</y><width>339</width><height>237</height></rect></property>
 </widget>
</ui>
)");
}
