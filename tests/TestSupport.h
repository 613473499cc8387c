#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writes `bytes` to `path`, creating missing folders; fails the test when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

struct TProcessResult {
    int ExitCode = -1;
    QString Out;
    QString Err;
};
// Runs a program to its end (at most 60 s) and returns what it printed.
TProcessResult RunProgram(const QString& program, const QStringList& args,
                          const QString& workingDir = {});
