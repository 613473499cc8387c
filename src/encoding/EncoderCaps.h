#pragma once

#include <QString>

// The encoder the AAC row uses with this encoder program: "libfdk_aac" when the program has it,
// otherwise its own "aac" (Linux builds of FFmpeg seldom carry libfdk_aac). Asked once per
// encoder path; later calls answer from memory.
QString AacEncoderFor(const QString& ffmpegExe);
