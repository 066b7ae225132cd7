// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ocrb/WEQOcrB_p.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QThread>

namespace WEQOcrB {

bool OcrBFontLoaded = false;
int OcrBFontHandle = -1;

namespace {
// What threads other than the application's go by: they never read the
// flag above, which tests and the application thread may set as they like.
std::atomic<bool> FontRegistered{false};
std::atomic<QThread*> GuiThread{nullptr};
} // namespace

bool OcrBFontRegistered() { return FontRegistered.load(std::memory_order_acquire); }

bool OnGuiThread()
{
    QThread* Gui = GuiThread.load(std::memory_order_acquire);
    return Gui && QThread::currentThread() == Gui;
}

bool RegisterOcrBFontData(const QByteArray& Data)
{
    OcrBFontHandle = QFontDatabase::addApplicationFontFromData(Data);
    if (OcrBFontHandle < 0)
        return false;
    // Any family name would give some font; only our own face counts.
    const bool Ours = QFontDatabase::applicationFontFamilies(OcrBFontHandle).contains(QStringLiteral("OCRB"));
    FontRegistered.store(Ours, std::memory_order_release);
    return Ours;
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

// Once the registration is gone the face cannot be drawn with: every
// drawing from then on takes the outlines.
void UnloadOcrBFont()
{
    FontRegistered.store(false, std::memory_order_release);
    OcrBFontLoaded = false;
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
    WEQOcrB::GuiThread.store(nullptr, std::memory_order_release);
}

// Runs when the application object is created, before any window, in every
// program that links the library.
void OcrBFontStartup()
{
    WEQOcrB::GuiThread.store(QThread::currentThread(), std::memory_order_release);
    WEQOcrB::OcrBFontLoaded = WEQOcrB::LoadOcrBFont();
    qAddPostRoutine(OcrBFontExit);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(OcrBFontStartup)
