#include "platform/gui/TableGridLook.h"

#include <algorithm>
#include <cmath>

namespace tollivex::platform {

namespace {
constexpr double kReadable = 4.5;

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double Luminance(const QColor& colour)
{
    return 0.2126 * Linear(colour.red()) + 0.7152 * Linear(colour.green()) + 0.0722 * Linear(colour.blue());
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& back, const QColor& wanted)
{
    if (wanted.isValid() && ContrastRatio(back, wanted) >= kReadable)
        return wanted;
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return ContrastRatio(back, black) >= ContrastRatio(back, white) ? black : white;
}

QColor ReadableHighlight(const QColor& highlight, const QColor& text)
{
    QColor bar = highlight;
    const bool lightText = Luminance(text) > 0.5;
    for (int step = 0; step < 20 && ContrastRatio(bar, text) < kReadable; ++step)
        bar = lightText ? bar.darker(110) : bar.lighter(110);
    return bar;
}

} // namespace tollivex::platform
