#pragma once

#include <QString>
#include <QtGlobal>

// How deeply files are analysed when they are added to the list.
enum class TFileAnalysis { faNone, faQuick, faFull };

struct TFontParams {
    QString Name;
    int Size = 0; // points
};

// Directories, tool locations, colours and global options. Colours are laid out 0x00BBGGRR.
struct TAppParams {
    bool DeleteIncomplete = false; // reserved
    bool OverwritePrompt = false;  // reserved
    QString LanguageIni;           // file name of the current language file inside LangDir
    QString ffmpeg;                // the encoder executable; empty when none was found
    QString MediaInfoDll;          // the MediaInfo library; empty when none was found
    QString ToolsDir;
    QString LangDir;
    QString DataDir;
    QString DirListFile;  // reserved
    QString LastDir;      // reserved
    QString IniName;      // the program settings file
    QString LnkShortName; // reserved
    QString FourccTagsFile;
    QString AudioBitratesTxt;
    QString ResolutionTxt;
    QString ProfilesDir;        // the user's profiles, where profiles are saved
    QString ShippedProfilesDir; // the profiles that come with the program; may be ProfilesDir
    QString LastProfileFile;
    QString ShareDir;       // the folder of data/, lang/ and the shipped profiles
    bool Installed = false; // shared files under <prefix>/share/zorvane, not beside the program
    QString LogDir;         // temporary working folder of the running batch
    quint32 ColorProgressDark = 0;  // reserved
    quint32 ColorProgressLight = 0; // reserved
    quint32 ColorOK = 0;
    quint32 ColorError = 0;
    bool DragAcceptDirectories = false;
    bool OpenFileAfterIconClick = false;
    TFileAnalysis FileAnalysis = TFileAnalysis::faNone;
    TFontParams MonospaceFont;
    bool ScrollProgressToBottom = false;
    bool KeepFileDates = false;
};
