#pragma once

// Pieces of zorvane-cli shared by its command files.

#include "encoding/EncoderSettings.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

struct TAppStrings;

QTextStream& Out();
QTextStream& Err();
// A text of the program (CR LF line ends) as a terminal and pipes want it: LF only.
QString TerminalText(QString text);

// --profile FILE and --format avi|mpg.
void AddSettingsOptions(QCommandLineParser& parser, bool scriptFormats = false);
// sh, bat or parallel: a kind of script that `script --format` takes besides avi and mpg.
bool ScriptFormatOption(const QString& value);
// The encoder settings the options ask for; 0, or the exit status of a mistake (told on
// standard error).
int SettingsFromOptions(const QCommandLineParser& parser, const QString& command,
                        const TAppStrings& strings, const QStringList& resolutions,
                        TEncoderSettings& settings);

// zorvane-cli convert / script.
void AddConvertOptions(QCommandLineParser& parser, bool script);
int RunConvert(const QCommandLineParser& parser);
int RunScript(const QCommandLineParser& parser);
