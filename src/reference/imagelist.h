// Pictures held by position, counted from 1, handed out whole: the image
// list of the About window's animation.
#pragma once

#include "builtinimage.h"

#include <QByteArray>
#include <QImage>
#include <QList>

namespace Quorvath {

class ImageList final {
public:
    // Appends a picture at the next position, given as the bytes of a BMP
    // file. They are kept as they are, unpacked only when handed out: the
    // pictures are built into the program, so nothing is copied, and a
    // small 4-bit frame is quickly unpacked at each step (docs/performance.md).
    void add(const QByteArray &bmp) { m_pictures.append(bmp); }
    int count() const { return int(m_pictures.size()); }
    // The picture at `position` (1 to count()); a null image outside, for
    // no bytes (a picture missing, which its adder has said), and for bytes
    // that are no BMP picture.
    QImage picture(int position) const
    {
        if (position < 1 || position > count() || m_pictures.at(position - 1).isEmpty())
            return QImage();
        return readBuiltInImage(m_pictures.at(position - 1), "BMP");
    }

private:
    QList<QByteArray> m_pictures;
};

} // namespace Quorvath
