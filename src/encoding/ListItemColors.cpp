#include "encoding/ListItemColors.h"

#include <algorithm>
#include <cmath>

namespace {

int Scale(int component, int percent) {
    return std::clamp(component + component * percent / 100, 0, 255);
}

constexpr TRgb White{255, 255, 255};
constexpr TRgb Black{0, 0, 0};

} // namespace

TRgb Lighter(const TRgb& c, int percent) {
    return {Scale(c.R, percent), Scale(c.G, percent), Scale(c.B, percent)};
}

TRgb Darker(const TRgb& c, int percent) {
    return {Scale(c.R, -percent), Scale(c.G, -percent), Scale(c.B, -percent)};
}

TItemColors ResolutionItemColors(const QString& text, int index) {
    if (text.contains(u'%'))
        return {{0xFB, 0xF4, 0xC6}, Black};
    if (text.contains(u"16:9") || text.contains(u"16/9"))
        return {{0x43, 0x7E, 0x5A}, {0xF0, 0xF0, 0xF0}};
    if ((text.contains(u"4:3") || text.contains(u"4/3")) && !text.contains(u"64"))
        return {{0xE8, 0xC1, 0xC1}, {0x14, 0x14, 0x14}};
    if (index == 1)
        return {{0x5B, 0x5B, 0x5B}, {0xDC, 0xDC, 0xDC}};
    return {{0xF8, 0xF8, 0xF8}, Black};
}

namespace {

double Linear(int component) {
    const double c = component / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const TRgb& c) {
    return 0.2126 * Linear(c.R) + 0.7152 * Linear(c.G) + 0.0722 * Linear(c.B);
}

TRgb Mix(const TRgb& from, const TRgb& to, double share) {
    const auto mix = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return {mix(from.R, to.R), mix(from.G, to.G), mix(from.B, to.B)};
}

} // namespace

double ContrastRatio(const TRgb& a, const TRgb& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDark(const TRgb& background) {
    return Luminance(background) < 0.2;
}

TRgb ReadableText(const TRgb& text, const TRgb& background) {
    constexpr double Wanted = 4.5;
    if (ContrastRatio(text, background) >= Wanted)
        return text;
    const TRgb target =
        ContrastRatio(White, background) >= ContrastRatio(Black, background) ? White : Black;
    for (int step = 1; step <= 20; ++step) {
        const TRgb mixed = Mix(text, target, step / 20.0);
        if (ContrastRatio(mixed, background) >= Wanted)
            return mixed;
    }
    return target;
}

TItemColors ForPalette(const TItemColors& colors, bool darkPalette) {
    if (!darkPalette)
        return colors;
    return {colors.Background, ReadableText(colors.Text, colors.Background)};
}

TItemColors ProfileItemColors(const TProfileInfo* profile) {
    TItemColors colors{{242, 235, 243}, Black};
    if (profile && !(profile->BgColor == White && profile->FontColor == White))
        colors = {profile->BgColor, profile->FontColor};
    if (colors.Background == colors.Text)
        colors = {{51, 51, 51}, {230, 230, 230}};
    return colors;
}
