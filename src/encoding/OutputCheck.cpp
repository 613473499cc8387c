#include "encoding/OutputCheck.h"

#include "localisation/AppStrings.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Options of the encoder that end the output before the input ends.
bool CutsTheDuration(const QStringList& additionalParams) {
    static const QStringList cutting = {u"-t"_s,       u"-to"_s,       u"-ss"_s,
                                        u"-sseof"_s,   u"-frames"_s,   u"-vframes"_s,
                                        u"-aframes"_s, u"-shortest"_s, u"-fs"_s};
    for (const QString& line : additionalParams)
        for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
            if (cutting.contains(word) || word.startsWith(u"-frames:"_s) ||
                word.startsWith(u"-t:"_s))
                return true;
    return false;
}

QString SecondsText(double seconds) {
    return QString::number(seconds, 'f', 1);
}

} // namespace

TOutputExpectation ExpectedOutput(const TEncoderSettings& settings, const TVideoFileInfo& input) {
    TOutputExpectation expected;
    expected.Video = input.NumberOfVideoStreams > 0 && !settings.DoNotCopyVideo();
    expected.Audio = input.NumberOfAudioStreams > 0 && !settings.Audio.DoNotCopyAudio;
    if (!CutsTheDuration(settings.Advanced.AdditionalParams))
        expected.Seconds = input.DurationSeconds();
    return expected;
}

double DurationTolerance(double inputSeconds) {
    return std::max(1.0, inputSeconds * 0.02);
}

QStringList OutputDifferences(const TOutputExpectation& expected, const TVideoFileInfo& output,
                              const TAppStrings& strings) {
    QStringList differences;
    if (expected.Video && output.NumberOfVideoStreams == 0)
        differences.append(strings.Main.OutputNoVideo);
    if (expected.Audio && output.NumberOfAudioStreams == 0)
        differences.append(strings.Main.OutputNoAudio);
    const double seconds = output.DurationSeconds();
    if (expected.Seconds > 0 &&
        std::abs(seconds - expected.Seconds) > DurationTolerance(expected.Seconds))
        differences.append(FormatCatalogText(strings.Main.OutputDuration, SecondsText(seconds),
                                             SecondsText(expected.Seconds)));
    return differences;
}
