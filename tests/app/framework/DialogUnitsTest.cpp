// Dialog units against the font's own measures, at many sizes so that both
// halves of every rounding come up whatever fonts the machine has.
#include "app/framework/DialogUnits.h"

#include <QtGui>

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

QFont SansAt(int pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    return font;
}

TEST(DialogUnits, TheAverageLetterIsRoundedToTheNearestPixelAndWideningFitsTheTextWithoutCuttingAPixel)
{
    int roundedUp = 0;
    for (int size = 6; size <= 40; ++size) {
        const QFont font = SansAt(size);
        const double letters = QFontMetrics(font).horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        const double average = letters / 52;
        const DialogUnits units(font);
        EXPECT_EQ(units.BaseUnits().width(), std::lround(average)) << size << " px: " << average;
        EXPECT_EQ(units.BaseUnits().height(), QFontMetrics(font).height());
        roundedUp += average - std::floor(average) >= 0.5;
    }
    // Some size must have had its average rounded up, or nothing was shown.
    EXPECT_GT(roundedUp, 0);

    // A control widened to fit its text is at least as wide as the text.
    for (int units = 7; units <= 90; units += 7) {
        for (int needed = 40; needed <= 400; needed += 13) {
            DialogUnits dialog(SansAt(6));
            dialog.WidenToFit(needed, units);
            const int width = dialog.ToPixels(units, 8).width();
            EXPECT_GE(width, needed) << needed << " px in " << units << " units";
            // Only as much wider as one step of the widened unit.
            if (dialog.BaseUnits().width() > DialogUnits(SansAt(6)).BaseUnits().width()) {
                EXPECT_LE(width, needed + (units + 3) / 4) << needed << " px in " << units << " units";
            }
        }
    }
    // Widening never narrows.
    DialogUnits dialog(SansAt(30));
    const int before = dialog.BaseUnits().width();
    dialog.WidenToFit(1, 40);
    EXPECT_EQ(dialog.BaseUnits().width(), before);
}

} // namespace
