#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The batch's work written as a script instead of run: a Windows batch file (.bat) or a POSIX
// shell script (.sh), chosen by the file's extension. Every path is quoted for its language, so
// that no file name can run a command or change the script.

// Parallel: a job file for GNU parallel, one line per file (absolute paths, every word quoted),
// each line a POSIX shell command that works in a temporary folder of its own.
enum class TScriptKind { Bat, Sh, Parallel };
TScriptKind ScriptKindFor(const QString& fileName);

// Why `path` cannot be written safely into a script of that kind, or nothing when it can.
std::optional<QString> UnsafeScriptPath(TScriptKind kind, const QString& path);

// Why an argument piece cannot be written safely into a script of that kind: in a batch file an
// odd number of double quotes would leave the output path outside its quotes.
std::optional<QString> UnsafeScriptPiece(TScriptKind kind, const QString& piece);

// A word for the POSIX shell: as it is when it holds only safe characters, else single-quoted.
QString ShellQuote(const QString& word);

class TBatchScript {
public:
    explicit TBatchScript(TScriptKind kind) : Kind(kind) {}

    TScriptKind ScriptKind() const { return Kind; }
    // "@echo off" and the encoder's path.
    void Begin(const QString& ffmpegExe);
    // One argument piece, as a variable the command lines refer to.
    void SetPiece(const QString& name, const QString& value);
    // An empty line and the comment that numbers the file.
    void FileComment(int fileNo);
    // One encoder run: `pass` 0 for one pass, else 1 or 2.
    void Command(const QString& input, const QString& output, bool h264, int pass);
    // An empty line and "pause".
    void End();

    // The lines, ended by CR LF (.bat) or LF (.sh).
    QString Text() const;
    bool Save(const QString& fileName, QString* error = nullptr) const;

private:
    TScriptKind Kind;
    QStringList Lines;
    // For the job file: the encoder, the pieces of the current file and its runs so far.
    QString Encoder;
    QHash<QString, QString> Pieces;
    QStringList Runs;
};
