#pragma once

#include "encoding/Profiles.h"

#include <QList>
#include <QWidget>

class QComboBox;
struct TAppStrings;

// pnProfile: the profile chooser. Item 0 is the last session, item 1 the encoder defaults, then
// the profiles of the profiles folder.
class TProfilePanel : public QWidget {
    Q_OBJECT

public:
    explicit TProfilePanel(QWidget* parent);

    // Refills the chooser and selects item 0 without loading it.
    void Fill(const QList<TProfileInfo>& profiles, const TAppStrings& strings);
    void SetLang(const TAppStrings& strings);
    // Selects an item without loading it.
    void Select(int item);
    int Selected() const;
    const QList<TProfileInfo>& Profiles() const { return ProfileList; }

Q_SIGNALS:
    // The user chose an item.
    void ProfileChosen(int item);

private:
    QComboBox* cbProfileNew;
    QList<TProfileInfo> ProfileList;
    bool Quiet = false; // the program itself changes the selection
};
