#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

struct TAppParams;

// The report on the two tools the program runs: where they are, their size and CRC-32, what kind
// of binary each is, and their versions.

// What the headers of an executable file say. Every read is bounded by the file: a damaged or
// hostile header never reads outside it.
struct TBinaryInfo {
    bool Valid = false;
    int Bits = 0;
    QString InfoStr; // "Executable / Win PE32 / Intel 386", "Library / ELF64 / AMD64"
};

// A Windows PE image.
TBinaryInfo ReadPeInfo(const QString& fileName);
// An ELF file: a position-independent executable with an interpreter is an executable, other
// shared objects are libraries.
TBinaryInfo ReadElfInfo(const QString& fileName);
// The string values of a PE image's version resource, for its first translation: ProductVersion,
// FileVersion, FileDescription, ...; empty when the image has none. Every offset of the resource
// tree and of the version block is checked against what was read.
QHash<QString, QString> ReadPeVersionStrings(const QString& fileName);
// The same for a version block alone (VS_VERSIONINFO).
QHash<QString, QString> ParseVersionInfo(const QByteArray& block);

// Either, whichever the file is.
TBinaryInfo ReadBinaryInfo(const QString& fileName);

// "Intel 386", "AMD64", ... or "UNKNOWN (452)".
QString PeMachineName(quint16 machine);

// The block of one file, lines ended by CR LF without a final one; empty when there is no file.
// `versionLines` are label and value pairs shown after the binary type.
QString ToolFileReport(const QString& path, int labelWidth,
                       const QList<std::pair<QString, QString>>& versionLines);

// The whole report for the tools the program finds now.
QString ToolsReport(TAppParams& params, int labelWidth);
