#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class QLabel;
class QCheckBox;
class QSlider;
class QSpinBox;
struct TAppStrings;
struct TFontParams;
class QFont;

// Small helpers shared by the windows: named controls, lists filled without side effects,
// catalogue texts applied by name, and the one place where exceptions of an action end.

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1StringView(name));
    return widget;
}

QComboBox* NewCombo(QWidget* parent, const char* name, bool editable = false);
// A list as wide as its longest item, for lists whose items are captions in the language.
QComboBox* WideEnough(QComboBox* combo);
QLabel* NewLabel(QWidget* parent, const char* name, const QString& text = {});
QCheckBox* NewCheck(QWidget* parent, const char* name);
QSlider* NewTrackBar(QWidget* parent, const char* name, int min, int max, int position);
QSpinBox* NewUpDown(QWidget* parent, const char* name, int min, int max, int step, int value);

// Replaces the items and keeps the typed text of an editable list.
void FillCombo(QComboBox* combo, const QStringList& items);
// Selects the item equal to `text`, or shows it as typed text when the list has no such item.
void SetComboText(QComboBox* combo, const QString& text);

// Gives every label, button and group box below `root` whose name is an entry of section Main
// the text of that entry.
void ApplyMainTexts(QWidget* root, const TAppStrings& strings);

// Names for screen readers: every control below `root` that the keyboard reaches and that has no
// text of its own is named after its label (a label's buddy; else the label before it in its
// layout row, which becomes its buddy), else its group box's title, else its tooltip. Run again
// after the texts change: the names follow the language.
void NameControlsFromLabels(QWidget* root);

// Runs `action`; an exception never leaves it: its message is shown as a warning.
void Guarded(QWidget* owner, const std::function<void()>& action);
// What Guarded says of a failure that gives no reason, in the current language.
void SetUnexpectedErrorText(const QString& text);
// The program's warning box: warning icon, OK, kept on top, titled with the product name.
void ShowWarning(QWidget* owner, const QString& text, const QString& title = {});
// Where warnings go instead of the box (tests collect them); an empty handler restores the box.
void SetWarningHandler(std::function<void(const QString&)> handler);

// The font of the program's text panes: the chosen monospace family, else the system's
// fixed-width font.
QFont MonospaceFont(const TFontParams& font);

// A file dialog filter from a catalogue text such as "Ini files (*.INI)": the text without its
// own pattern, then `patterns` in parentheses (Linux names are case-sensitive).
QString DialogFilter(const QString& text, const QString& patterns);
