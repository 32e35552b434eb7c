// Pictures held by position, counted from 1, handed out whole: the image
// list of the About window's animation.
#pragma once

#include <QList>
#include <QPixmap>

namespace Quorvath {

class ImageList final {
public:
    // Appends the picture at the next position.
    void add(const QPixmap &picture) { m_pictures.append(picture); }
    int count() const { return int(m_pictures.size()); }
    // The picture at `position` (1 to count()); a null pixmap outside.
    QPixmap picture(int position) const
    {
        return position >= 1 && position <= count() ? m_pictures.at(position - 1) : QPixmap();
    }

private:
    QList<QPixmap> m_pictures;
};

} // namespace Quorvath
