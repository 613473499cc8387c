#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

// One frame of a file as the encoder gives it: as it is, or through the picture chain of a
// conversion (what the argument builder's PictureChain returns for that file).
struct TPreviewFrame {
    enum class TFailure { None, NoEncoder, NoFrame, Stopped };
    QByteArray Png; // the frame, in the output's own pixels
    QSize Size;     // those pixels
    double Sar = 1; // the width one pixel shows at (the sample aspect ratio)
    TFailure Failure = TFailure::None;
    QString Error; // the encoder's own words when it gave no frame
    // The size it shows at: its width times the sample aspect ratio.
    QSize DisplaySize() const;
};

// Where the frame is taken: at the moment, the first one, or a second before the end.
enum class TPreviewFrom { Moment, Start, End };
// The encoder's arguments for the frame at `seconds` through `chain` (empty: as it is), written
// as PNG to its output.
QStringList PreviewArguments(const QString& file, double seconds, const QStringList& chain,
                             TPreviewFrom from = TPreviewFrom::Moment);
// The frame and what the encoder said about it, from its output (messages and the PNG in one
// stream).
TPreviewFrame ParsePreviewOutput(const QByteArray& output);
// Runs the encoder for one frame; a moment before the first frame gives the first, one past the
// end the last frames. `stopped` is asked while it runs: true ends the encoder at once.
TPreviewFrame RenderPreviewFrame(const QString& ffmpeg, const QString& file, double seconds,
                                 const QStringList& chain,
                                 const std::function<bool()>& stopped = {});
