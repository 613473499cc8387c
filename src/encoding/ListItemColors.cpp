#include "encoding/ListItemColors.h"

#include <algorithm>

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

TItemColors ProfileItemColors(const TProfileInfo* profile) {
    TItemColors colors{{242, 235, 243}, Black};
    if (profile && !(profile->BgColor == White && profile->FontColor == White))
        colors = {profile->BgColor, profile->FontColor};
    if (colors.Background == colors.Text)
        colors = {{51, 51, 51}, {230, 230, 230}};
    return colors;
}
