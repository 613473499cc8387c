#pragma once

#include "app/ProgramSettings.h"
#include "core/Types.h"
#include "filelist/FileList.h"

#include <QWidget>
#include <atomic>
#include <deque>
#include <functional>
#include <map>

class QSortFilterProxyModel;
class QThreadPool;
class QTableView;
class TCallRelay;
class TAnalysisCache;
class TFileListModel;
class TFooterBar;
struct TAppStrings;

// pnGridBg: the file list grid with its footer. Files are added at once and analysed off the
// window's thread, many per encoder run; each row's cells are filled when its result arrives.
class TFileListPanel : public QWidget {
    Q_OBJECT

public:
    TFileListPanel(const TAppStrings& strings, TAnalysisCache& cache, QWidget* parent);
    ~TFileListPanel() override;

    QTableView* View() const { return ng; }
    TFileListModel* Model() const { return ListModel; }

    // Adds the files that qualify, checked, in the given order, and starts their analysis.
    void AddFiles(const QStringList& paths);
    // Collects the supported files of a folder off the window's thread, then adds them.
    void AddFolder(const QString& folder);
    // Adds every path of a list file; false with the reason when it cannot be read.
    bool LoadListFile(const QString& fileName, QString* error);
    // Writes every row's path; `leftOut` counts paths a list file cannot hold.
    bool SaveListFile(const QString& fileName, int* leftOut, QString* error) const;

    void RemoveChecked();
    void Clear();
    void CheckAll(bool checked);
    void InvertChecks();
    void CheckSelected(bool checked);

    TGridInfo GridInfo() const;
    // The model's rows in the order the grid shows them: sorted, and moved by the user.
    QList<int> DisplayOrder() const;
    int CurrentRow() const; // row of the model, -1 for none
    QString CurrentPath() const;
    QString CurrentDirectory() const;
    // True while files are being collected or analysed.
    bool Busy() const;
    // Threads for long work of the window (analyses, folder walks).
    QThreadPool* Pool() const { return Workers; }

    void ApplySettings(const TProgramSettings& settings);
    void ReadSettings(TProgramSettings& settings) const;
    void SetColumnVisible(int column, bool visible);
    void SetLang(const TAppStrings& strings);
    void CalcFooter();
    // The footer's text under the folder column: the checked files' estimated output size.
    void SetEstimateText(const QString& text);
    QString EstimateText() const { return Estimate; }

Q_SIGNALS:
    // Rows, checks or cells changed: the counts, the footer and the actions follow.
    void ListChanged();
    void CurrentRowChanged();
    void IconClicked(int row);
    void HeaderMenuRequested(const QPoint& globalPos);
    // Nothing is being collected or analysed any more.
    void Idle();

protected:
    // The list's keyboard ways to what the mouse does: Alt+Up and Alt+Down move the current row
    // as dragging its indicator does; Enter opens its file as a click on its icon does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString Estimate;
    struct TJob {
        quint64 Id;
        QString Path;
        TFileAnalysis Mode;
    };
    // Makes the rows of an add off the window's thread; they go in after the adds before it.
    void PrepareAdd(std::function<std::vector<TFileListRow>()> make);
    void InsertRows(std::vector<TFileListRow> rows);
    void Enqueue(const QList<quint64>& ids);
    void Dispatch();
    void Deliver(const QList<quint64>& ids, const QList<TVideoFileInfo>& infos);
    QList<int> SelectedRows() const;
    void CheckIdle();

    const TAppStrings* Strings;
    TAnalysisCache& Cache;
    QTableView* ng;
    TFileListModel* ListModel;
    QSortFilterProxyModel* Proxy;
    TFooterBar* Footer;
    QThreadPool* Workers;
    TCallRelay* Calls; // the workers' results, handed to the window's thread
    std::array<int, ListColumnCount> Widths{}; // the last width each column had while shown
    std::deque<TJob> Pending;
    int Running = 0;
    int NextAdd = 0;    // the turn of the next add made off the window's thread
    int NextInsert = 0; // the turn whose rows go in next
    std::map<int, std::vector<TFileListRow>> Prepared; // rows made, waiting for their turn
    std::shared_ptr<std::atomic_bool>
        Alive; // cleared when the panel goes: work stops, late results go nowhere
};
