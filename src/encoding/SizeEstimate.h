#pragma once

#include "encoding/ArgumentBuilder.h"
#include "encoding/EncoderSettings.h"
#include "filelist/VideoFileInfo.h"

#include <QList>
#include <QString>

struct TAppStrings;

// The size in bytes an output will have: the bit rates of the command line the builder gave for
// the file (its "Auto" choices included) times the input's duration, and the container's share.
// Copied streams keep the input's rate. 0 when the input's duration is unknown.
qint64 EstimateOutputBytes(const TEncoderSettings& settings, const TVideoFileInfo& input,
                           const TArgumentPieces& pieces);
// The same with the pieces made here, quietly: a value the builder rejects gives 0.
qint64 EstimateOutputBytes(const TEncoderSettings& settings, const TVideoFileInfo& input,
                           const TBuilderEnvironment& environment, const TAppStrings& strings);

// Where outputs go and how large they will be.
struct TPlannedOutput {
    QString Folder;
    qint64 Bytes = 0;
};

// A file system that the outputs planned for it do not fit: the first of their folders, their
// sum and its free space.
struct TSpaceShortage {
    QString Folder;
    qint64 Needed = 0;
    qint64 Free = 0;
};

// The estimates added up.
qint64 TotalBytes(const QList<TPlannedOutput>& outputs);

// The outputs summed per file system (a folder still to be made counts on the file system of
// its nearest existing parent) and compared with its free space.
QList<TSpaceShortage> SpaceShortages(const QList<TPlannedOutput>& outputs);

// The question's text for one shortage.
QString SpaceShortageText(const TSpaceShortage& shortage, const TAppStrings& strings);
