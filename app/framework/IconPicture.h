#pragma once

#include <QLabel>

namespace vostrel {

// A picture control showing an icon at the standard size, centred, that
// reports clicks when its template asks for it.
class IconPicture : public QLabel {
    Q_OBJECT
public:
    static constexpr int kIconSize = 32; // the standard icon size

    IconPicture(const QIcon& icon, bool reportsClicks, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_reportsClicks;
};

} // namespace vostrel
