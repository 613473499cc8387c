#pragma once

#include "encoding/EncoderSettings.h"

#include <QList>
#include <QString>
#include <optional>

struct TAppStrings;

struct TRgb {
    int R = 255, G = 255, B = 255;
    bool operator==(const TRgb&) const = default;
};

// One entry of the profile list.
struct TProfileInfo {
    QString ShortFileName; // with extension, without folder
    QString DisplayName;
    double SortIndex = -1;
    QString ProfileType; // not used
    TRgb BgColor;
    TRgb FontColor;
    QString FileName; // the whole path
};

// What loading needs to know about the program and its lists.
struct TProfileContext {
    const TAppStrings& Strings;
    int DefaultVideoCodecIndex = 0;
    int ResolutionItemCount = 17; // Auto, Custom and the list's entries
};

// Writes the settings (all but the audio track) to a profile file; keys the writer does not know
// stay as they are. False, with the reason, when the file cannot be written.
bool SaveProfile(const TEncoderSettings& settings, const QString& presetFile,
                 const TAppStrings& strings, QString* error = nullptr);
// Reads a profile file over the settings; a missing file changes nothing.
void LoadProfile(TEncoderSettings& settings, const QString& presetFile,
                 const TProfileContext& context);

// The colour texts of the profile list: "#RRGGBB", "#RGB", "$BBGGRR" or hexadecimal with a
// letter, "R, G, B"; nothing when no rule accepts the text.
std::optional<TRgb> ParseColorText(const QString& text);

// Appends the profile file's entry; false when it does not exist or is not a profile of this
// program and version.
bool AP_AddProfile(QList<TProfileInfo>& list, const QString& fileName);
// Sorts by SortIndex with the list's own quicksort (not stable; its order is what users see).
void SortProfiles(QList<TProfileInfo>& list);
// The profiles of the user's folder and of the shipped folder (when it is another), sorted; a
// user's profile hides a shipped one of the same file name, and the last-session profile is never
// among them.
QList<TProfileInfo> GetProfiles(const QString& profilesDir, const QString& lastProfileFile,
                                const QString& shippedProfilesDir = {});
// The list item text of an entry: backslash-n and backslash-t expanded.
QString ProfileItemText(const TProfileInfo& profile);
