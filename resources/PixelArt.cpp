#include "resources/PixelArt.h"

#include <QImageReader>

#include <algorithm>

namespace vostrel::res {

PixelArt::PixelArt(const QString& file)
{
    QImageReader reader(file);
    for (int i = 0; i < std::max(reader.imageCount(), 1); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            m_drawings.append(image.convertToFormat(QImage::Format_ARGB32));
    }
    std::sort(m_drawings.begin(), m_drawings.end(),
              [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
}

QList<int> PixelArt::DrawnSizes() const
{
    QList<int> sizes;
    for (const QImage& drawing : m_drawings)
        sizes.append(drawing.width());
    return sizes;
}

QImage PixelArt::At(int size) const
{
    if (m_drawings.isEmpty() || size <= 0)
        return {};
    const QImage* source = &m_drawings.front();
    for (const QImage& drawing : m_drawings) {
        if (drawing.width() <= size)
            source = &drawing;
    }
    if (source->width() == size)
        return *source;
    return source->scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace vostrel::res
