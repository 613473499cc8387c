#pragma once

#include "filelist/FileList.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QSet>
#include <vector>

struct TAppStrings;

// The rows of the file list as the grid shows them. The rules are the logic's; this adapts them.
class TFileListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Sort by this role: numbers for numeric columns.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit TFileListModel(const TAppStrings& strings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const std::vector<TFileListRow>& Rows() const { return Rows_; }
    const TFileListRow* RowById(quint64 id) const;

    // Appends the files that qualify (accepted extension, an existing regular file, not yet on
    // the list under any name) as rows, in the given order; returns the new rows' ids.
    QList<quint64> AddFiles(const QStringList& paths, bool checked);
    // Appends rows made by NewFileRows, leaving out files already on the list.
    QList<quint64> AddRows(std::vector<TFileListRow> rows, bool checked);
    bool Contains(const QString& path) const;

    void RemoveChecked();
    void Clear();
    void SetChecked(const QList<int>& rows, bool checked);
    void SetAllChecked(bool checked);
    void InvertChecked();
    void Renumber();

    // Marks the rows of `ids` analysed, with their cells filled from `infos` (one per id) when
    // given; one change for all of them. Rows removed meanwhile are passed over.
    void SetRowAnalyses(const QList<quint64>& ids, const QList<TVideoFileInfo>& infos = {});
    void SetStatus(int row, const QString& status);
    void SetStrings(const TAppStrings& strings);
    void SetUncheckedColors(const QColor& background, const QColor& text);

Q_SIGNALS:
    void ChecksChanged();

private:
    QIcon IconFor(const QString& path) const;

    const TAppStrings* Strings;
    std::vector<TFileListRow> Rows_;
    QHash<quint64, int> IndexById;
    QSet<QString> Keys;
    quint64 NextId = 1;
    mutable QHash<QString, QIcon> Icons; // by file type
    QColor UncheckedBackground, UncheckedText;
};
