#pragma once

#include "filelist/VideoFileInfo.h"

#include <QString>
#include <QStringList>

class IConsoleObserver;

// A probe that writes nothing for this long is ended: a file that keeps the encoder waiting must
// not keep the program waiting.
inline constexpr int ProbeStallTimeoutMs = 20000;

struct TProbeOptions {
    IConsoleObserver* Observer = nullptr; // serviced while the encoder runs
    int StallTimeoutMs = ProbeStallTimeoutMs;
};

// The full analysis of one file: the encoder's description of it, then MediaInfo, then the
// derived video stream size. `info` is replaced. Only regular files are analysed; for anything
// else (or without an encoder) `info` holds the name and size alone.
void GetVideoFileInfo(const QString& fileName, const QString& ffmpegExe,
                      const QString& mediaInfoDll, TVideoFileInfo& info,
                      const TProbeOptions& options = {});

// The parts of the analysis that work on text and numbers alone.
void ParseProbeOutput(const QStringList& lines, TVideoFileInfo& info);
void DeriveVideoStreamSize(TVideoFileInfo& info);

// "hh:mm:ss.ff" in seconds; 0 for a text without ":".
double TimeStrToSeconds(const QString& text);

// Appends the trimmed items between separators to `list`; empty items between separators are
// kept, an empty remainder after the last separator is not.
void SplitString(const QString& text, QStringList& list, QChar separator);
