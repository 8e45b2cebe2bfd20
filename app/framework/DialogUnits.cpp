#include "app/framework/DialogUnits.h"

#include "resources/Latin1.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

namespace vostrel {
namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int ScaleRounded(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) : m_font(font)
{
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Average of the 52 letters, rounded to the nearest pixel.
    m_base = QSize((letters / 26 + 1) / 2, metrics.height());
}

QFont DialogUnits::DialogFont(const res::DialogTemplate& dialog)
{
    const QString face = FromLatin1(dialog.fontFace);
    QFont font(face, dialog.pointSize);
    if (QFontInfo(font).family().compare(face, Qt::CaseInsensitive) != 0) {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
        font.setPointSize(dialog.pointSize);
    }
    return font;
}

void DialogUnits::WidenToFit(int neededPixels, int widthInUnits)
{
    if (widthInUnits <= 0)
        return;
    const int needed = (neededPixels * 4 + widthInUnits - 1) / widthInUnits;
    m_base.setWidth(std::max(m_base.width(), needed));
}

QRect DialogUnits::ToPixels(const res::DialogRect& rect) const
{
    const QSize size = ToPixels(rect.width, rect.height);
    return {ScaleRounded(rect.x, m_base.width(), 4), ScaleRounded(rect.y, m_base.height(), 8), size.width(),
            size.height()};
}

QSize DialogUnits::ToPixels(int width, int height) const
{
    return {ScaleRounded(width, m_base.width(), 4), ScaleRounded(height, m_base.height(), 8)};
}

} // namespace vostrel
