#pragma once

#include <QDialog>
#include <optional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
struct TAppStrings;
struct TFontParams;
struct TProgramSettings;

// The progress window of a conversion: the encoder's output, the files of the run it follows, the
// status line, the percentage and the Abort button; when several files are converted at once,
// the list of them and the batch's overall progress too.
class TFormProgress : public QDialog {
    Q_OBJECT

public:
    TFormProgress(const TAppStrings& strings, const TFontParams& font, QWidget* owner);

    bool EncoderOutputHidden() const;
    void ShowStatusLine(const QString& html);
    // The bar and the window's caption.
    void ShowProgress(int percent, const QString& caption);
    void ShowEncoderOutput(const QString& text);

    // While a batch runs the button aborts it and closing the window asks for the same.
    void SetBatchRunning(bool running);
    bool BatchRunning() const { return Running; }

    // The files under way, for a batch of several at once (hidden otherwise).
    void ShowJobList(bool visible);
    // Sets (adding when new) the row of a file under way: name, percent, speed.
    void SetJob(int job, const QString& file, int percent, const QString& speed);
    void RemoveJob(int job);
    int SelectedJob() const; // -1 when none is selected
    // "Overall: 45%   1:05 left"; empty hides it.
    void SetOverall(const QString& text);
    // "Estimated size of the outputs: 1.20 GB"; empty hides it.
    void SetEstimate(const QString& text);
    QString EstimateText() const;

    // What the batch shows besides.
    void SetAbortCaption(const QString& caption);
    void SetProgressBar(int percent);
    void SetProgressBarVisible(bool visible);
    void SetInputFile(const QString& path);
    void SetOutputLabel(const QString& html);
    void SetStatus(const QString& html, std::optional<quint32> colour);
    bool CloseAfterConversion() const;

    void LoadSettings(const TProgramSettings& settings);
    void ReadSettings(TProgramSettings& settings) const;
    void SetLang(const TAppStrings& strings);

    // The texts shown, for the tests.
    QString StatusHtml() const;
    QString OutputText() const;
    int Percent() const;

    QString OverallText() const;
    int JobRows() const;

    // Puts the output that is waiting into the pane at once.
    void FlushEncoderOutput();

Q_SIGNALS:
    // The user pressed Abort, or closed the window, while a batch runs.
    void AbortClicked();
    // The user chose a file of the list: the window follows it.
    void JobSelected(int job);
    void EncoderOutputHiddenChanged(bool hidden);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void actAbortExecute();

    const TAppStrings* Strings;
    bool Running = false;
    QTreeWidget* lvJobs;
    QLabel* lblOverall;
    QLabel* lblEstimate;
    QPlainTextEdit* me;
    QCheckBox* chHideEncoderOutput;
    QCheckBox* chCloseAfterConversion;
    QLabel* lblEncoderOutput;
    QLabel* lblStatusDesc;
    QLabel* lblInputFileDesc;
    QLabel* lblOutputFileDesc;
    QLabel* lblStatus;
    QLabel* lblInputFile;
    QLabel* lblOutputFile;
    QLabel* lblProgress;
    QProgressBar* pbFile;
    QPushButton* btnAbort;
    // The pane shows the output at most every so often: the encoder writes many lines a second,
    // and laying out the whole text for each would cost the conversion time.
    QString PendingOutput;
    bool OutputPending = false;
    QTimer* OutputTimer;
};
