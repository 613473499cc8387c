#include "windows/DesktopSession.h"

#include "core/Product.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

using namespace Qt::StringLiterals;

namespace {

QDBusConnection Bus(const QString& address, QDBusConnection::BusType type) {
    if (address.isEmpty())
        return type == QDBusConnection::SystemBus ? QDBusConnection::systemBus()
                                                  : QDBusConnection::sessionBus();
    return QDBusConnection::connectToBus(address, u"zorvane "_s + address);
}

const QString Login1 = u"org.freedesktop.login1"_s;
const QString ScreenSaver = u"org.freedesktop.ScreenSaver"_s;
const QString Notifications = u"org.freedesktop.Notifications"_s;

// Calls `method` without waiting; `answered` gets the reply when it comes.
void CallLater(QDBusConnection& bus, const QDBusMessage& call, QObject* context,
               std::function<void(const QDBusPendingCall&)> answered) {
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answered = std::move(answered)](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         answered(*w);
                     });
}

} // namespace

TSleepInhibitor::TSleepInhibitor(const TBusAddresses& buses, QObject* parent)
    : QObject(parent), System(Bus(buses.System, QDBusConnection::SystemBus)),
      Session(Bus(buses.Session, QDBusConnection::SessionBus)) {}

TSleepInhibitor::~TSleepInhibitor() {
    Release();
}

void TSleepInhibitor::Inhibit(const QString& why) {
    if (Wanted)
        return;
    Wanted = true;
    const quint64 round = ++Round;
    if (!System.isConnected())
        return InhibitScreenSaver(round, why);
    QDBusMessage call = QDBusMessage::createMethodCall(Login1, u"/org/freedesktop/login1"_s,
                                                       Login1 + u".Manager"_s, u"Inhibit"_s);
    call << u"sleep:idle"_s << QString::fromUtf16(ProductName) << why << u"block"_s;
    CallLater(System, call, this, [this, round, why](const QDBusPendingCall& answer) {
        if (round != Round)
            return; // released meanwhile: the descriptor closes with the answer
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply(answer);
        if (reply.isValid() && reply.value().isValid()) {
            Lock = reply.value();
            Hold = THold::Login;
            Q_EMIT HoldingChanged();
        } else {
            InhibitScreenSaver(round, why);
        }
    });
}

void TSleepInhibitor::InhibitScreenSaver(quint64 round, const QString& why) {
    if (!Session.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        ScreenSaver, u"/org/freedesktop/ScreenSaver"_s, ScreenSaver, u"Inhibit"_s);
    call << QString::fromUtf16(ProductName) << why;
    CallLater(Session, call, this, [this, round](const QDBusPendingCall& answer) {
        const QDBusPendingReply<uint> reply(answer);
        if (!reply.isValid())
            return;
        if (round != Round) {
            UnInhibit(reply.value()); // released before the answer came: given back at once
            return;
        }
        Cookie = reply.value();
        Hold = THold::ScreenSaver;
        Q_EMIT HoldingChanged();
    });
}

void TSleepInhibitor::UnInhibit(uint cookie) {
    Session.send(QDBusMessage::createMethodCall(ScreenSaver, u"/org/freedesktop/ScreenSaver"_s,
                                                ScreenSaver, u"UnInhibit"_s)
                 << cookie);
}

void TSleepInhibitor::Release() {
    if (!Wanted)
        return;
    Wanted = false;
    ++Round;
    if (Hold == THold::ScreenSaver)
        UnInhibit(Cookie);
    Lock = QDBusUnixFileDescriptor(); // our copy of the descriptor closes: the lock ends
    const bool held = Hold != THold::None;
    Hold = THold::None;
    if (held)
        Q_EMIT HoldingChanged();
}

TDesktopNotifier::TDesktopNotifier(const TBusAddresses& buses, QObject* parent)
    : QObject(parent), Session(Bus(buses.Session, QDBusConnection::SessionBus)) {
    if (Session.isConnected())
        Session.connect(Notifications, u"/org/freedesktop/Notifications"_s, Notifications,
                        u"ActionInvoked"_s, this, SLOT(ActionInvoked(uint, QString)));
}

void TDesktopNotifier::Notify(const QString& summary, const QString& body,
                              const QString& actionText, const QString& folder) {
    if (!Session.isConnected()) {
        if (Fallback)
            Fallback(summary, body);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        Notifications, u"/org/freedesktop/Notifications"_s, Notifications, u"Notify"_s);
    const QStringList actions =
        folder.isEmpty() ? QStringList() : QStringList{u"default"_s, actionText};
    call << QString::fromUtf16(ProductName) << uint(0) << u"net.zorvane.zorvane"_s << summary
         << body << actions << QVariantMap{{u"desktop-entry"_s, u"net.zorvane.zorvane"_s}}
         << int(-1);
    CallLater(Session, call, this, [this, summary, body, folder](const QDBusPendingCall& answer) {
        const QDBusPendingReply<uint> reply(answer);
        if (reply.isValid())
            Folders.insert(reply.value(), folder);
        else if (Fallback)
            Fallback(summary, body);
    });
}

void TDesktopNotifier::ActionInvoked(uint id, const QString& action) {
    if (action != u"default" || !Folders.contains(id))
        return;
    if (OpenFolder)
        OpenFolder(Folders.value(id));
}

TLauncherEntry::TLauncherEntry(const TBusAddresses& buses, const QString& desktopFile)
    : Session(Bus(buses.Session, QDBusConnection::SessionBus)),
      AppUri(u"application://"_s + desktopFile) {}

void TLauncherEntry::Show(int percent, int filesLeft) {
    if (percent == LastPercent && filesLeft == LastLeft)
        return; // once a percent is enough
    LastPercent = percent;
    LastLeft = filesLeft;
    Send({{u"progress"_s, percent / 100.0},
          {u"progress-visible"_s, true},
          {u"count"_s, qint64(filesLeft)},
          {u"count-visible"_s, filesLeft > 0}});
}

void TLauncherEntry::Clear() {
    LastPercent = LastLeft = -1;
    Send({{u"progress"_s, 0.0},
          {u"progress-visible"_s, false},
          {u"count"_s, qint64(0)},
          {u"count-visible"_s, false}});
}

void TLauncherEntry::Send(const QVariantMap& properties) {
    if (!Session.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        u"/net/zorvane/zorvane"_s, u"com.canonical.Unity.LauncherEntry"_s, u"Update"_s);
    signal << AppUri << properties;
    Session.send(signal);
}
