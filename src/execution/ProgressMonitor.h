#pragma once

#include "execution/ConRun.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <cstdint>

struct TAppStrings;

// Reading the encoder's output during a conversion: what it has done, how fast, and how far.

// Removes banner lines, known harmless warnings and empty lines, in place.
void FilterEncoderOutput(QStringList& lines);

// The fields of the encoder's progress line, from the topmost entry that carries each.
struct TProgressValues {
    int Frame = 0;
    QString FpsText;
    QString SpeedText; // HTML
    QString SizeText;  // HTML
    // An entry "Multiple frames in a packet from stream" stops the reading for this line.
    bool Stopped = false;
};
TProgressValues ScanProgress(const QStringList& lines);

// Percentage of `frame` against the estimated frame count (halves to even), 0..100.
int ProgressPercent(int frame, uint32_t estimatedFrames);

// Where the batch is: shared by the driver and the monitor.
struct TBatchPosition {
    int BatchFileCount = 0;
    int BatchFileNo = 0;
    int CurrentPass = 1;
    bool TwoPassMode = false;
    bool NoVideoOutput = false;
};

// The status line, as the progress window's HTML label shows it.
QString StatusLineHtml(const TProgressValues& values, const TBatchPosition& position,
                       uint32_t estimatedFrames, const TAppStrings& strings);

// The flags by which the user's Abort reaches a running batch.
struct TAbortState {
    bool ConversionRunning = false;
    bool AbortRequested = false;
    bool TerminateRequested = false;

    bool Aborted() const { return AbortRequested || TerminateRequested; }
    // The Abort action: asks the encoder to stop ("q") and starts the grace period. Does nothing
    // when an abort is already under way or no batch runs; returns whether it started one.
    bool RequestAbort();
    // Ends the grace period once 2500 ms have passed: from then on the encoder is terminated.
    void Tick();
    // End of a batch: the grace period stops and both flags clear, so that no later probe of
    // the encoder is terminated by an abort that is over.
    void Reset();

    static constexpr int GracePeriodMs = 2500;

private:
    QElapsedTimer GracePeriod;
};

// What the monitor shows; the progress window and the command-line tool implement it.
class IProgressView {
public:
    virtual ~IProgressView() = default;
    // Lets the user interface handle what is pending (Abort among it).
    virtual void ProcessEvents() = 0;
    virtual bool EncoderOutputHidden() const = 0;
    virtual void ShowStatusLine(const QString& html) = 0;
    // Only called with a percentage above 0.
    virtual void ShowProgress(int percent, const QString& appTitle, const QString& caption) = 0;
    virtual void ShowEncoderOutput(const QString& text) = 0;
};

// Follows a conversion run line by line: services the user interface, carries out the second
// stage of an abort, filters the output and redraws status, percentage and titles.
class TProgressMonitor : public IConsoleObserver {
public:
    TProgressMonitor(QStringList& encoderOutputLines, TAbortState& abort,
                     const TBatchPosition& position, const uint32_t& estimatedFrames,
                     const QString& ffmpegExe, const TAppStrings& strings, IProgressView& view)
        : Lines(encoderOutputLines), Abort(abort), Position(position),
          EstimatedFrames(estimatedFrames), FFmpegExe(ffmpegExe), Strings(strings), View(view) {}

    void OnConsoleLine(const QString& line) override;
    void OnConsoleIdle() override;

private:
    void TerminateIfRequested();

    QStringList& Lines;
    TAbortState& Abort;
    const TBatchPosition& Position;
    const uint32_t& EstimatedFrames;
    QString FFmpegExe;
    const TAppStrings& Strings;
    IProgressView& View;
};

// The status texts use <font bgcolor=... color=...> badges, which Qt's rich text does not draw:
// the same text with each such font tag as a <span> whose style carries the two colours.
QString BadgesAsStyledSpans(const QString& html);
