#include "windows/BatchController.h"

#include "core/AppParams.h"
#include "core/Product.h"
#include "localisation/AppStrings.h"
#include "windows/dialogs/FormErrors.h"
#include "windows/dialogs/FormProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>

namespace {

// "/videos/" and "clip.avi" of an output path, for the progress window's labels.
QString FolderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).path() + u'/').toHtmlEscaped();
}

QString NameOf(const QString& path) {
    return QFileInfo(path).fileName().toHtmlEscaped();
}

} // namespace

TBatchController::TBatchController(const TAppStrings& strings, TFormProgress& progress,
                                   TFormErrors& errors, QObject* parent)
    : QObject(parent), Strings(strings), Progress(progress), Errors(errors) {
    // The overall figures change slowly: twice a second is enough, whatever the encoders write.
    Overall = new QTimer(this);
    Overall->setInterval(500);
    connect(Overall, &QTimer::timeout, this, &TBatchController::ShowOverall);
    connect(&Progress, &TFormProgress::AbortClicked, this, &TBatchController::Abort);
    connect(&Progress, &TFormProgress::JobSelected, this, [this](int job) {
        if (!Engine || Engine->Job(job).State != TJobState::Running)
            return;
        UserChose = true;
        Follow(job);
    });
    connect(&Progress, &TFormProgress::EncoderOutputHiddenChanged, this, [this](bool hidden) {
        if (Engine)
            Engine->OutputShown = !hidden;
    });
}

TBatchController::~TBatchController() = default;

bool TBatchController::Start(std::unique_ptr<TBatchEngine> engine) {
    if (Engine)
        return false;
    Engine = std::move(engine);
    Followed = -1;
    FollowedOver = false;
    UserChose = false;
    TBatchEngine* e = Engine.get();
    e->OutputShown = !Progress.EncoderOutputHidden();
    connect(e, &TBatchEngine::Warning, this, [this](const QString& text) {
        if (ShowWarning)
            ShowWarning(text);
    });
    connect(e, &TBatchEngine::BatchStarted, this, [this] {
        if (!Engine->ScriptMode()) {
            Progress.show();
            Progress.raise();
        }
        Progress.SetProgressBarVisible(!Engine->NoVideoOutput());
        Progress.ShowJobList(Engine->SimultaneousConversions > 1);
        Overall->start();
    });
    connect(e, &TBatchEngine::JobStatus, this, [this](int job, const QString& status) {
        if (SetRowStatus)
            SetRowStatus(Engine->Job(job).Row, status);
    });
    connect(e, &TBatchEngine::JobStarted, this, &TBatchController::JobStarted);
    connect(e, &TBatchEngine::JobProgress, this, &TBatchController::JobProgress);
    connect(e, &TBatchEngine::JobFinished, this, &TBatchController::JobFinished);
    connect(e, &TBatchEngine::BatchFinished, this, &TBatchController::BatchFinished);
    if (SetLocked)
        SetLocked(true);
    Progress.SetProgressBar(0);
    Progress.SetAbortCaption(Strings.Main.Abort);
    Progress.SetBatchRunning(true);
    e->Start(); // a batch that stops at once has ended when this returns
    return true;
}

bool TBatchController::Abort() {
    return Engine && Engine->Abort();
}

void TBatchController::Follow(int job) {
    Followed = job;
    FollowedOver = false;
    const TBatchJob& j = Engine->Job(job);
    Progress.SetInputFile(j.Input);
    Progress.SetOutputLabel(QStringLiteral("<b><font bgcolor=\"#696969\" color=\"#FFFFFF\"> ") +
                            FolderOf(j.Output) + QStringLiteral(" </font> ") + NameOf(j.Output) +
                            QStringLiteral("</b>"));
    if (j.Display.StatusHtml.isEmpty()) {
        Progress.SetProgressBar(0);
        Progress.ShowEncoderOutput(QString());
        Progress.SetStatus(Strings.Main.PleaseWait, std::nullopt);
    } else {
        ShowJob(job);
    }
}

void TBatchController::ShowJob(int job) {
    const TBatchJob& j = Engine->Job(job);
    Progress.ShowStatusLine(j.Display.StatusHtml);
    Progress.SetProgressBar(j.Percent);
    if (Engine->SimultaneousConversions <= 1 && j.Percent > 0)
        Progress.ShowProgress(j.Percent, ProgressCaption(j.Percent, Strings));
    Progress.ShowEncoderOutput(j.Display.PaneText);
}

void TBatchController::JobStarted(int job) {
    if (Followed < 0 || FollowedOver)
        Follow(job);
    if (Engine->SimultaneousConversions > 1)
        Progress.SetJob(job, QFileInfo(Engine->Job(job).Input).fileName(), 0, QString());
}

void TBatchController::JobProgress(int job) {
    const TBatchJob& j = Engine->Job(job);
    if (Engine->SimultaneousConversions > 1)
        Progress.SetJob(job, QFileInfo(j.Input).fileName(), j.Percent, j.Display.Values.Speed);
    if (FollowedOver && job != Followed)
        Follow(job); // the file followed has ended: the window moves to one under way
    else if (job == Followed)
        ShowJob(job);
}

void TBatchController::JobFinished(int job) {
    const TBatchJob& j = Engine->Job(job);
    Progress.RemoveJob(job);
    if (j.Abandoned)
        return;
    if (j.State == TJobState::Skipped) {
        if (Followed >= 0 && !FollowedOver)
            return; // a file under way keeps the window
        Followed = job;
        FollowedOver = true;
        Progress.SetStatus(j.Status, std::nullopt);
        Progress.SetOutputLabel(QStringLiteral("<font bgcolor=\"#C0C0C0\">") + FolderOf(j.Output) +
                                QStringLiteral("</font><b>") + NameOf(j.Output) +
                                QStringLiteral("</b>"));
        return;
    }
    if (job != Followed)
        return;
    if (!j.AbortedHere)
        Progress.SetProgressBar(100);
    Progress.SetStatus(QStringLiteral("<b>") + j.Status + QStringLiteral("</b>"),
                       j.Succeeded ? AppParams.ColorOK : AppParams.ColorError);
    // The run's last output, whatever the pane showed while it ran.
    QStringList lines = j.OutputLines;
    FilterEncoderOutput(lines);
    Progress.ShowEncoderOutput(lines.join(u'\n'));
    Progress.FlushEncoderOutput();
    FollowedOver = true;
    UserChose = false;
    ShowOverall();
}

void TBatchController::ShowOverall() {
    if (!Engine)
        return;
    const TBatchOverall overall = Engine->Overall();
    if (overall.Percent > 0 && SetAppTitle)
        SetAppTitle(ProgressAppTitle(overall.Percent));
    if (ShowBatchProgress && !Engine->ScriptMode()) {
        const auto left =
            std::count_if(Engine->Jobs().cbegin(), Engine->Jobs().cend(), [](const TBatchJob& job) {
                return job.State != TJobState::Finished && job.State != TJobState::Skipped;
            });
        ShowBatchProgress(overall.Percent, int(left));
    }
    if (Engine->SimultaneousConversions <= 1)
        return;
    QString text =
        FormatCatalogText(Strings.Progress.Overall, QStringLiteral("%1%").arg(overall.Percent));
    if (overall.MsLeft >= 0)
        text += QStringLiteral("    ") +
                FormatCatalogText(Strings.Progress.TimeLeft, TimeLeftText(overall.MsLeft));
    Progress.SetOverall(text);
    if (overall.Percent > 0)
        Progress.ShowProgress(Progress.Percent(), ProgressCaption(overall.Percent, Strings));
}

void TBatchController::BatchFinished(const TBatchResult& result) {
    Overall->stop();
    Progress.SetBatchRunning(false);
    Progress.SetAbortCaption(Strings.Main.Close);
    Progress.ShowJobList(false);
    if (SetLocked)
        SetLocked(false);
    if (SetAppTitle)
        SetAppTitle(ProductTitle());
    Progress.setWindowTitle(Strings.Progress.Caption);
    if (!result.ErrorLogCaption.isEmpty()) {
        Errors.Refresh();
        Errors.setWindowTitle(result.ErrorLogCaption);
        Errors.show();
    }
    Progress.FlushEncoderOutput();
    if (Progress.CloseAfterConversion())
        Progress.hide();
    // The engine may be the one sending this: it goes once its signal has returned.
    Engine.release()->deleteLater();
    Q_EMIT Finished(result);
}
