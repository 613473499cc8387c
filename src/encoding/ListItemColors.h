#pragma once

#include "encoding/Profiles.h"

#include <QString>

// Colours of the owner-drawn resolution list and profile chooser.

struct TItemColors {
    TRgb Background;
    TRgb Text;
    bool operator==(const TItemColors&) const = default;
};

// Each of red, green and blue changed by that percentage of itself, clamped to 0..255.
TRgb Lighter(const TRgb& c, int percent);
TRgb Darker(const TRgb& c, int percent);

// An entry of the resolution list by its category: percentages, 16:9, 4:3, Custom, the rest.
TItemColors ResolutionItemColors(const QString& text, int index);

// An item of the profile chooser: items 0 and 1, or a profile entry with its own colours.
TItemColors ProfileItemColors(const TProfileInfo* profile);
