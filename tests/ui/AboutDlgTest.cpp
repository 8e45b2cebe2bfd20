// The About box, a dialog of the window framework's.
#include "ui/AboutDlg.h"
#include "resources/ResourceIds.h"
#include "tests/support/Recorders.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using namespace res;

// The modal run outlives hiding and ends with the dialog.
TEST(AboutBox, CentresOverItsOwnerOrTheScreenWhenTheOwnerIsHidden)
{
    test::RecordingMessages messages;
    QWidget owner;
    owner.setGeometry(10, 10, 100, 100);
    CAboutDlg overScreen(messages, &owner);
    overScreen.Start();
    const QPoint screen = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((overScreen.frameGeometry().center() - screen).manhattanLength(), 8);
    owner.show();
    CAboutDlg overOwner(messages, &owner);
    QPoint centre;
    QTimer::singleShot(0, &overOwner, [&] {
        centre = overOwner.frameGeometry().center();
        overOwner.hide(); // the run goes on with the window hidden
        QTimer::singleShot(0, &overOwner, [&] {
            overOwner.show();
            QTest::mouseClick(overOwner.Item<QPushButton>(IDOK), Qt::LeftButton);
        });
    });
    EXPECT_EQ(overOwner.DoModal(), QDialog::Accepted);
    EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 8);
}

} // namespace
