#pragma once

#include "resources/PixelArt.h"

#include <QIconEngine>
#include <QPixmap>

#include <map>
#include <memory>

namespace vostrel::res {

// A QIcon of 16-colour pixel art that stays crisp at every size: Qt's own
// engine smooths every size it was not given, which blurs the window's icon
// on a panel and the XEmbed tray icon. Each size is worked out once: the
// alarm changes the tray icon ten times a second.
class PixelArtIconEngine final : public QIconEngine {
public:
    explicit PixelArtIconEngine(const QString& file);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    // The sizes panels draw icons at, so that a window manager that is
    // handed the window's icon at a list of sizes has big crisp ones too.
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    std::shared_ptr<const PixelArt> m_art;
    std::map<int, QPixmap> m_pixmaps;
};

} // namespace vostrel::res
