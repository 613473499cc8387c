#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

struct TAppStrings;

// Reading the encoder's output during a conversion: what it has done, how fast, and how far.

// Removes banner lines, known harmless warnings and empty lines, in place.
void FilterEncoderOutput(QStringList& lines);

// Whether a line of the encoder's output says why a run failed ("Invalid data found", "No such
// file", "Permission denied", "Unknown encoder", "Conversion failed", an error, ...).
bool ExplainsFailure(const QString& line);
// Why a run failed, in the encoder's own words: its last lines (at most `most`, in their order)
// that explain a failure or name the input or the output.
QStringList FailureLines(const QStringList& lines, const QString& input, const QString& output,
                         int most = 4);
// The one line that says it best, without the file name it starts with ("garbage.flv: Invalid
// data found when processing input" gives "Invalid data found when processing input").
QString FailureReason(const QStringList& failureLines, const QString& input, const QString& output);

// The fields of the encoder's progress line, from the topmost entry that carries each.
struct TProgressValues {
    int Frame = 0;
    QString FpsText;
    QString SpeedText; // HTML
    QString Speed;     // the same as plain text ("2.00x")
    QString SizeText;  // HTML
    // An entry "Multiple frames in a packet from stream" stops the reading for this line.
    bool Stopped = false;
    double Seconds = -1; // "time=" of the progress line; -1 when none
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

// What a progress display shows of one run after its latest line: the output of the run (in
// `lines`) is filtered in place when the output is shown, then read.
struct TRunDisplay {
    // A "Multiple frames in a packet" entry stops the reading: nothing is redrawn for this line.
    bool Stopped = false;
    int Percent = 0; // above 0 only: the bar and the titles are left alone at 0
    QString StatusHtml;
    QString PaneText; // the output pane: the lines, or "Please wait..." while they are hidden
    TProgressValues Values;
};
TRunDisplay MonitorRunLines(QStringList& lines, bool outputShown, const TBatchPosition& position,
                            uint32_t estimatedFrames, const TAppStrings& strings);

// The titles while a run is at `percent`: the application's ("25% Zorvane ...") and the progress
// window's ("Progress: 25%").
QString ProgressAppTitle(int percent);
QString ProgressCaption(int percent, const TAppStrings& strings);

// How far a whole batch is. Each file that is converted counts with its duration (a file whose
// duration is unknown with the average of the known ones) and the share of it done (0..1).
struct TJobShare {
    double Seconds = 0;
    double Done = 0;
};
struct TBatchOverall {
    int Percent = 0;
    qint64 MsLeft = -1; // -1 while too little is done to tell
};
// `elapsedMs`: time since the batch started; the time left follows the speed so far.
TBatchOverall BatchOverall(const QList<TJobShare>& jobs, qint64 elapsedMs);
// "1:05" or "1:02:03".
QString TimeLeftText(qint64 ms);

// The status texts use <font bgcolor=... color=...> badges, which Qt's rich text does not draw:
// the same text with each such font tag as a <span> whose style carries the two colours.
QString BadgesAsStyledSpans(const QString& html);
