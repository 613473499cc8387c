#pragma once

#include <QByteArray>
#include <QString>

// The update check: where the version information lies and what its answer means.

// Only this much of the answer is read.
inline constexpr qsizetype UpdateAnswerLimit = 1024;
// An answer that takes longer than this counts as no connection.
inline constexpr int UpdateTimeoutMs = 15000;

// The address of the version information; the environment variable ZORVANE_UPDATE_URL overrides
// it (tests point it at a server of their own).
QString UpdateInformationAddress();

// Dotted version numbers compared as numbers: 1.9 < 1.14 < 1.15 < 2.0. Negative, zero or
// positive like strcmp; parts that are not numbers compare as text.
int CompareVersions(const QString& a, const QString& b);

enum class TUpdateOutcome { ConnectionFailed, CannotCheck, NoUpdates, UpdateAvailable };

struct TUpdateAnswer {
    TUpdateOutcome Outcome = TUpdateOutcome::ConnectionFailed;
    QString LatestVersion;
    QString ReleaseDate;
};

// What the downloaded bytes say against the running version: the first 1,024 bytes up to the
// first zero byte, read as an INI text with the section VersionInfo (letter case ignored). Empty
// bytes mean no connection. A published version that is not newer means no updates.
TUpdateAnswer EvaluateUpdateAnswer(const QByteArray& bytes, const QString& runningVersion);
