// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Run with barcode_in_qml; QML_IMPORT_PATH=<prefix>/lib/x86_64-linux-gnu/qt6/qml
// (the prefix's QML folder) is all it needs to find the module.
import QtQuick
import WEQBarCode

Window {
    id: window
    width: 360; height: 300
    visible: true
    title: "EAN-13 in QML"
    color: "#efefef"
    // Where "Save" writes the symbol at its true size; set from outside to
    // have it saved once the window is made.
    property string saveTo: "barcode.png"
    property bool saveAtStart: false

    TextInput {
        id: input
        x: 10; y: 10; width: 270
        text: "400638133393"
        font.pixelSize: 18
    }
    Text {
        id: save
        anchors { right: parent.right; top: parent.top; margins: 10 }
        text: "Save"
        font.pixelSize: 18
        color: "navy"
        MouseArea { anchors.fill: parent; onClicked: window.saveSymbol() }
    }
    Barcode {
        id: barcode
        anchors { top: input.bottom; left: parent.left; right: parent.right; bottom: note.top; margins: 10 }
        text: input.text
    }
    Text {
        id: note
        anchors { left: parent.left; bottom: parent.bottom; margins: 10 }
        text: barcode.inputValid ? "GTIN " + barcode.gtin : "Not a GTIN yet; would print " + barcode.gtin
    }

    function saveSymbol() {
        note.text = barcode.save(saveTo, 600) ? "Saved " + saveTo : barcode.errorString
    }
    Component.onCompleted: if (saveAtStart) saveSymbol()
}
