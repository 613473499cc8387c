#pragma once

#include "encoding/EncoderSettings.h"

#include <QHash>
#include <QWidget>

class QLabel;
struct TAppStrings;

// A panel of encoder settings controls: shows a TEncoderSettings, reads it back, applies the
// catalogue texts, and reports every edit by the user.
class TSettingsPanel : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void ShowSettings(const TEncoderSettings& s) = 0;
    virtual void ReadSettings(TEncoderSettings& s) const = 0;
    virtual void SetLang(const TAppStrings& strings) = 0;
    // Labels computed from the settings (volume factor, brightness, the MPG description).
    virtual void ShowDerived(const TEncoderSettings&, const TAppStrings&) {}

    // Enabled and visible states by control name; names of other panels are ignored.
    void ApplyStates(const QHash<QString, bool>& enabled, const QHash<QString, bool>& visible);

Q_SIGNALS:
    void Edited();

protected:
    // Connects the controls' change signals to Edited.
    void WatchEdits();
    // The bold caption strip on top of a panel (styled by the main window).
    QLabel* NewHeader(const char* name);
};
