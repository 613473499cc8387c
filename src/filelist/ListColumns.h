#pragma once

#include <QString>
#include <array>
#include <string_view>

// The 29 columns of the file list, in their default order (position 0 first).
struct TListColumn {
    const char16_t* Name; // "colNo"; the settings keys are formed from it
    int DefaultWidth;
    bool DefaultVisible;
    bool Hideable; // has a visibility action and a "_Visible" key
};

inline constexpr int ListColumnCount = 29;

// clang-format off
inline constexpr std::array<TListColumn, ListColumnCount> ListColumns{{
    {u"colNo", 40, true, true},
    {u"colActive", 34, true, false},
    {u"colIcon", 24, true, true},
    {u"colFileName", 220, true, false},
    {u"colDirectory", 180, true, true},
    {u"colSize", 70, true, true},
    {u"colDuration", 70, true, true},
    {u"colVideo", 120, true, true},
    {u"colVideoCodec", 80, false, true},
    {u"colVideoCodecID", 80, false, true},
    {u"colVideoProfile", 80, false, true},
    {u"colVideoBitrate", 80, false, true},
    {u"colVideoWidth", 80, false, true},
    {u"colVideoHeight", 80, false, true},
    {u"colVideoResolution", 80, false, true},
    {u"colVideoDisplayAspect", 80, false, true},
    {u"colVideoFPS", 80, false, true},
    {u"colVideoBpp", 80, false, true},
    {u"colVideoScanType", 80, false, true},
    {u"colVideoStreamSize", 80, false, true},
    {u"colAudio", 120, true, true},
    {u"colAudioCodec", 80, false, true},
    {u"colAudioCodecID", 80, false, true},
    {u"colAudioProfile", 80, false, true},
    {u"colAudioBitrate", 80, false, true},
    {u"colAudioChannels", 80, false, true},
    {u"colAudioSampling", 80, false, true},
    {u"colAudioStreamSize", 80, false, true},
    {u"colStatus", 90, true, true},
}};
// clang-format on

// The order in which the settings file lists the columns' keys: the status column follows the
// duration there.
inline constexpr std::array<int, ListColumnCount> ListColumnKeyOrder{
    0,  1,  2,  3,  4,  5,  6,  28, 7,  8,  9,  10, 11, 12, 13,
    14, 15, 16, 18, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27};

// The place of a column in the default order ("colDirectory": 4); -1 for no such column.
constexpr int ListColumnIndex(std::u16string_view name) {
    for (int i = 0; i < ListColumnCount; ++i)
        if (name == ListColumns[size_t(i)].Name)
            return i;
    return -1;
}
