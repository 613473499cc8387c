#pragma once

#include "encoding/Profiles.h"

#include <QString>

// Colours of the owner-drawn resolution list and profile chooser, and of texts the program
// colours itself, with the rules that keep them readable on a dark palette.

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

// The contrast ratio of two colours as the web's accessibility guidelines define it, 1 to 21.
double ContrastRatio(const TRgb& a, const TRgb& b);
// A background a light text is meant for (relative luminance under 0.2: a dark palette's).
bool IsDark(const TRgb& background);
// `text` when it reads on `background` with a contrast of at least 4.5:1, else the colour on
// its way to black or white (whichever reads better there) that first does.
TRgb ReadableText(const TRgb& text, const TRgb& background);
// The colours as they are on a light palette; on a dark one with the text made readable.
TItemColors ForPalette(const TItemColors& colors, bool darkPalette);
