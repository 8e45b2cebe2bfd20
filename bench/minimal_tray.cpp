// The smallest Qt 6 tray program that does what Vostrel's tray icon does
// while counting: an icon and a tooltip refreshed every second. Benchmarks
// compare Vostrel's start-up, memory and idle cost with it.
#include <QApplication>
#include <QDateTime>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QPixmap picture(32, 32);
    picture.fill(Qt::white);
    QPainter(&picture).drawEllipse(2, 2, 28, 28);
    QSystemTrayIcon icon{QIcon(picture)};
    const auto refresh = [&icon] { icon.setToolTip(QDateTime::currentDateTime().toString("hh:mm:ss")); };
    refresh();
    icon.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, refresh);
    timer.start(1000);
    return application.exec();
}
