#pragma once

#include "encoding/BatchDriver.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class TFormErrors;
class TFormProgress;
struct TAppStrings;
class QTimer;

// Connects a batch to the windows: the progress window follows one file (the first under way,
// or the one the user picks) and lists all of them, the list's rows show their status, the error
// log opens after a batch with errors. The main window is locked while the batch runs.
class TBatchController : public QObject {
    Q_OBJECT

public:
    TBatchController(const TAppStrings& strings, TFormProgress& progress, TFormErrors& errors,
                     QObject* parent = nullptr);
    ~TBatchController() override;

    // What the main window does for the batch.
    std::function<void(bool locked)> SetLocked;
    std::function<void(const QString& title)> SetAppTitle;
    std::function<void(const QString& text)> ShowWarning;
    // The status cell of the batch's row `row`.
    std::function<void(int row, const QString& status)> SetRowStatus;
    // The batch's percent and the files not yet over, as it goes.
    std::function<void(int percent, int filesLeft)> ShowBatchProgress;

    // Takes the engine and starts it; false (and nothing done) while another batch runs.
    bool Start(std::unique_ptr<TBatchEngine> engine);
    bool Running() const { return Engine != nullptr; }
    // The user's Abort; false when nothing runs or an abort is already under way.
    bool Abort();
    const TBatchEngine* CurrentEngine() const { return Engine.get(); }

Q_SIGNALS:
    // The batch is over and the windows show its outcome; the main window does what follows.
    void Finished(const TBatchResult& result);

private:
    void Follow(int job);
    void ShowJob(int job);
    void JobStarted(int job);
    void JobProgress(int job);
    void JobFinished(int job);
    void ShowOverall();
    void BatchFinished(const TBatchResult& result);

    const TAppStrings& Strings;
    TFormProgress& Progress;
    TFormErrors& Errors;
    std::unique_ptr<TBatchEngine> Engine;
    QTimer* Overall;
    int Followed = -1;
    bool FollowedOver = false; // the file followed has ended: the next one under way takes over
    bool UserChose = false;
};
