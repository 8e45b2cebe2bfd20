#pragma once

#include "resources/Templates.h"

#include <QFont>
#include <QRect>
#include <QSize>

namespace vostrel {

// Dialog units: a horizontal unit is a quarter of the dialog font's average
// letter width, a vertical unit an eighth of its height, so layouts keep
// their proportions whatever the font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // The 8-point face the templates name where installed, else the
    // system's sans-serif at the same size.
    static QFont DialogFont(const res::DialogTemplate& dialog);

    const QFont& Font() const { return m_font; }
    QSize BaseUnits() const { return m_base; }
    // Widens the horizontal unit so that a control widthInUnits wide is at
    // least neededPixels wide. Fonts other than the templates' own set some
    // texts wider against their average letter; widening every unit alike
    // keeps the layout's proportions while no text is cut off.
    void WidenToFit(int neededPixels, int widthInUnits);
    QRect ToPixels(const res::DialogRect& rect) const;
    QSize ToPixels(int width, int height) const;

private:
    QFont m_font;
    QSize m_base;
};

} // namespace vostrel
