#include "windows/MainActions.h"

#include "app/MainWindowRules.h"
#include "localisation/AppStrings.h"

#include <QAction>
#include <QWidget>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct TActionEntry {
    const char* Name;
    QAction* TMainActions::*Member;
    std::optional<QKeyCombination> Key;
    bool Checkable = false;
};

// Every action but the column ones, in the order they are made.
const TActionEntry Entries[] = {
    {"actConvert", &TMainActions::actConvert, Qt::CTRL | Qt::Key_E},
    {"actSaveBat", &TMainActions::actSaveBat, {}},
    {"actShowOptions", &TMainActions::actShowOptions, Qt::Key_F12},
    {"actStayOnTop", &TMainActions::actStayOnTop, {}, true},
    {"actMinimizeToTray", &TMainActions::actMinimizeToTray, Qt::CTRL | Qt::SHIFT | Qt::Key_M},
    {"actExit", &TMainActions::actExit, {}},
    {"actShowProgressWindow", &TMainActions::actShowProgressWindow, Qt::Key_F8},
    {"actShowHideFileInfo", &TMainActions::actShowHideFileInfo, Qt::Key_F10},
    {"actShowHideFormErrors", &TMainActions::actShowHideFormErrors, Qt::Key_F11},
    {"actAddFiles", &TMainActions::actAddFiles, Qt::CTRL | Qt::Key_O},
    {"actAddFolder", &TMainActions::actAddFolder, Qt::CTRL | Qt::Key_F},
    {"actRemoveChecked", &TMainActions::actRemoveChecked, {}},
    {"actClearFileList", &TMainActions::actClearFileList, {}},
    {"actCheckAll", &TMainActions::actCheckAll, Qt::CTRL | Qt::Key_A},
    {"actUncheckAll", &TMainActions::actUncheckAll, {}},
    {"actInvertSelection", &TMainActions::actInvertSelection, Qt::CTRL | Qt::Key_I},
    {"actCheckSelected", &TMainActions::actCheckSelected, {}},
    {"actUncheckSelected", &TMainActions::actUncheckSelected, {}},
    {"actLoadFileList", &TMainActions::actLoadFileList, Qt::CTRL | Qt::SHIFT | Qt::Key_O},
    {"actSaveFileList", &TMainActions::actSaveFileList, Qt::CTRL | Qt::SHIFT | Qt::Key_S},
    {"actExploreDirectory", &TMainActions::actExploreDirectory, {}},
    {"actLoadProfile", &TMainActions::actLoadProfile, Qt::CTRL | Qt::Key_P},
    {"actSaveProfile", &TMainActions::actSaveProfile, Qt::CTRL | Qt::Key_S},
    {"actLoadSelectedProfile", &TMainActions::actLoadSelectedProfile, {}},
    {"actSetDefaultEncoderSettings", &TMainActions::actSetDefaultEncoderSettings, {}},
    {"actShowCmdLine", &TMainActions::actShowCmdLine, Qt::Key_F2},
    {"actPreview", &TMainActions::actPreview, Qt::Key_F6},
    {"actToolsInfo", &TMainActions::actToolsInfo, Qt::CTRL | Qt::SHIFT | Qt::Key_I},
    {"actHelp", &TMainActions::actHelp, Qt::Key_F1},
    {"actGoToHomePage", &TMainActions::actGoToHomePage, {}},
    {"actGoToDonation", &TMainActions::actGoToDonation, {}},
    {"actGoToFacebook", &TMainActions::actGoToFacebook, {}},
    {"actGoToTwitter", &TMainActions::actGoToTwitter, {}},
    {"actCheckUpdate", &TMainActions::actCheckUpdate, Qt::CTRL | Qt::SHIFT | Qt::Key_U},
    {"actAbout", &TMainActions::actAbout, Qt::CTRL | Qt::SHIFT | Qt::Key_F1},
    {"actShowHideMainWindow", &TMainActions::actShowHideMainWindow, {}},
    {"actBrowseOutDir", &TMainActions::actBrowseOutDir, {}},
    {"actExploreOutDir", &TMainActions::actExploreOutDir, {}},
    {"actEsc", &TMainActions::actEsc, Qt::Key_Escape},
};

// The columns menus: the columns by name, a separator as null.
const char16_t* const ColumnMenuOrder[] = {u"colNo",
                                           u"colIcon",
                                           u"colDirectory",
                                           u"colSize",
                                           u"colDuration",
                                           nullptr,
                                           u"colVideo",
                                           u"colVideoCodec",
                                           u"colVideoCodecID",
                                           u"colVideoProfile",
                                           u"colVideoBitrate",
                                           u"colVideoWidth",
                                           u"colVideoHeight",
                                           u"colVideoResolution",
                                           u"colVideoDisplayAspect",
                                           u"colVideoFPS",
                                           u"colVideoScanType",
                                           u"colVideoBpp",
                                           u"colVideoStreamSize",
                                           nullptr,
                                           u"colAudio",
                                           u"colAudioCodec",
                                           u"colAudioCodecID",
                                           u"colAudioProfile",
                                           u"colAudioBitrate",
                                           u"colAudioChannels",
                                           u"colAudioSampling",
                                           u"colAudioStreamSize",
                                           nullptr,
                                           u"colStatus"};

// "colVideoCodec" has the action "actColVideoCodecVisible".
QString ColumnActionName(int column) {
    return u"actCol"_s + QString::fromUtf16(ListColumns[size_t(column)].Name).mid(3) + u"Visible"_s;
}

void SetCaption(QAction* action, const QString& caption) {
    action->setText(caption);
    action->setToolTip(caption);
}

} // namespace

void TMainActions::Create(QWidget* owner) {
    const auto make = [owner](const QString& name) {
        auto* action = new QAction(owner);
        action->setObjectName(name);
        owner->addAction(action); // shortcuts work whatever menu or button shows the action
        return action;
    };
    for (const TActionEntry& entry : Entries) {
        QAction* action = make(QLatin1StringView(entry.Name));
        if (entry.Key)
            action->setShortcut(QKeySequence(*entry.Key));
        action->setCheckable(entry.Checkable);
        this->*entry.Member = action;
    }
    actGoToFacebook->setText(u"Facebook"_s);
    actGoToTwitter->setText(u"Twitter"_s);
    for (int i = 0; i < ListColumnCount; ++i)
        if (ListColumns[size_t(i)].Hideable) {
            actColVisible[size_t(i)] = make(ColumnActionName(i));
            actColVisible[size_t(i)]->setCheckable(true);
        }
}

QList<QAction*> TMainActions::All() const {
    QList<QAction*> all;
    for (const TActionEntry& entry : Entries)
        all.append(this->*entry.Member);
    for (QAction* action : actColVisible)
        if (action)
            all.append(action);
    return all;
}

QAction* TMainActions::ByName(QStringView name) const {
    for (QAction* action : All())
        if (action && action->objectName() == name)
            return action;
    return nullptr;
}

QList<QAction*> TMainActions::ColumnMenu() const {
    QList<QAction*> menu;
    for (const char16_t* name : ColumnMenuOrder)
        menu.append(name ? actColVisible[size_t(ListColumnIndex(name))] : nullptr);
    return menu;
}

void TMainActions::SetLang(const TAppStrings& strings) {
    for (const TActionEntry& entry : Entries) {
        QAction* action = this->*entry.Member;
        if (const QString* text = FindCatalogText(strings, u"Main."_s + action->objectName()))
            SetCaption(action, *text);
    }
    SetCaption(actSaveBat, strings.Main.actSaveBAT);
    SetCaption(actHelp, strings.Main.mnuHelp);
    SetCaption(actGoToDonation, strings.About.Donation);
    // A column action takes its column's header text.
    for (int i = 0; i < ListColumnCount; ++i)
        if (QAction* action = actColVisible[size_t(i)])
            if (const QString* text = FindCatalogText(
                    strings, u"Main."_s + QString::fromUtf16(ListColumns[size_t(i)].Name)))
                SetCaption(action, *text);
    actAddFiles->setIconText(strings.Main.btnAdd);
    actAddFolder->setIconText(strings.Main.btnAddFolder);
    actRemoveChecked->setIconText(strings.Main.btnRemove);
    actConvert->setIconText(strings.Main.btnConvert);
    actShowHideFileInfo->setIconText(strings.Main.btnFileInfo);
    actShowOptions->setIconText(strings.Main.btnOptions);
}

void TMainActions::ApplyStates(const TMainActionStates& on) {
    const std::pair<QAction*, bool> states[] = {
        {actConvert, on.Convert},
        {actSaveBat, on.SaveBat},
        {actRemoveChecked, on.RemoveChecked},
        {actShowHideFileInfo, on.ShowHideFileInfo},
        {actPreview, on.ShowHideFileInfo}, // both want a row
        {actClearFileList, on.ClearFileList},
        {actInvertSelection, on.InvertSelection},
        {actSaveFileList, on.SaveFileList},
        {actCheckAll, on.CheckAll},
        {actUncheckAll, on.UncheckAll},
        {actCheckSelected, on.CheckSelected},
        {actUncheckSelected, on.UncheckSelected},
        {actExploreDirectory, on.ExploreDirectory},
        {actBrowseOutDir, on.BrowseOutDir},
        {actExploreOutDir, on.ExploreOutDir},
    };
    for (const auto& [action, enabled] : states)
        action->setEnabled(enabled);
}
