// Vostrel: a countdown timer that lives in the notification area.
#include "CountdownApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pelmark"));
    // The window is hidden most of its life: only the end of its modal run
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    vostrel::CCountdownApp().InitInstance();
    return 0;
}
