#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Writes `bytes` to `path`, creating missing folders; fails the test when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// A temporary folder that is removed with the test; Write gives every file a new name.
class TScratchDir {
public:
    QString Path(const QString& name) const;
    QString Write(const QByteArray& bytes);
    QString Root() const;

private:
    QTemporaryDir Dir;
    int Count = 0;
};

struct TProcessResult {
    int ExitCode = -1;
    QString Out;
    QString Err;
};
// Runs a program to its end (at most 60 s) and returns what it printed.
TProcessResult RunProgram(const QString& program, const QStringList& args,
                          const QString& workingDir = {});
