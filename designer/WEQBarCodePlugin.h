// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// Puts TWEQBarCode and WEQ::BarcodeWidget into Qt Designer's widget box;
// Designer lists their Q_PROPERTYs for editing, and their signals and slots
// for connections, like any widget's.

// What Designer needs to know of one widget class; the classes below differ
// only in these facts.
class TWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    using TFactory = QWidget* (*)(QWidget* Parent);
    TWidgetPlugin(QString Name, QString Include, QString WhatsThis, QString DomXml, TFactory Factory,
                  QObject* Parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* Parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* Core) override;
    QString domXml() const override;

private:
    QString FName, FInclude, FWhatsThis, FDomXml;
    TFactory FFactory;
    bool FInitialized = false;
};

// The plugin Designer loads: both widgets.
class TWEQBarCodePlugins : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TWEQBarCodePlugins(QObject* Parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
    QList<QDesignerCustomWidgetInterface*> FWidgets;
};
