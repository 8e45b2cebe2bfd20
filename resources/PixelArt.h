#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace vostrel::res {

// The drawings of one icon file (a 32-pixel one, most icons also a 16-pixel
// one) at whatever size a screen or a panel asks for. Each size is scaled
// from the largest drawing no bigger than it, so that every drawn pixel
// survives (the smallest drawing when all are bigger), and by the nearest
// neighbour, so that only the drawing's own colours appear: smoothing would
// blur 16-colour pixel art.
class PixelArt {
public:
    explicit PixelArt(const QString& file);

    bool IsNull() const { return m_drawings.isEmpty(); }
    // The sizes drawn by hand, smallest first.
    QList<int> DrawnSizes() const;
    // A square picture of the given size; a null image for an empty file.
    QImage At(int size) const;

private:
    QList<QImage> m_drawings; // smallest first
};

} // namespace vostrel::res
