#pragma once

#include "core/Types.h"
#include "encoding/EncoderSettings.h"
#include "filelist/ListColumns.h"

#include <QSize>
#include <QString>
#include <array>
#include <optional>

class TIniFile;

// The program settings file "zorvane.ini": the main window's geometry, the conversion options that
// are not encoder settings, the file list's look and columns, a few program options, and the
// progress window's options. Encoder settings live in profiles.

struct TColumnSettings {
    int Width = 80;
    int Position = 0; // KeepPosition: the settings file names none, the column stays where it is
    bool Visible = true;
};

inline constexpr int KeepPosition = -1;

struct TProgressWindowSettings {
    bool DontShowEncoderOutput = false;
    int Left = 0; // written, never read: the window is centred on its owner
    int Top = 0;
    int Width = 700;
    int Height = 500;
    bool CloseAfterConversion = false;
    bool AutoScrollMemoToBottom = true;
};

struct TProgramSettings {
    QString LanguageIni;
    bool Maximized = false;
    int Left = 0;
    int Top = 0;
    int Width = 934;
    int Height = 712;
    int OutputExists = 0;    // 0 rename, 1 overwrite, 2 skip
    int AfterConversion = 0; // 0 nothing, 1 close the program, 2 power off
    bool OutIn = true;       // outputs beside their inputs
    QString OutDir;
    bool KeepFileDates = false;
    bool GridLines = true;
    bool RowIndicator = true;
    bool GridFooter = true;
    int RowHeight = 20;
    bool AllowRowMoving = true;
    bool AllowColumnMoving = true;
    QString ListFontName = QStringLiteral("Segoe UI");
    int ListFontSize = 8;
    TFileAnalysis FileAnalysis = TFileAnalysis::faFull;
    bool ConversionSettingsExpanded = true;
    bool OpenFileAfterIconClick = true;
    int DefaultVideoCodecIndex = vcXvid; // Xvid or H.264
    TOutputFormat OutputFormat = TOutputFormat::AVI;
    QString LastDir;
    bool DragAcceptDirectories = true;
    std::array<TColumnSettings, ListColumnCount> Columns = DefaultColumnSettings();
    int SimultaneousConversions = 0; // files converted at once; 0 = Auto

    // Read only: keys for users who edit the file.
    bool EscExit = true; // Esc closes the main window; false as soon as a settings file exists
    std::optional<QString> MediaInfoDll;
    std::optional<QString> ToolsDir;
    std::optional<QString> ffmpeg;

    TProgressWindowSettings Progress;

    static std::array<TColumnSettings, ListColumnCount> DefaultColumnSettings();
};

// Number of items of the two option lists of the output strip.
inline constexpr int OutputExistsItemCount = 3;
inline constexpr int AfterConversionItemCount = 3;

// Reads section MAIN over `settings`: every value it holds is the default of its key. `screen` is
// the size of the screen the window opens on, for the checks of Left and Top. A missing file
// changes nothing; unreadable or out-of-range values fall back as the file's rules say.
void LoadProgramSettings(TProgramSettings& settings, const TIniFile& ini, QSize screen);
// Reads section PROGRESS over `settings.Progress` (Left and Top are not read).
void LoadProgressSettings(TProgramSettings& settings, const TIniFile& ini);
// Writes section MAIN and then PROGRESS key by key into `ini`; other keys stay as they are.
void StoreProgramSettings(const TProgramSettings& settings, TIniFile& ini);

// The same for a file: load from it, and save to it through a temporary file. A failed save is
// reported only through the result; the caller decides to stay silent.
TProgramSettings ReadProgramSettingsFile(const QString& fileName, const TProgramSettings& current,
                                         QSize screen, bool* existed = nullptr);
bool SaveProgramSettingsFile(const TProgramSettings& settings, const QString& fileName);

// Applies the tool keys to the application paths: ToolsDir when it is an existing folder, then
// the configured library and encoder, each resolved to its default location again when the
// configured file does not exist.
void ApplyToolSettings(const TProgramSettings& settings, TAppParams& params);
