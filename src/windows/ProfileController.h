#pragma once

#include "encoding/EncoderSettings.h"
#include "encoding/Profiles.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class TProfilePanel;
struct TAppStrings;
struct TMainActions;

// The encoder settings' profiles: the profile chooser, loading and saving profile files, the
// default settings, and the last session's profile.
class TProfileController : public QObject {
    Q_OBJECT

public:
    // What the controller needs of the window's encoder settings.
    struct THost {
        // The window's settings as last read from the controls.
        std::function<const TEncoderSettings&()> Current;
        // The settings as the controls hold them now.
        std::function<const TEncoderSettings&()> Read;
        // Shows these settings and makes them the window's.
        std::function<void(const TEncoderSettings&)> Apply;
        // Shows the default settings.
        std::function<void()> ApplyDefaults;
        // What loading a profile needs to know about the program.
        std::function<TProfileContext()> Context;
    };

    TProfileController(const TAppStrings& strings, TProfilePanel& panel,
                       const TMainActions& actions, THost host, QWidget* window);

    // Reads a profile file over the current settings and shows them; a missing file changes
    // nothing.
    void LoadFrom(const QString& fileName);
    // Writes the current settings to a profile file; throws with the reason when it cannot.
    void SaveTo(const QString& fileName);
    // Fills the chooser from the profile folders.
    void Refill();

private:
    void Choose(int item);
    void SetDefault();
    void Open();
    void SaveAs();

    const TAppStrings& Strings;
    TProfilePanel& Panel;
    const TMainActions& Actions;
    THost Host;
    QWidget* Window;
};
