#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// Puts TWEQBarCode into Qt Designer's widget box; Designer lists its
// Q_PROPERTYs for editing like any widget's.
class TWEQBarCodePlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit TWEQBarCodePlugin(QObject* Parent = nullptr);

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
    bool FInitialized = false;
};
