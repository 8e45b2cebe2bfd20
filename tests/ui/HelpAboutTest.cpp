#include "HelpText.h"
#include "Messages.h"
#include "ResourceIds.h"
#include "UiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vostrel {
namespace {

TEST(HelpText, JoinsTheTenFragmentsExactly)
{
    const std::string text = HelpText();
    // The fixed fragments, by their lengths and their edges.
    const std::size_t lengths[] = {166, 263, 144};
    std::size_t at = 0;
    for (std::size_t length : lengths)
        at += length;
    EXPECT_EQ(text.substr(0, 74),
              "I wrote this utility to count down the time I had left before I retired. \n");
    EXPECT_EQ(text.substr(166, 5), " You ");
    EXPECT_EQ(text.substr(at, 10), " also a \nd");
    const std::string fixedTail = " If you select Update by right clicking on the icon in the tray, \n";
    const std::size_t fifth = text.find(fixedTail);
    ASSERT_NE(fifth, std::string::npos);
    EXPECT_EQ(text.substr(fifth - 2, 2), "\n\n"); // fragment 4 ends with two line feeds
    const std::size_t tenth = fifth + 226 + 82 + 64 + 90 + 150;
    EXPECT_EQ(text.substr(tenth - 3, 4), "\n\n\n ");
    EXPECT_EQ(text.substr(fifth + 226, 4), " tra");
    EXPECT_NE(text.find(" +HH:MM \nExample: +3:45 is 3 hours and 45 minutes from now. \n"),
              std::string::npos);
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(text.find('\n', tenth), std::string::npos); // fragment 10 is one line
    EXPECT_NE(text.find("CSystemTray", tenth), std::string::npos);
}

TEST(Messages, CaptionIsTheApplicationsNameWithOneOkButton)
{
    QtMessages messages;
    const QString name = QApplication::applicationName();
    QApplication::setApplicationName("Timekeeper");
    for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
        QString title;
        int buttons = -1;
        bool hasIcon = true;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            buttons = static_cast<int>(box->buttons().size());
            hasIcon = box->icon() != QMessageBox::NoIcon;
            QTest::keyClick(box, key);
        });
        messages.Show(nullptr, "text");
        EXPECT_EQ(title, "Timekeeper");
        EXPECT_EQ(buttons, 1);
        EXPECT_FALSE(hasIcon);
    }
    QApplication::setApplicationName(name);
}

} // namespace
} // namespace vostrel
