#pragma once

#include "execution/ProgressMonitor.h"

#include <QDialog>
#include <QElapsedTimer>
#include <optional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
struct TAppStrings;
struct TFontParams;
struct TProgramSettings;

// The progress window of a conversion: the encoder's output, the files of the current run, the
// status line, the percentage and the Abort button.
class TFormProgress : public QDialog, public IProgressView {
    Q_OBJECT

public:
    TFormProgress(const TAppStrings& strings, TAbortState& abort, const TFontParams& font,
                  QWidget* owner);

    // IProgressView
    void ProcessEvents() override;
    bool EncoderOutputHidden() const override;
    void ShowStatusLine(const QString& html) override;
    void ShowProgress(int percent, const QString& appTitle, const QString& caption) override;
    void ShowEncoderOutput(const QString& text) override;

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

    // The title the application has while the batch runs ("25% Zorvane ..."); the owner shows it.
    std::function<void(const QString&)> ShowAppTitle;

    // Puts the output that is waiting into the pane at once.
    void FlushEncoderOutput();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void actAbortExecute();

    const TAppStrings* Strings;
    TAbortState& Abort;
    QPlainTextEdit* me;
    QCheckBox* chHideEncoderOutput;
    QCheckBox* chCloseAfterConversion;
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
    QElapsedTimer SinceEvents;
};
