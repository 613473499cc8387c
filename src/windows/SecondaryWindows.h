#pragma once

#include "windows/Widgets.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

struct TAppStrings;

// The main window's secondary windows, registered when each is made: they follow the language,
// and stay-on-top, closing and (for those that hide with it) hiding the main window reach them.
class TSecondaryWindows : public QObject {
    Q_OBJECT

public:
    using TSetLang = std::function<void(const TAppStrings&)>;

    explicit TSecondaryWindows(QObject* parent = nullptr) : QObject(parent) {}

    // A window or panel follows the language from now on; `setLang` sets its texts.
    void Follow(QObject* window, TSetLang setLang);
    template <class TWindow>
    void Follow(TWindow* window) {
        Follow(window, [window](const TAppStrings& strings) { window->SetLang(strings); });
    }

    // Registers a secondary window: it follows the language through `setLang`, or its own
    // SetLang when it has one.
    template <class TWindow>
    TWindow* Add(TWindow* window, bool hidesWithMain, TSetLang setLang = {}) {
        if (setLang)
            Follow(window, std::move(setLang));
        else if constexpr (requires(const TAppStrings& strings) { window->SetLang(strings); })
            Follow(window);
        Windows.append({window, hidesWithMain});
        NameControlsFromLabels(window);
        return window;
    }

    // The windows made so far and still there.
    QList<QWidget*> All() const;
    // Hides the windows that hide with the main window.
    void HideWithMain() const;
    // Every registered window goes to the normal style and back, so it stays above a main
    // window that has just changed its own.
    void RenewStayOnTop() const;

Q_SIGNALS:
    // The catalogue's texts changed.
    void LanguageChanged(const TAppStrings& strings);

private:
    struct TEntry {
        QPointer<QWidget> Window;
        bool HidesWithMain = false;
    };
    QList<TEntry> Windows;
};
