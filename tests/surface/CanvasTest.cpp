#include "surface/Canvas.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(CanvasSmokeTest, FillsAnImage)
{
    QImage Image(4, 4, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        TCanvas Canvas(&Image);
        Canvas.SetBrushColor(clBlack);
        Canvas.FillRect(0, 0, 2, 2);
    }
    EXPECT_EQ(Image.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(2, 2), qRgb(255, 255, 255));
}
