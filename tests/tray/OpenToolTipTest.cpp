// XEmbed's tooltip, open while the tip changes.
#include "OpenToolTip.h"

#include <QApplication>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace vostrel {
namespace {

TEST(OpenToolTip, ShowsTheNewTipInPlaceOfTheOldOnly)
{
    QCursor::setPos(300, 200);
    QToolTip::showText(QPoint(300, 200), "   10 Hrs");
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000));
    const auto label = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->inherits("QTipLabel"))
                return widget;
        }
        return static_cast<QWidget*>(nullptr);
    };
    ASSERT_NE(label(), nullptr);
    const QPoint place = label()->pos();

    ReplaceOpenToolTip("   10 Hrs", "    9 Hrs");
    EXPECT_EQ(QToolTip::text(), "    9 Hrs");
    EXPECT_EQ(label()->pos(), place);
    ReplaceOpenToolTip("Another tip", "    8 Hrs"); // someone else's tooltip
    EXPECT_EQ(QToolTip::text(), "    9 Hrs");

    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
    ReplaceOpenToolTip("    9 Hrs", "    8 Hrs"); // a closed tooltip stays closed
    EXPECT_FALSE(QToolTip::isVisible());
}

} // namespace
} // namespace vostrel
