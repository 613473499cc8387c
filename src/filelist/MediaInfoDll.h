#pragma once

#include "filelist/VideoFileInfo.h"

#include <QHash>
#include <QString>
#include <optional>

// The MediaInfo library, loaded at run time through its wide-character C interface. Once loaded
// it stays loaded; a later call with another path keeps using it.
bool LoadMediaInfoLibrary(const QString& libraryPath);

// Adds to `info` what MediaInfo reports on `fileName`; fields it does not report keep their
// values. Does nothing when the library or the file is missing, empty or cannot be opened. With a
// helper program set (UseMediaInfoHelper) the library reads the file in a helper process, so a
// file that crashes or hangs the library costs only its own MediaInfo report.
void ReadMediaInfo(const QString& fileName, const QString& libraryPath, TVideoFileInfo& info);

// Everything the library answered on one file, in a form that crosses a process boundary.
struct TMediaInfoAnswers {
    bool Opened = false;            // the library opened the file
    QString Inform;                 // its whole text report
    QHash<QString, QString> Values; // "kind/number/parameter" to every non-empty value asked
    TMediaInfoFailure Failure =
        TMediaInfoFailure::None; // why there are none, when the helper failed
    int32_t FailureValue = 0;
};
// Reads the file with the library in this process.
TMediaInfoAnswers AskMediaInfo(const QString& fileName, const QString& libraryPath);
// Adds the answers to `info` exactly as reading the file in this process would; a failure is
// kept in the record, for the report to tell.
void ApplyMediaInfoAnswers(const TMediaInfoAnswers& answers, TVideoFileInfo& info);
QByteArray SerializeMediaInfoAnswers(const TMediaInfoAnswers& answers);
// Nothing when the bytes are not one complete record.
std::optional<TMediaInfoAnswers> DeserializeMediaInfoAnswers(const QByteArray& bytes);

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
