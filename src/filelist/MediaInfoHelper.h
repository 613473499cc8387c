#pragma once

#include "filelist/MediaInfoDll.h"

#include <QString>

// Reading files with the MediaInfo library in helper processes. The library is outside code: a
// damaged media file can crash it or keep it busy for ever. In a helper, a crash ends only the
// helper (the file gets a MediaInfo report that says so and the next file starts a new helper),
// and a file that takes longer than the time limit has its helper killed.
//
// Each thread that reads files keeps a helper of its own and feeds it file after file, so a
// helper starts once per thread, not once per file. A helper ends when the program ends: it reads
// its requests from a pipe and stops at its end.

// The program that serves as helper (`zorvane-cli`, which runs RunMediaInfoHelper for the
// argument "mediainfo-helper"); empty reads in this process. Set once at start.
void UseMediaInfoHelper(const QString& program);
QString MediaInfoHelperProgram();

inline constexpr int MediaInfoTimeLimitMs = 30000;

// Reads the file with the library in this thread's helper; a failed or slow helper gives answers
// whose Failure says what happened.
TMediaInfoAnswers AskMediaInfoHelper(const QString& fileName, const QString& libraryPath,
                                     int timeLimitMs = MediaInfoTimeLimitMs);

// The helper's side: reads file names ended by a zero byte from standard input and writes the
// answers for each to standard output, until its input ends. Returns the exit status.
int RunMediaInfoHelper(const QString& libraryPath);
