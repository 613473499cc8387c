#pragma once

#include "encoding/EncoderSettings.h"
#include "filelist/VideoFileInfo.h"

#include <QStringList>

struct TAppStrings;

// What a finished output must hold, learned from the settings and the input's analysis.
struct TOutputExpectation {
    bool Video = false; // the input has video and the settings keep it
    bool Audio = false; // the input has audio and the settings keep it
    double Seconds = 0; // the input's duration; 0 when it is unknown or the settings cut it
    bool Checked() const { return Video || Audio || Seconds > 0; }
};

TOutputExpectation ExpectedOutput(const TEncoderSettings& settings, const TVideoFileInfo& input);

// How far an output may differ from the input's duration: a second, or 2 % of a long input.
double DurationTolerance(double inputSeconds);

// What the output lacks against the expectation, one sentence each; empty when it is whole.
QStringList OutputDifferences(const TOutputExpectation& expected, const TVideoFileInfo& output,
                              const TAppStrings& strings);
