#include "resources/PixelArtIconEngine.h"

#include <QPainter>

#include <algorithm>

namespace vostrel::res {
namespace {

constexpr int kPanelSizes[] = {16, 22, 24, 32, 48, 64};

} // namespace

PixelArtIconEngine::PixelArtIconEngine(const QString& file) : m_art(std::make_shared<const PixelArt>(file))
{
}

QSize PixelArtIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    const int side = std::min(size.width(), size.height());
    return m_art->IsNull() || side <= 0 ? QSize() : QSize(side, side);
}

QPixmap PixelArtIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    // Every mode shows the same picture: the program shows none disabled.
    const int side = actualSize(size, mode, state).width();
    if (side <= 0)
        return {};
    const auto found = m_pixmaps.find(side);
    if (found != m_pixmaps.end())
        return found->second;
    return m_pixmaps.emplace(side, QPixmap::fromImage(m_art->At(side))).first->second;
}

void PixelArtIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap picture = pixmap(rect.size() * ratio, mode, state);
    if (picture.isNull())
        return;
    picture.setDevicePixelRatio(ratio);
    const QSize shown = picture.size() / ratio;
    painter->drawPixmap(QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2,
                                                      (rect.height() - shown.height()) / 2),
                              shown),
                        picture);
}

QList<QSize> PixelArtIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> sizes;
    if (!m_art->IsNull()) {
        for (const int side : kPanelSizes)
            sizes.append(QSize(side, side));
    }
    return sizes;
}

bool PixelArtIconEngine::isNull()
{
    return m_art->IsNull();
}

QIconEngine* PixelArtIconEngine::clone() const
{
    return new PixelArtIconEngine(*this);
}

QString PixelArtIconEngine::key() const
{
    return QStringLiteral("VostrelPixelArt");
}

} // namespace vostrel::res
