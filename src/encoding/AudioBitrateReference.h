#pragma once

#include <QString>
#include <array>

// Which audio bitrates each encoder accepts at each sampling rate, as a text file users read.

inline constexpr std::array<int, 22> StandardAudioBitrates = {
    8,   16,  24,  32,  40,  48,  56,  64,  80,  96,  112,
    128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640};

struct TAudioBitrateEntry {
    int SamplingRate = 0;
    QString Label; // six characters: " MP3: " ... "WMA2: "
    int Lowest = 0;
    int Highest = 0;
    std::array<bool, StandardAudioBitrates.size()> Valid{};
};

// The 36 entries, by sampling rate and then encoder; built once.
const std::array<TAudioBitrateEntry, 36>& AudioBitrateReference();

// The reference text: lines ended by CR LF.
QString AudioBitrateReferenceText();
// Writes it to `fileName` (replacing it); false with the reason when that fails.
bool WriteAudioBitrateReference(const QString& fileName, QString* error = nullptr);
