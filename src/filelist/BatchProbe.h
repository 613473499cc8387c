#pragma once

#include "filelist/VideoFileInfo.h"

#include <QList>
#include <QString>
#include <QStringList>

// The encoder describes every input it is given: one run with many "-i" arguments prints one
// "Input #k" block per file, the lines a run with that file alone prints, numbered k instead of 0.
// An input that cannot be opened ends the run; the files after it need a run of their own.

// Inputs per encoder run: enough to spread the start-up cost, few enough for the open files and
// the command line.
inline constexpr int ProbeBatchSize = 32;

// Splits the output of one run over `inputs` into the lines each input's own run would give,
// renumbered to #0. Returns how many inputs the run reached (described or failed); an input that
// failed gets its error lines, those after it nothing.
int SplitBatchProbeOutput(const QStringList& lines, const QStringList& inputs,
                          QList<QStringList>& perInput);

// The encoder's description of each file, in order, running the encoder as few times as it can.
// Safe to call from any thread.
QList<QStringList> ProbeFiles(const QString& ffmpegExe, const QStringList& files,
                              int stallTimeoutMs = 20000);

// The full analysis of a file from its probe lines: description, MediaInfo, derived stream size;
// what GetVideoFileInfo gives for the same file. Safe to call from any thread once the MediaInfo
// library is loaded.
TVideoFileInfo AnalyseFromProbe(const QString& fileName, const QStringList& probeLines,
                                const QString& mediaInfoDll);
