#include "windows/panels/FileListModel.h"

#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QFont>

namespace {

QString HeaderText(int column, const TAppStrings& s) {
    const TMainModuleStrings& m = s.Main;
    switch (column) {
    case 0:
        return m.colNo;
    case 3:
        return u' ' + m.colFile;
    case 4:
        return u' ' + m.colDirectory;
    case 5:
        return m.colSize;
    case 6:
        return m.colDuration;
    case 7:
        return m.colVideo;
    case 8:
        return m.colVideoCodec;
    case 9:
        return m.colVideoCodecID;
    case 10:
        return m.colVideoProfile;
    case 11:
        return m.colVideoBitrate + QStringLiteral(" [kbit/s]");
    case 12:
        return m.colVideoWidth;
    case 13:
        return m.colVideoHeight;
    case 14:
        return m.colVideoResolution;
    case 15:
        return m.colVideoDisplayAspect;
    case 16:
        return m.colVideoFPS;
    case 17:
        return m.colVideoBpp;
    case 18:
        return m.colVideoScanType;
    case 19:
        return m.colVideoStreamSize;
    case 20:
        return m.colAudio;
    case 21:
        return m.colAudioCodec;
    case 22:
        return m.colAudioCodecID;
    case 23:
        return m.colAudioProfile;
    case 24:
        return m.colAudioBitrate + QStringLiteral(" [kbit/s]");
    case 25:
        return m.colAudioChannels;
    case 26:
        return m.colAudioSampling + QStringLiteral(" [Hz]");
    case 27:
        return m.colAudioStreamSize;
    case 28:
        return m.colStatus;
    default:
        return {};
    }
}

bool LeftAligned(int column) {
    return column == 3 || column == 4 || column == 7 || column == 20;
}

} // namespace

TFileListModel::TFileListModel(const TAppStrings& strings, QObject* parent)
    : QAbstractTableModel(parent), Strings(&strings) {}

int TFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(Rows_.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ListColumnCount;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(Rows_.size()))
        return {};
    const TFileListRow& row = Rows_[size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return column == 1 || column == 2 ? QVariant()
                                          : QVariant(CellText(row, column, row.Number));
    case Qt::ToolTipRole:
        return column == 3 || column == 4 ? QVariant(row.Path) : QVariant();
    case Qt::CheckStateRole:
        return column == 1 ? QVariant(row.Checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::DecorationRole:
        return column == 2 ? QVariant(IconFor(row.Path)) : QVariant();
    case Qt::TextAlignmentRole:
        return int(LeftAligned(column) ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    case Qt::FontRole:
        if (column == 3) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::BackgroundRole:
        return !row.Checked && UncheckedBackground.isValid() ? QVariant(UncheckedBackground)
                                                             : QVariant();
    case Qt::ForegroundRole:
        return !row.Checked && UncheckedText.isValid() ? QVariant(UncheckedText) : QVariant();
    case SortRole:
        return CellSortValue(row, column, row.Number);
    default:
        return {};
    }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role == Qt::DisplayRole)
        return HeaderText(section, *Strings);
    if (role == Qt::TextAlignmentRole)
        return int(LeftAligned(section) ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    return {};
}

Qt::ItemFlags TFileListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == 1)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool TFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != 1 || index.row() >= int(Rows_.size()))
        return false;
    SetChecked({index.row()}, value.toInt() == Qt::Checked);
    return true;
}

const TFileListRow* TFileListModel::RowById(quint64 id) const {
    const auto it = IndexById.constFind(id);
    return it == IndexById.cend() ? nullptr : &Rows_[size_t(it.value())];
}

bool TFileListModel::Contains(const QString& path) const {
    const QString key = FileListKey(path);
    return !key.isEmpty() && Keys.contains(key);
}

QList<quint64> TFileListModel::AddFiles(const QStringList& paths, bool checked) {
    return AddRows(NewFileRows(paths), checked);
}

QList<quint64> TFileListModel::AddRows(std::vector<TFileListRow> rows, bool checked) {
    std::vector<TFileListRow> added;
    for (TFileListRow& row : rows) {
        if (Keys.contains(row.Key))
            continue;
        Keys.insert(row.Key);
        row.Id = NextId++;
        row.Checked = checked;
        row.Status = Strings->Main.Ready;
        added.push_back(std::move(row));
    }
    QList<quint64> ids;
    if (added.empty())
        return ids;
    const int first = int(Rows_.size());
    beginInsertRows({}, first, first + int(added.size()) - 1);
    Rows_.reserve(Rows_.size() + added.size());
    IndexById.reserve(qsizetype(Rows_.size() + added.size()));
    for (TFileListRow& row : added) {
        row.Number = int(Rows_.size()) + 1;
        IndexById.insert(row.Id, int(Rows_.size()));
        ids.append(row.Id);
        Rows_.push_back(std::move(row));
    }
    endInsertRows();
    return ids;
}

void TFileListModel::RemoveChecked() {
    beginResetModel();
    std::vector<TFileListRow> kept;
    for (TFileListRow& row : Rows_) {
        if (row.Checked)
            Keys.remove(row.Key);
        else
            kept.push_back(std::move(row));
    }
    Rows_ = std::move(kept);
    if (Rows_.empty())
        Icons.clear();
    IndexById.clear();
    for (int i = 0; i < int(Rows_.size()); ++i)
        IndexById.insert(Rows_[size_t(i)].Id, i);
    endResetModel();
    Renumber();
}

void TFileListModel::Clear() {
    beginResetModel();
    Rows_.clear();
    IndexById.clear();
    Keys.clear();
    endResetModel();
}

void TFileListModel::SetChecked(const QList<int>& rows, bool checked) {
    for (const int r : rows) {
        if (r < 0 || r >= int(Rows_.size()) || Rows_[size_t(r)].Checked == checked)
            continue;
        Rows_[size_t(r)].Checked = checked;
        Q_EMIT dataChanged(index(r, 0), index(r, ListColumnCount - 1));
    }
    Q_EMIT ChecksChanged();
}

void TFileListModel::SetAllChecked(bool checked) {
    for (TFileListRow& row : Rows_)
        row.Checked = checked;
    if (!Rows_.empty())
        Q_EMIT dataChanged(index(0, 0), index(int(Rows_.size()) - 1, ListColumnCount - 1));
    Q_EMIT ChecksChanged();
}

void TFileListModel::InvertChecked() {
    for (TFileListRow& row : Rows_)
        row.Checked = !row.Checked;
    if (!Rows_.empty())
        Q_EMIT dataChanged(index(0, 0), index(int(Rows_.size()) - 1, ListColumnCount - 1));
    Q_EMIT ChecksChanged();
}

void TFileListModel::Renumber() {
    for (int i = 0; i < int(Rows_.size()); ++i)
        Rows_[size_t(i)].Number = i + 1;
    if (!Rows_.empty())
        Q_EMIT dataChanged(index(0, 0), index(int(Rows_.size()) - 1, 0));
}

void TFileListModel::SetRowAnalyses(const QList<quint64>& ids, const QList<TVideoFileInfo>& infos) {
    int first = int(Rows_.size());
    int last = -1;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const auto it = IndexById.constFind(ids.at(i));
        if (it == IndexById.cend())
            continue; // removed while it was analysed
        TFileListRow& row = Rows_[size_t(it.value())];
        if (i < infos.size())
            FillRowCells(row, infos.at(i), *Strings);
        row.Analysis = TRowAnalysis::Done;
        first = std::min(first, it.value());
        last = std::max(last, it.value());
    }
    if (last >= 0)
        Q_EMIT dataChanged(index(first, 0), index(last, ListColumnCount - 1));
}

void TFileListModel::SetStatus(int r, const QString& status) {
    if (r < 0 || r >= int(Rows_.size()))
        return;
    Rows_[size_t(r)].Status = status;
    Q_EMIT dataChanged(index(r, 28), index(r, 28));
}

void TFileListModel::SetStrings(const TAppStrings& strings) {
    Strings = &strings;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ListColumnCount - 1);
}

void TFileListModel::SetUncheckedColors(const QColor& background, const QColor& text) {
    UncheckedBackground = background;
    UncheckedText = text;
}

QIcon TFileListModel::IconFor(const QString& path) const {
    const QFileInfo file(path);
    const QString type = file.suffix().toLower();
    if (const auto it = Icons.constFind(type); it != Icons.cend())
        return it.value();
    static const QFileIconProvider provider;
    const QIcon icon = provider.icon(file);
    Icons.insert(type, icon);
    return icon;
}
