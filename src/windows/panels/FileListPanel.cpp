#include "windows/panels/FileListPanel.h"

#include "core/AppParams.h"
#include "core/CallRelay.h"
#include "filelist/AnalysisCache.h"
#include "filelist/BatchProbe.h"
#include "filelist/MediaInfoDll.h"
#include "localisation/AppStrings.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FooterBar.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeDatabase>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QThread>
#include <QThreadPool>
#include <QVBoxLayout>

TFileListPanel::TFileListPanel(const TAppStrings& strings, TAnalysisCache& cache, QWidget* parent)
    : QWidget(parent), Strings(&strings), Cache(cache), Workers(new QThreadPool(this)),
      Calls(new TCallRelay(this)), Alive(std::make_shared<std::atomic_bool>(true)) {
    // Long work gets threads of its own: Qt's painting borrows the global pool's threads and
    // would wait for an analysis to end.
    Workers->setMaxThreadCount(std::max(2, QThread::idealThreadCount()) + 1);
    setObjectName(QStringLiteral("pnGridBg"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(0);
    ListModel = new TFileListModel(strings, this);
    ListModel->SetUncheckedColors(palette().color(QPalette::Button),
                                  palette().color(QPalette::Disabled, QPalette::WindowText));
    Proxy = new QSortFilterProxyModel(this);
    Proxy->setSourceModel(ListModel);
    Proxy->setSortRole(TFileListModel::SortRole);
    Proxy->setDynamicSortFilter(false);
    ng = new QTableView(this);
    ng->setObjectName(QStringLiteral("ng"));
    ng->setModel(Proxy);
    ng->setSelectionBehavior(QAbstractItemView::SelectRows);
    ng->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ng->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ng->setContextMenuPolicy(Qt::CustomContextMenu);
    ng->setSortingEnabled(true);
    ng->horizontalHeader()->setSortIndicatorShown(true);
    ng->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    ng->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    ng->horizontalHeader()->setHighlightSections(false);
    ng->verticalHeader()->setFixedWidth(14);
    ng->setWordWrap(false);
    // The header's own minimum follows the style (25 px here): the icon column is narrower.
    ng->horizontalHeader()->setMinimumSectionSize(
        std::min(ng->horizontalHeader()->minimumSectionSize(), ListColumns[2].DefaultWidth));
    for (int c = 0; c < ListColumnCount; ++c) {
        Widths[size_t(c)] = ListColumns[size_t(c)].DefaultWidth;
        ng->setColumnWidth(c, Widths[size_t(c)]);
        ng->setColumnHidden(c, !ListColumns[size_t(c)].DefaultVisible);
    }
    // A hidden column keeps the width it had when it was last shown.
    connect(ng->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (size > 0 && column >= 0 && column < ListColumnCount)
                    Widths[size_t(column)] = size;
            });
    Footer = new TFooterBar(ng, this);
    layout->addWidget(ng, 1);
    layout->addWidget(Footer);

    connect(ListModel, &TFileListModel::ChecksChanged, this, &TFileListPanel::ListChanged);
    connect(ListModel, &QAbstractItemModel::rowsInserted, this, &TFileListPanel::ListChanged);
    connect(ListModel, &QAbstractItemModel::modelReset, this, &TFileListPanel::ListChanged);
    connect(ng->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFileListPanel::ListChanged);
    connect(ng->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFileListPanel::CurrentRowChanged);
    ng->installEventFilter(this);
    connect(ng, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == 2)
            Q_EMIT IconClicked(Proxy->mapToSource(index).row());
    });
    connect(ng->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                Q_EMIT HeaderMenuRequested(ng->horizontalHeader()->mapToGlobal(at));
            });
    connect(this, &TFileListPanel::ListChanged, this, &TFileListPanel::CalcFooter);

    // The file type icons need the desktop's type database, which takes a good part of a second
    // to load the first time: load it now, off the window's thread, not when the first rows show.
    Workers->start([] {
        QMimeDatabase().mimeTypeForFile(QStringLiteral("x.flv"), QMimeDatabase::MatchExtension);
    });
}

TFileListPanel::~TFileListPanel() {
    *Alive = false;
    Pending.clear();
    // Analyses still running finish into nothing; wait so that none outlives the cache.
    Workers->clear();
    Workers->waitForDone();
}

void TFileListPanel::AddFiles(const QStringList& paths) {
    // A few files are looked at at once; many (a long list file, a large drop) would hold the
    // window for a moment, and so does anything that would overtake an add still being made.
    constexpr int SmallAdd = 200;
    if (paths.size() <= SmallAdd && NextAdd == NextInsert)
        InsertRows(NewFileRows(paths));
    else
        PrepareAdd([paths] { return NewFileRows(paths); });
}

void TFileListPanel::AddFolder(const QString& folder) {
    const std::shared_ptr<std::atomic_bool> alive = Alive;
    PrepareAdd([alive, folder] {
        return NewFileRows(CollectFolderFiles(folder, [alive] { return alive->load(); }));
    });
}

void TFileListPanel::PrepareAdd(std::function<std::vector<TFileListRow>()> make) {
    const int turn = NextAdd++;
    const std::shared_ptr<std::atomic_bool> alive = Alive;
    // Before the analyses waiting in the pool: the rows come first.
    Workers->start(
        [this, alive, turn, make = std::move(make)] {
            std::vector<TFileListRow> rows = *alive ? make() : std::vector<TFileListRow>{};
            Calls->Post([this, alive, turn, rows = std::move(rows)]() mutable {
                if (!*alive)
                    return;
                Prepared.emplace(turn, std::move(rows));
                for (auto it = Prepared.find(NextInsert); it != Prepared.end();
                     it = Prepared.find(NextInsert)) {
                    std::vector<TFileListRow> next = std::move(it->second);
                    Prepared.erase(it);
                    ++NextInsert;
                    InsertRows(std::move(next));
                }
                CheckIdle();
            });
        },
        1);
}

void TFileListPanel::InsertRows(std::vector<TFileListRow> rows) {
    const QList<quint64> ids = ListModel->AddRows(std::move(rows), true);
    if (!ids.isEmpty()) {
        ng->scrollToBottom();
        Enqueue(ids);
    }
}

bool TFileListPanel::LoadListFile(const QString& fileName, QString* error) {
    const std::optional<QStringList> paths = ReadFileListFile(fileName);
    if (!paths) {
        if (error)
            *error = FormatCatalogText(Strings->Main.CantReadFile, fileName);
        return false;
    }
    AddFiles(*paths);
    return true;
}

bool TFileListPanel::SaveListFile(const QString& fileName, int* leftOut, QString* error) const {
    QStringList paths;
    for (const int r : DisplayOrder())
        paths.append(ListModel->Rows()[size_t(r)].Path);
    return WriteFileListFile(fileName, paths, leftOut, error);
}

void TFileListPanel::Enqueue(const QList<quint64>& ids) {
    for (const quint64 id : ids)
        if (const TFileListRow* row = ListModel->RowById(id))
            Pending.push_back({id, row->Path, AppParams.FileAnalysis});
    Dispatch();
}

void TFileListPanel::Dispatch() {
    const int threads = std::max(1, QThread::idealThreadCount());
    // The tools are looked for afresh, as everything that runs the encoder does.
    const QString ffmpeg = Pending.empty() ? QString() : GetFFmpegExe(AppParams);
    const QString mediaInfo = AppParams.MediaInfoDll;
    if (!mediaInfo.isEmpty())
        LoadMediaInfoLibrary(mediaInfo); // once, here, before threads share it
    while (!Pending.empty() && Running < threads) {
        // Batches that keep every thread busy, at most one encoder run's worth.
        const int share = int(Pending.size() + size_t(threads) - 1) / threads;
        const int size = std::clamp(share, 1, ProbeBatchSize);
        QList<TJob> batch;
        while (!Pending.empty() && batch.size() < size &&
               (batch.isEmpty() || Pending.front().Mode == batch.first().Mode)) {
            // Rows removed before their turn are not analysed at all.
            if (ListModel->RowById(Pending.front().Id))
                batch.append(Pending.front());
            Pending.pop_front();
        }
        if (batch.isEmpty())
            continue;
        const TFileAnalysis mode = batch.first().Mode;
        QList<quint64> ids;
        for (const TJob& job : batch)
            ids.append(job.Id);
        if (mode == TFileAnalysis::faNone) {
            ListModel->SetRowAnalyses(ids);
            continue;
        }
        ++Running;
        const std::shared_ptr<std::atomic_bool> alive = Alive;
        TAnalysisCache* cache = &Cache;
        Workers->start([this, alive, cache, batch, ids, mode, ffmpeg, mediaInfo] {
            QList<TVideoFileInfo> infos;
            QStringList names;
            for (const TJob& job : batch)
                names.append(job.Path);
            if (mode == TFileAnalysis::faFull && !ffmpeg.isEmpty()) {
                // Analyses kept from before serve unchanged files; the rest share encoder runs.
                infos = AnalyseFiles(names, ffmpeg, mediaInfo, 1, cache);
            } else {
                for (const TJob& job : batch) {
                    TVideoFileInfo& info = infos.emplace_back();
                    info.FileName = job.Path;
                    info.FileSize = GetFileSizeSafe(job.Path);
                    ReadMediaInfo(job.Path, mediaInfo, info);
                }
            }
            Calls->Post([this, alive, ids, infos] {
                if (!*alive)
                    return;
                --Running;
                Deliver(ids, infos);
                Dispatch();
                CheckIdle();
            });
        });
    }
    CheckIdle();
}

void TFileListPanel::Deliver(const QList<quint64>& ids, const QList<TVideoFileInfo>& infos) {
    ListModel->SetRowAnalyses(ids, infos);
    Q_EMIT ListChanged();
}

void TFileListPanel::CheckIdle() {
    if (!Busy())
        Q_EMIT Idle();
}

bool TFileListPanel::Busy() const {
    return Running > 0 || NextInsert != NextAdd || !Pending.empty();
}

void TFileListPanel::RemoveChecked() {
    ListModel->RemoveChecked();
}

void TFileListPanel::Clear() {
    ListModel->Clear();
}

void TFileListPanel::CheckAll(bool checked) {
    ListModel->SetAllChecked(checked);
}

void TFileListPanel::InvertChecks() {
    ListModel->InvertChecked();
}

void TFileListPanel::CheckSelected(bool checked) {
    ListModel->SetChecked(SelectedRows(), checked);
}

QList<int> TFileListPanel::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : ng->selectionModel()->selectedRows())
        rows.append(Proxy->mapToSource(index).row());
    return rows;
}

bool TFileListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ng || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QModelIndex current = ng->currentIndex();
    if (!current.isValid())
        return false;
    QHeaderView* indicator = ng->verticalHeader();
    const bool up = key->key() == Qt::Key_Up;
    if (key->modifiers() == Qt::AltModifier && (up || key->key() == Qt::Key_Down) &&
        indicator->sectionsMovable()) {
        const int from = indicator->visualIndex(current.row());
        const int to = from + (up ? -1 : 1);
        if (to >= 0 && to < indicator->count())
            indicator->moveSection(from, to);
        ng->scrollTo(current);
        return true;
    }
    if (key->modifiers() == Qt::NoModifier &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        Q_EMIT IconClicked(Proxy->mapToSource(current).row());
        return true;
    }
    return false;
}

QList<int> TFileListPanel::DisplayOrder() const {
    QList<int> rows;
    const QHeaderView* indicator = ng->verticalHeader();
    for (int visual = 0; visual < Proxy->rowCount(); ++visual) {
        const int logical = indicator->logicalIndex(visual);
        rows.append(Proxy->mapToSource(Proxy->index(logical, 0)).row());
    }
    return rows;
}

TGridInfo TFileListPanel::GridInfo() const {
    std::vector<bool> selected(ListModel->Rows().size(), false);
    for (const int r : SelectedRows())
        selected[size_t(r)] = true;
    return GetGridInfo(ListModel->Rows(), selected);
}

int TFileListPanel::CurrentRow() const {
    const QModelIndex current = ng->selectionModel()->currentIndex();
    return current.isValid() ? Proxy->mapToSource(current).row() : -1;
}

QString TFileListPanel::CurrentPath() const {
    const int row = CurrentRow();
    return row >= 0 ? ListModel->Rows()[size_t(row)].Path : QString();
}

QString TFileListPanel::CurrentDirectory() const {
    const int row = CurrentRow();
    return row >= 0 ? ListModel->Rows()[size_t(row)].Directory() : QString();
}

void TFileListPanel::CalcFooter() {
    std::array<QString, ListColumnCount> texts = ::CalcFooter(ListModel->Rows(), *Strings);
    // Under the folder column, which is near the left and has no total of its own.
    texts[ListColumnIndex(u"colDirectory")] = Estimate;
    Footer->SetTexts(texts);
}

void TFileListPanel::SetEstimateText(const QString& text) {
    if (Estimate == text)
        return;
    Estimate = text;
    CalcFooter();
}

void TFileListPanel::ApplySettings(const TProgramSettings& s) {
    QFont font(s.ListFontName, s.ListFontSize);
    ng->setFont(font);
    ng->horizontalHeader()->setFont(font);
    ng->horizontalHeader()->setFixedHeight(s.ListFontSize < 14 ? 22 : 34);
    ng->verticalHeader()->setMinimumSectionSize(std::min(12, s.RowHeight));
    ng->verticalHeader()->setDefaultSectionSize(s.RowHeight);
    ng->setShowGrid(s.GridLines);
    ng->verticalHeader()->setVisible(s.RowIndicator);
    Footer->setVisible(s.GridFooter);
    ng->horizontalHeader()->setSectionsMovable(s.AllowColumnMoving);
    // Rows are dragged by their indicator to another place.
    ng->verticalHeader()->setSectionsMovable(s.AllowRowMoving);
    QHeaderView* header = ng->horizontalHeader();
    for (int c = 0; c < ListColumnCount; ++c) {
        Widths[size_t(c)] = s.Columns[size_t(c)].Width;
        ng->setColumnWidth(c, s.Columns[size_t(c)].Width);
        ng->setColumnHidden(c, ListColumns[size_t(c)].Hideable && !s.Columns[size_t(c)].Visible);
    }
    // Positions are applied column by column in the file's order: a later move may shift an
    // earlier column, as the settings file's readers expect. A column the file names no
    // position for stays where it is.
    for (const int c : ListColumnKeyOrder)
        if (s.Columns[size_t(c)].Position != KeepPosition)
            header->moveSection(header->visualIndex(c), s.Columns[size_t(c)].Position);
}

void TFileListPanel::ReadSettings(TProgramSettings& s) const {
    const QHeaderView* header = ng->horizontalHeader();
    for (int c = 0; c < ListColumnCount; ++c) {
        TColumnSettings& column = s.Columns[size_t(c)];
        column.Visible = !header->isSectionHidden(c);
        column.Width = Widths[size_t(c)];
        column.Position = header->visualIndex(c);
    }
}

void TFileListPanel::SetColumnVisible(int column, bool visible) {
    if (column >= 0 && column < ListColumnCount && ListColumns[size_t(column)].Hideable)
        ng->setColumnHidden(column, !visible);
}

void TFileListPanel::SetLang(const TAppStrings& strings) {
    Strings = &strings;
    ListModel->SetStrings(strings);
    CalcFooter();
}
