#pragma once

#include "app/ProgramSettings.h"
#include "encoding/EncoderSettings.h"

#include <QSize>
#include <QString>
#include <functional>

class QWidget;
class TLangIniList;
struct TAppStrings;

// The program's settings file and the last session's encoder settings: what start-up reads and
// closing writes. The window gives its own part (place, panels, list columns) through the host.
class TSettingsFileController {
public:
    struct THost {
        // Puts the window's current state into the record.
        std::function<void(TProgramSettings&)> ReadWindow;
        // Shows the state read from the file.
        std::function<void(const TProgramSettings&)> ShowWindow;
        // The encoder settings as the controls hold them now.
        std::function<const TEncoderSettings&()> ReadEncoderSettings;
    };

    TSettingsFileController(TAppStrings& strings, THost host, QWidget* window);

    // Finds the program's folders and tools, and the helper that reads media files. True when
    // the system's language comes before the saved one.
    static bool StartUp(const QString& appDir);
    // The shipped language files, and the one chosen: the saved one, or the system's.
    void ChooseLanguage(TLangIniList& languages, bool systemLanguageFirst);
    // Reads the settings file; a missing file leaves the window as it is.
    void Load(const QSize& screenSize);
    // The settings as they stand now, as the file would hold them.
    TProgramSettings Current() const;
    // Writes the settings file and the last session's profile; a failure is told once.
    void Save();

    TProgramSettings& Program() { return Program_; }
    const TProgramSettings& Program() const { return Program_; }

private:
    TAppStrings& Strings;
    THost Host;
    QWidget* Window;
    TProgramSettings Program_;
};
