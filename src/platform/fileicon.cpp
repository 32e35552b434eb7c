#include "fileicon.h"

#include "builtinimage.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace Quorvath {

namespace {

class FileIconEngine final : public QIconEngine {
public:
    explicit FileIconEngine(QList<IconFile> files) : m_files(std::move(files))
    {
        std::sort(m_files.begin(), m_files.end(),
                  [](const IconFile &a, const IconFile &b) { return a.size.width() < b.size.width(); });
    }

    QIconEngine *clone() const override { return new FileIconEngine(m_files); }
    QString key() const override { return QStringLiteral("Quorvath::FileIconEngine"); }
    bool isNull() override { return m_files.isEmpty(); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const IconFile &file : m_files)
            sizes.append(file.size);
        return sizes;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const IconFile *file = bestFor(size);
        return file ? file->size.scaled(file->size.boundedTo(size), Qt::KeepAspectRatio) : QSize();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const IconFile *file = bestFor(size);
        if (!file)
            return QPixmap();
        QImage picture = readBuiltInImage(file->path, "PNG");
        if (picture.width() > size.width() || picture.height() > size.height())
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        // In the format it was read in: the window system converts it to
        // what it needs anyway, and a conversion here would be a second copy.
        return QPixmap::fromImage(std::move(picture), Qt::NoFormatConversion);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap picture = pixmap(rect.size(), mode, state);
        QRect target(QPoint(), picture.size());
        target.moveCenter(rect.center());
        painter->drawPixmap(target, picture);
    }

private:
    const IconFile *bestFor(const QSize &size) const
    {
        if (m_files.isEmpty())
            return nullptr;
        for (const IconFile &file : m_files) {
            if (file.size.width() >= size.width() && file.size.height() >= size.height())
                return &file;
        }
        return &m_files.last();
    }

    QList<IconFile> m_files;
};

} // namespace

QIcon fileIcon(QList<IconFile> files)
{
    return QIcon(new FileIconEngine(std::move(files)));
}

} // namespace Quorvath
