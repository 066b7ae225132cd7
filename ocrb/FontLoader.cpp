#include "ocrb/WEQOcrB_p.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

namespace WEQOcrB {

bool OcrBFontLoaded = false;
int OcrBFontHandle = -1;

bool RegisterOcrBFontData(const QByteArray& Data)
{
    OcrBFontHandle = QFontDatabase::addApplicationFontFromData(Data);
    if (OcrBFontHandle < 0)
        return false;
    // Any family name would give some font; only our own face counts.
    return QFontDatabase::applicationFontFamilies(OcrBFontHandle).contains(QStringLiteral("OCRB"));
}

bool LoadOcrBFont()
{
    try {
        // Fonts need a GUI application; a console application gets the outlines.
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return false;
        QFile File(QString::fromLatin1(OcrBFontResource));
        if (!File.open(QIODevice::ReadOnly))
            return false;
        return RegisterOcrBFontData(File.readAll());
    } catch (...) {
        return false;
    }
}

void UnloadOcrBFont()
{
    if (OcrBFontHandle >= 0)
        QFontDatabase::removeApplicationFont(OcrBFontHandle);
    OcrBFontHandle = -1;
    FitCacheFontName.clear();
}

} // namespace WEQOcrB

namespace {

void OcrBFontExit()
{
    WEQOcrB::UnloadOcrBFont();
}

// Runs when the application object is created, before any window, in every
// program that links the library.
void OcrBFontStartup()
{
    WEQOcrB::OcrBFontLoaded = WEQOcrB::LoadOcrBFont();
    qAddPostRoutine(OcrBFontExit);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(OcrBFontStartup)
