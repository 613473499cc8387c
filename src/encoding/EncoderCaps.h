#pragma once

#include <QString>

// The encoder the AAC row uses with this encoder program: "libfdk_aac" when the program has it,
// otherwise its own "aac" (Linux builds of FFmpeg seldom carry libfdk_aac). Asked once per
// encoder path; later calls answer from memory.
QString AacEncoderFor(const QString& ffmpegExe);

// The encoder's own description of its options ("ffmpeg -h long"), lines joined by LF; empty when
// the encoder cannot be run.
QString EncoderLongHelp(const QString& ffmpegExe);
