#include "windows/SecondaryWindows.h"

void TSecondaryWindows::Follow(QObject* window, TSetLang setLang) {
    connect(this, &TSecondaryWindows::LanguageChanged, window, std::move(setLang));
}

QList<QWidget*> TSecondaryWindows::All() const {
    QList<QWidget*> all;
    for (const TEntry& entry : Windows)
        if (entry.Window)
            all.append(entry.Window);
    return all;
}

void TSecondaryWindows::HideWithMain() const {
    for (const TEntry& entry : Windows)
        if (entry.Window && entry.HidesWithMain)
            entry.Window->hide();
}

void TSecondaryWindows::RenewStayOnTop() const {
    for (QWidget* window : All()) {
        const bool shown = window->isVisible();
        window->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown)
            window->show();
    }
}
