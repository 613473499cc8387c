#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

// The desktop's message buses: the standard ones, or private ones (the tests' own daemons).
struct TBusAddresses {
    QString System;  // empty: the system bus
    QString Session; // empty: the session bus
};

// Keeps the machine awake while a batch runs: the login manager's "sleep:idle" lock on the
// system bus, held as the descriptor it hands out; else the screen saver's inhibition on the
// session bus. Where neither answers nothing happens and nothing is said. The calls never wait:
// an answer that comes after the release is undone at once.
class TSleepInhibitor : public QObject {
    Q_OBJECT

public:
    enum class THold { None, Login, ScreenSaver };

    explicit TSleepInhibitor(const TBusAddresses& buses = {}, QObject* parent = nullptr);
    ~TSleepInhibitor() override;

    void Inhibit(const QString& why);
    void Release();
    THold Holding() const { return Hold; }

Q_SIGNALS:
    // An answer arrived, or the hold was released.
    void HoldingChanged();

private:
    void InhibitScreenSaver(quint64 round, const QString& why);
    void UnInhibit(uint cookie);

    QDBusConnection System;
    QDBusConnection Session;
    bool Wanted = false;
    quint64 Round = 0; // answers of an older round come too late
    THold Hold = THold::None;
    QDBusUnixFileDescriptor Lock;
    uint Cookie = 0;
};

// Says that a batch has ended through the desktop's notification service, with an action that
// opens the output folder; where no service answers, `Fallback` says it instead.
class TDesktopNotifier : public QObject {
    Q_OBJECT

public:
    explicit TDesktopNotifier(const TBusAddresses& buses = {}, QObject* parent = nullptr);

    void Notify(const QString& summary, const QString& body, const QString& actionText,
                const QString& folder);
    // Without a notification service.
    std::function<void(const QString& summary, const QString& body)> Fallback;
    // The action was chosen: opens the folder (tests record it instead).
    std::function<void(const QString& folder)> OpenFolder;

private Q_SLOTS:
    void ActionInvoked(uint id, const QString& action);

private:
    QDBusConnection Session;
    QHash<uint, QString> Folders; // by notification
};

// Progress and the count of files left on the program's taskbar entry, through the launcher
// entry signal that docks and taskbars listen to; cleared at the end.
class TLauncherEntry {
public:
    explicit TLauncherEntry(
        const TBusAddresses& buses = {},
        const QString& desktopFile = QStringLiteral("net.zorvane.zorvane.desktop"));
    void Show(int percent, int filesLeft);
    void Clear();

private:
    void Send(const QVariantMap& properties);

    QDBusConnection Session;
    QString AppUri;
    int LastPercent = -1;
    int LastLeft = -1;
};
