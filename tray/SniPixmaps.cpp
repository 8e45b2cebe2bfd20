#include "SniPixmaps.h"

#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>

namespace vostrel {
namespace {

// Every image the icon's file holds (a 32-pixel drawing, most icons also
// a 16-pixel one), smallest first.
QList<QImage> Drawings(res::IconHandle icon)
{
    QList<QImage> drawings;
    QImageReader reader(res::IconFile(static_cast<int>(icon)));
    for (int i = 0; i < std::max(reader.imageCount(), 1); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            drawings.append(image);
    }
    std::sort(drawings.begin(), drawings.end(),
              [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
    return drawings;
}

// The drawing a size is scaled from: the largest no bigger than the size,
// so that every drawn pixel survives; the smallest when all are bigger.
const QImage& SourceFor(const QList<QImage>& drawings, int size)
{
    const QImage* source = &drawings.front();
    for (const QImage& drawing : drawings) {
        if (drawing.width() <= size)
            source = &drawing;
    }
    return *source;
}

// Nearest-neighbour scaling keeps the pixel art crisp: only the drawing's
// own colours appear.
SniPixmap ToPixmap(const QImage& drawing, int size)
{
    const QImage image = drawing.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    QByteArray pixels(qsizetype(size) * size * 4, Qt::Uninitialized);
    uchar* out = reinterpret_cast<uchar*>(pixels.data());
    for (int y = 0; y < size; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x, out += 4)
            qToBigEndian<quint32>(line[x], out); // A, R, G, B
    }
    return {size, size, pixels};
}

} // namespace

const SniPixmapList& SniPixmapCache::Pixmaps(res::IconHandle icon)
{
    const auto found = m_pixmaps.find(icon);
    if (found != m_pixmaps.end())
        return found->second;
    SniPixmapList pixmaps;
    const QList<QImage> drawings = icon == 0 ? QList<QImage>() : Drawings(icon);
    if (!drawings.isEmpty()) {
        for (const int size : kSizes)
            pixmaps.append(ToPixmap(SourceFor(drawings, size), size));
    }
    return m_pixmaps.emplace(icon, pixmaps).first->second;
}

} // namespace vostrel
