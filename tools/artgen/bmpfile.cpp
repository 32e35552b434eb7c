#include "bmpfile.h"

namespace ArtGen {
namespace {

constexpr int PixelsPerMetre = 3780;   // 96 dots per inch

class Writer {
public:
    void u8(int v) { m_bytes.append(char(v & 0xff)); }
    void u16(int v) { u8(v); u8(v >> 8); }
    void u32(qint64 v) { u16(int(v & 0xffff)); u16(int(v >> 16)); }
    QByteArray bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

int rowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

void fileHeader(Writer &w, int fileSize, int pixelOffset)
{
    w.u8('B'); w.u8('M');
    w.u32(fileSize);
    w.u32(0);
    w.u32(pixelOffset);
}

void infoHeader(Writer &w, int width, int height, int bits, int imageSize, int colours)
{
    w.u32(40);
    w.u32(width);
    w.u32(height);
    w.u16(1);
    w.u16(bits);
    w.u32(0);   // BI_RGB: no compression
    w.u32(imageSize);
    w.u32(PixelsPerMetre);
    w.u32(PixelsPerMetre);
    w.u32(colours);
    w.u32(0);
}

void palette(Writer &w, const QImage &image)
{
    Q_ASSERT(image.format() == QImage::Format_Indexed8 && image.colorCount() == 16);
    for (QRgb c : image.colorTable()) {
        w.u8(qBlue(c)); w.u8(qGreen(c)); w.u8(qRed(c)); w.u8(0);
    }
}

// Two pixels a byte, the left one in the high nibble; rows bottom-up.
void pixels4(Writer &w, const QImage &image)
{
    const int pad = rowBytes(image.width(), 4) - (image.width() + 1) / 2;
    for (int y = image.height() - 1; y >= 0; --y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < image.width(); x += 2)
            w.u8((line[x] & 0x0f) << 4 | (x + 1 < image.width() ? line[x + 1] & 0x0f : 0));
        for (int i = 0; i < pad; ++i)
            w.u8(0);
    }
}

} // namespace

QByteArray bmp24(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int stride = rowBytes(image.width(), 24);
    const int imageSize = stride * image.height();
    Writer w;
    fileHeader(w, 54 + imageSize, 54);
    infoHeader(w, image.width(), image.height(), 24, imageSize, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            w.u8(qBlue(line[x])); w.u8(qGreen(line[x])); w.u8(qRed(line[x]));
        }
        for (int i = image.width() * 3; i < stride; ++i)
            w.u8(0);
    }
    return w.bytes();
}

QByteArray bmp4(const QImage &image)
{
    const int imageSize = rowBytes(image.width(), 4) * image.height();
    const int offset = 14 + 40 + 16 * 4;
    Writer w;
    fileHeader(w, offset + imageSize, offset);
    infoHeader(w, image.width(), image.height(), 4, imageSize, 16);
    palette(w, image);
    pixels4(w, image);
    return w.bytes();
}

QByteArray ico4(const QImage &image, int transparent)
{
    const int width = image.width(), height = image.height();
    const int maskStride = rowBytes(width, 1);
    const int imageSize = rowBytes(width, 4) * height + maskStride * height;
    const int resourceSize = 40 + 16 * 4 + imageSize;

    Writer w;
    // ICONDIR and its one ICONDIRENTRY.
    w.u16(0); w.u16(1); w.u16(1);
    w.u8(width); w.u8(height); w.u8(16); w.u8(0);
    w.u16(1); w.u16(4);
    w.u32(resourceSize);
    w.u32(6 + 16);

    // The image: a bitmap of twice the height, colour part then AND mask.
    w.u32(40); w.u32(width); w.u32(height * 2); w.u16(1); w.u16(4);
    w.u32(0); w.u32(imageSize); w.u32(0); w.u32(0); w.u32(16); w.u32(0);
    palette(w, image);

    // Hidden pixels carry colour 0 so that the AND/XOR pair leaves the screen untouched.
    QImage colours = image;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (colours.pixelIndex(x, y) == transparent)
                colours.setPixel(x, y, 0);
    pixels4(w, colours);
    for (int y = height - 1; y >= 0; --y) {
        for (int byte = 0; byte < maskStride; ++byte) {
            int bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = byte * 8 + bit;
                if (x < width && image.pixelIndex(x, y) == transparent)
                    bits |= 0x80 >> bit;
            }
            w.u8(bits);
        }
    }
    return w.bytes();
}

} // namespace ArtGen
