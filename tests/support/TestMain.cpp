// Runs the Qt tests on Qt's offscreen platform unless told otherwise, with a session bus of their own and the
// fonts the tests are measured in.
#include "tests/support/PrivateBus.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("FONTCONFIG_FILE", VOSTREL_TEST_FONTS);
    const vostrel::test::PrivateBus bus;
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
