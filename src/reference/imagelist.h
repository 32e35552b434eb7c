// Pictures held by position, counted from 1, handed out whole: the image
// list of the About window's animation.
#pragma once

#include <QImage>
#include <QList>

namespace Quorvath {

class ImageList final {
public:
    // Appends the picture at the next position.
    void add(const QImage &picture) { m_pictures.append(picture); }
    int count() const { return int(m_pictures.size()); }
    // The picture at `position` (1 to count()); a null image outside.
    QImage picture(int position) const
    {
        return position >= 1 && position <= count() ? m_pictures.at(position - 1) : QImage();
    }

private:
    // Kept as decoded, in their 16 colours at a byte a pixel: a quarter of
    // what screen-ready pixmaps take. A tick converts one 88 x 88 picture.
    QList<QImage> m_pictures;
};

} // namespace Quorvath
