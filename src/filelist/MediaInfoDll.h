#pragma once

#include "filelist/VideoFileInfo.h"

#include <QString>

// The MediaInfo library, loaded at run time through its wide-character C interface. Once loaded
// it stays loaded; a later call with another path keeps using it.
bool LoadMediaInfoLibrary(const QString& libraryPath);

// Adds to `info` what MediaInfo reports on `fileName`; fields it does not report keep their
// values. Does nothing when the library or the file is missing, empty or cannot be opened.
void ReadMediaInfo(const QString& fileName, const QString& libraryPath, TVideoFileInfo& info);

// Conversion rules for MediaInfo's texts, shared by every field.
// A decimal value written with "." or "," as its mark.
bool MediaInfoDecimal(const QString& text, double* value);
// An audio stream's bit rate in kbit/s from its "BitRate" (one rate, or two separated by "/")
// and "BitRate_Mode" texts; `current` stays when the text gives no rate.
int32_t MediaInfoAudioBitrate(const QString& bitRate, const QString& mode, int32_t current);
// The parts of a MediaInfo size text such as "10.5 MiB (85%)".
void ParseStreamSizeText(const QString& text, QString* sizeText, uint8_t* percent);

// The library's own version text ("MediaInfoLib - v22.12"); empty when it cannot be loaded.
QString MediaInfoVersion(const QString& libraryPath);
