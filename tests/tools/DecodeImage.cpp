// weq_decode_image PICTURE: prints the EAN-13 GTIN read from the picture; exits 1 if none.
#define ZX_USE_UTF8 1
#include <QCoreApplication>
#include <QImage>
#include <ZXing/ReadBarcode.h>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication App(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: weq_decode_image PICTURE\n");
        return 2;
    }
    const QImage Gray = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView View(Gray.constBits(), Gray.width(), Gray.height(), ZXing::ImageFormat::Lum,
                                int(Gray.bytesPerLine()));
    const ZXing::Result R =
        ZXing::ReadBarcode(View, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::EAN13).setTryHarder(true));
    if (!R.isValid())
        return 1;
    std::printf("%s\n", R.text().c_str());
    return 0;
}
