// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ocrb/WEQOcrB_p.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainterPath>
#include <QRawFont>
#include <gtest/gtest.h>

using namespace WEQOcrB;

namespace {

QByteArray EmbeddedFont()
{
    QFile File(QString::fromLatin1(OcrBFontResource));
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

struct TInkRow {
    char Ch;
    int Left, Bottom, Right, Top;
};

TEST(EmbeddedFontTest, IsTheOcrBFaceWithTheExpectedInk)
{
    const QByteArray Data = EmbeddedFont();
    ASSERT_FALSE(Data.isEmpty()) << "resource missing";
    EXPECT_EQ(Data.left(4), QByteArray("\x00\x01\x00\x00", 4)) << "not a TrueType (glyf) font";
    const QRawFont Font(Data, 1000); // one pixel per font unit
    ASSERT_TRUE(Font.isValid());
    EXPECT_EQ(Font.familyName(), "OCRB");
    EXPECT_EQ(Font.styleName(), "Regular");
    EXPECT_EQ(Font.unitsPerEm(), OcrBUnitsPerEm) << "the outlines and a PDF's digits take it";

    const TInkRow Rows[] = {{'0', 113, -13, 613, 773}, {'1', 144, -10, 456, 770}, {'2', 130, 1, 593, 773},
                            {'3', 113, -13, 604, 758}, {'4', 113, -10, 613, 770}, {'5', 139, -13, 573, 758},
                            {'6', 113, -13, 613, 770}, {'7', 113, -10, 613, 758}, {'8', 113, -14, 613, 773},
                            {'9', 113, -10, 613, 773}, {'>', 113, 64, 613, 696}};
    for (const TInkRow& Row : Rows) {
        SCOPED_TRACE(std::string("character '") + Row.Ch + "'");
        const QList<quint32> Glyphs = Font.glyphIndexesForString(QString(QChar::fromLatin1(Row.Ch)));
        ASSERT_EQ(Glyphs.size(), 1);
        ASSERT_NE(Glyphs[0], 0u) << "no glyph";
        // The path is in pixels with y downward: flip it back to font units.
        const QRectF Box = Font.pathForGlyph(Glyphs[0]).boundingRect();
        EXPECT_NEAR(Box.left(), Row.Left, 1.0);
        EXPECT_NEAR(Box.right(), Row.Right, 1.0);
        EXPECT_NEAR(-Box.bottom(), Row.Bottom, 1.0);
        EXPECT_NEAR(-Box.top(), Row.Top, 1.0);
        EXPECT_NEAR(Font.advancesForGlyphIndexes(Glyphs)[0].x(), 723, 0.5) << "monospaced advance";
    }
}

TEST(FontProvisioningTest, RegisteredAtStartUpUnderItsOwnFamily)
{
    // QtTestMain only made a QApplication; the start-up code did the rest.
    EXPECT_TRUE(OcrBFontLoaded);
    ASSERT_GE(OcrBFontHandle, 0);
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(OcrBFontHandle).contains("OCRB"));
    EXPECT_EQ(QFontInfo(QFont("OCRB")).family(), "OCRB");
}

// Leaves the embedded face registered once, afresh, however a test left the
// registration, so that the tests after it draw with the font.
struct TRegistrationGuard {
    int Saved = OcrBFontHandle;
    ~TRegistrationGuard()
    {
        if (OcrBFontHandle >= 0 && OcrBFontHandle != Saved)
            QFontDatabase::removeApplicationFont(OcrBFontHandle);
        OcrBFontHandle = Saved;
        UnloadOcrBFont();
        OcrBFontLoaded = LoadOcrBFont();
    }
};

TEST(FontProvisioningTest, DataThatIsNoFontIsRefused)
{
    const TRegistrationGuard Guard;
    EXPECT_FALSE(RegisterOcrBFontData(QByteArray("certainly not a font")));
    EXPECT_FALSE(RegisterOcrBFontData(QByteArray()));
    // A real font under another family name does not count either.
    QByteArray Renamed = EmbeddedFont();
    const QByteArray Family("O\0C\0R\0B\0", 8), Other("X\0Y\0Z\0W\0", 8);
    for (qsizetype At = Renamed.indexOf(Family); At >= 0; At = Renamed.indexOf(Family, At + 1))
        Renamed.replace(At, Family.size(), Other);
    for (qsizetype At = Renamed.indexOf("OCRB"); At >= 0; At = Renamed.indexOf("OCRB", At + 1))
        Renamed.replace(At, 4, "XYZW");
    EXPECT_FALSE(RegisterOcrBFontData(Renamed));
}

TEST(FontProvisioningTest, UnloadRemovesTheRegistrationAndEmptiesTheCacheName)
{
    const TRegistrationGuard Guard;
    FitFontHeight("0", "OCRB", 18, 24);
    ASSERT_EQ(FitCacheFontName, "OCRB");
    UnloadOcrBFont();
    EXPECT_EQ(OcrBFontHandle, -1);
    EXPECT_TRUE(FitCacheFontName.empty());
    EXPECT_NE(QFontInfo(QFont("OCRB")).family(), "OCRB") << "the face is gone";
    UnloadOcrBFont(); // a second removal is harmless
    EXPECT_TRUE(LoadOcrBFont());
}

} // namespace
