#pragma once

#include "filelist/GridInfo.h"
#include "filelist/ListColumns.h"
#include "filelist/VideoFileInfo.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>
#include <vector>

struct TAppStrings;

// The rows of the file list and their rules, without widgets: which files are accepted, what each
// cell shows, the counts and the footer, and the list files.

// The 77 accepted extensions, upper case, without the dot.
const QStringList& SupportedExtensions();
// True when the name's extension is one of them (letter case ignored).
bool IsSupportedFileExt(const QString& fileName);
// "*.webm;*.avi;..." for the open dialog's "All supported files" entry.
QString SupportedFilesPattern();

// The name under which a file is known to the list: its canonical path (links resolved), empty
// when it does not exist. Two rows never share it.
QString FileListKey(const QString& path);

enum class TRowAnalysis { Pending, Done, Failed };

struct TFileListRow {
    quint64 Id = 0; // stays with the row while it lives
    int Number = 0; // the "No" column: renumbered after removals, kept by sorting
    QString Path;   // absolute path
    QString Key;    // FileListKey of the path
    bool Checked = true;
    TRowAnalysis Analysis = TRowAnalysis::Pending;
    qint64 Size = -1;
    qint64 DurationMs = 0;
    QString Video, VideoCodec, VideoCodecID, VideoProfile;
    qint32 VideoBitrate = 0, VideoWidth = 0, VideoHeight = 0;
    QString VideoResolution, VideoDisplayAspect;
    double VideoFPS = 0, VideoBpp = 0;
    QString VideoScanType;
    qint64 VideoStreamSize = 0;
    QString Audio, AudioCodec, AudioCodecID, AudioProfile;
    qint32 AudioBitrate = 0, AudioChannels = 0, AudioSampling = 0;
    qint64 AudioStreamSize = 0;
    QString Status;

    QString FileName() const;
    QString Directory() const; // native separators, no trailing separator
};

// New rows for the files that qualify (accepted extension, an existing regular file), in the
// given order, with their absolute path, key and size; numbers, ids and status are the list's.
// Looks at the file system only, so it may run off the window's thread.
std::vector<TFileListRow> NewFileRows(const QStringList& paths);

// Writes the analysis cells of a row from an analysed file (duration, first video and first
// audio stream, the summaries).
void FillRowCells(TFileListRow& row, const TVideoFileInfo& info, const TAppStrings& strings);

// The display text of a cell; `number` is the row's 1-based number.
QString CellText(const TFileListRow& row, int column, int number);
// What a column sorts by: numbers for numeric columns, the text otherwise.
QVariant CellSortValue(const TFileListRow& row, int column, int number);
// True for columns that are right for numeric sorting.
bool IsNumericColumn(int column);

// The rows' counts; `selected` flags the selected rows (same size as `rows`, or empty).
TGridInfo GetGridInfo(const std::vector<TFileListRow>& rows, const std::vector<bool>& selected);

// The footer line: counts, sums and averages over the checked rows; empty texts for an empty list.
std::array<QString, ListColumnCount> CalcFooter(const std::vector<TFileListRow>& rows,
                                                const TAppStrings& strings);

// The paths of a list file, one per line, as the list adds them: a "." folder step and a trailing
// "." or separator of the folder part are removed. Byte-order marks select UTF-8 or UTF-16;
// without one the text is UTF-8 when valid, else Windows-1252. Nothing when it cannot be read.
std::optional<QStringList> ReadFileListFile(const QString& fileName);
// Writes the paths in UTF-8 with CR LF line ends, through a temporary file. A path with a line
// break would read back as two: it is left out and counted in `leftOut`.
bool WriteFileListFile(const QString& fileName, const QStringList& paths, int* leftOut,
                       QString* error = nullptr);

// The list's order of the supported files of a folder and its subfolders down to 20 levels:
// folders by path (letter case ignored), each real folder once however many links lead to it;
// regular files only (a link to one counts). `keepGoing` is asked now and then; false stops.
QStringList CollectFolderFiles(const QString& folder, const std::function<bool()>& keepGoing = {});

// The audio track chooser's items for an analysed file: Auto, then one per described audio stream.
QStringList AudioTrackItems(const TVideoFileInfo& info, const TAppStrings& strings);
