#include "tray/sni/SniPixmapCache.h"

#include "resources/PixelArt.h"

#include <QImage>
#include <QtEndian>

namespace vostrel {
namespace {

SniPixmap ToPixmap(const QImage& picture, int size)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
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
    // Scaled without smoothing, as the window's and the XEmbed icons are.
    const res::PixelArt art(icon == 0 ? QString() : res::IconFile(static_cast<int>(icon)));
    if (!art.IsNull()) {
        for (const int size : kSizes)
            pixmaps.append(ToPixmap(art.At(size), size));
    }
    return m_pixmaps.emplace(icon, pixmaps).first->second;
}

} // namespace vostrel
