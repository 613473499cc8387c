// The desktop's conventions around a batch, against real message-bus daemons of the test's own:
// the sleep lock, the notification (shown by a real notification server) and the taskbar entry.

#include "TestSupport.h"
#include "windows/DesktopSession.h"
#include "windows/FormMain.h"
#include "windows/panels/FileListPanel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A message bus of the test's own: no services but those the test registers (no activation).
class TPrivateBus {
public:
    explicit TPrivateBus(const TScratchDir& dir, const QString& name) {
        const QString config = dir.Path(name + u".conf"_s);
        QDir().mkpath(dir.Path(name));
        WriteFile(config,
                  (u"<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                   u"1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                   u"busconfig.dtd\"><busconfig><type>session</type><listen>unix:dir="_s +
                   dir.Path(name) +
                   u"</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                   u"<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop="
                   u"\"true\"/><allow own=\"*\"/></policy></busconfig>"_s)
                      .toUtf8());
        Daemon.Start(u"dbus-daemon"_s,
                     {u"--config-file="_s + config, u"--nofork"_s, u"--print-address=1"_s});
        if (Daemon.WaitForOutput([](const QByteArray& out) { return out.contains('\n'); }, 10000))
            Address = QString::fromUtf8(Daemon.Out()).trimmed();
    }
    QString Address;

private:
    TTestProcess Daemon;
};

// Calls on a service arrive through the bus while the test waits.
bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
    for (int waited = 0; !done() && waited < ms; waited += 20)
        QTest::qWait(20);
    return done();
}

class TLoginManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    ~TLoginManager() override {
        if (ReadEnd >= 0)
            ::close(ReadEnd);
    }
    QStringList Calls;
    int ReadEnd = -1; // sees the end of the file once every copy of the lock is closed
    bool Released() const {
        pollfd p{ReadEnd, POLLIN, 0};
        return ReadEnd >= 0 && ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLIN));
    }

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        Calls.append(what + u'|' + who + u'|' + why + u'|' + mode);
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return {};
        ReadEnd = fds[0];
        QDBusUnixFileDescriptor lock(fds[1]); // a copy of its own
        ::close(fds[1]);
        return lock;
    }
};

class TScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList Calls;

public Q_SLOTS:
    uint Inhibit(const QString& application, const QString& why) {
        Calls.append(u"Inhibit|"_s + application + u'|' + why);
        return 42;
    }
    void UnInhibit(uint cookie) { Calls.append(u"UnInhibit|"_s + QString::number(cookie)); }
};

class TLauncherListener : public QObject {
    Q_OBJECT

public:
    QList<std::pair<QString, QVariantMap>> Updates;

public Q_SLOTS:
    void Update(const QString& uri, const QVariantMap& properties) {
        Updates.append({uri, properties});
    }
};

class TNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList Bodies;

public Q_SLOTS:
    uint Notify(const QString&, uint, const QString&, const QString&, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        Bodies.append(body);
        return 7;
    }
};

// A service's own connection to a bus, under that name.
QDBusConnection Serve(const QString& address, const QString& service, const QString& path,
                      QObject* object) {
    QDBusConnection bus = QDBusConnection::connectToBus(address, service + address);
    EXPECT_TRUE(bus.isConnected()) << address.toStdString();
    EXPECT_TRUE(bus.registerService(service));
    EXPECT_TRUE(bus.registerObject(path, object, QDBusConnection::ExportAllSlots));
    return bus;
}

} // namespace

TEST(DesktopSession, TheLoginManagersLockIsHeldUntilReleased) {
    TScratchDir dir;
    TPrivateBus system(dir, u"system"_s), session(dir, u"session"_s);
    ASSERT_FALSE(system.Address.isEmpty());
    TLoginManager login;
    Serve(system.Address, u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s, &login);
    TScreenSaver saver;
    Serve(session.Address, u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s,
          &saver);

    TSleepInhibitor inhibitor({system.Address, session.Address});
    inhibitor.Inhibit(u"Converting"_s);
    ASSERT_TRUE(WaitUntil([&] { return inhibitor.Holding() == TSleepInhibitor::THold::Login; }));
    EXPECT_EQ(login.Calls, QStringList{u"sleep:idle|Zorvane|Converting|block"_s});
    EXPECT_FALSE(login.Released());
    EXPECT_TRUE(saver.Calls.isEmpty()); // the login manager answered: no second lock
    inhibitor.Release();
    EXPECT_TRUE(WaitUntil([&] { return login.Released(); }));
    EXPECT_EQ(inhibitor.Holding(), TSleepInhibitor::THold::None);
}

TEST(DesktopSession, WithoutALoginManagerTheScreenSaverIsAsked) {
    TScratchDir dir;
    TPrivateBus system(dir, u"system"_s), session(dir, u"session"_s);
    ASSERT_FALSE(session.Address.isEmpty());
    TScreenSaver saver;
    Serve(session.Address, u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s,
          &saver);
    {
        TSleepInhibitor inhibitor({system.Address, session.Address});
        inhibitor.Inhibit(u"Converting"_s);
        ASSERT_TRUE(
            WaitUntil([&] { return inhibitor.Holding() == TSleepInhibitor::THold::ScreenSaver; }));
        EXPECT_EQ(saver.Calls, QStringList{u"Inhibit|Zorvane|Converting"_s});
    } // going away releases too
    EXPECT_TRUE(WaitUntil([&] { return saver.Calls.size() == 2; }));
    EXPECT_EQ(saver.Calls.value(1), u"UnInhibit|42");

    // No service on either bus, or no bus at all: nothing is held and nothing is said.
    TPrivateBus empty(dir, u"empty"_s);
    for (const TBusAddresses& buses :
         {TBusAddresses{empty.Address, empty.Address},
          TBusAddresses{u"unix:path=/nonexistent/bus"_s, u"unix:path=/nonexistent/bus"_s}}) {
        TSleepInhibitor none(buses);
        none.Inhibit(u"Converting"_s);
        QTest::qWait(300);
        EXPECT_EQ(none.Holding(), TSleepInhibitor::THold::None);
        none.Release();
    }
}

TEST(DesktopSession, TheTaskbarEntryFollowsTheBatch) {
    TScratchDir dir;
    TPrivateBus session(dir, u"session"_s);
    ASSERT_FALSE(session.Address.isEmpty());
    QDBusConnection listen =
        QDBusConnection::connectToBus(session.Address, u"listener "_s + session.Address);
    TLauncherListener listener;
    ASSERT_TRUE(listen.connect(QString(), QString(), u"com.canonical.Unity.LauncherEntry"_s,
                               u"Update"_s, &listener, SLOT(Update(QString, QVariantMap))));
    TLauncherEntry entry(TBusAddresses{{}, session.Address});
    entry.Show(40, 3);
    entry.Show(40, 3); // the same again is not sent
    entry.Show(75, 1);
    entry.Clear();
    ASSERT_TRUE(WaitUntil([&] { return listener.Updates.size() == 3; }));
    QTest::qWait(100);
    ASSERT_EQ(listener.Updates.size(), 3);
    EXPECT_EQ(listener.Updates.at(0).first, u"application://net.zorvane.zorvane.desktop");
    const QVariantMap first = listener.Updates.at(0).second;
    EXPECT_DOUBLE_EQ(first.value(u"progress"_s).toDouble(), 0.4);
    EXPECT_EQ(first.value(u"count"_s).toLongLong(), 3);
    EXPECT_TRUE(first.value(u"progress-visible"_s).toBool());
    EXPECT_EQ(listener.Updates.at(1).second.value(u"count"_s).toLongLong(), 1);
    EXPECT_FALSE(listener.Updates.at(2).second.value(u"progress-visible"_s).toBool());
    EXPECT_FALSE(listener.Updates.at(2).second.value(u"count-visible"_s).toBool());
}

// Debian's dunst shows the notification on an X server of the test's own and records it through
// a rule's script; choosing its action opens the output folder.
TEST(DesktopSession, TheNotificationReachesARealNotificationServer) {
    if (QStandardPaths::findExecutable(u"dunst"_s).isEmpty() ||
        QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty())
        GTEST_SKIP() << "dunst and Xvfb are installed by setup.sh";
    TScratchDir dir;
    TPrivateBus session(dir, u"session"_s);
    ASSERT_FALSE(session.Address.isEmpty());
    TTestProcess x;
    ASSERT_TRUE(x.Start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"640x480x24"_s,
                                    u"-nolisten"_s, u"tcp"_s}));
    ASSERT_TRUE(x.WaitForOutput([](const QByteArray& out) { return out.contains('\n'); }, 10000));
    const QString display = u":"_s + QString::fromUtf8(x.Out()).trimmed();

    const QString received = dir.Path(u"received.txt"_s);
    const QString script = dir.Path(u"record.sh"_s);
    WriteFile(script, ("#!/bin/sh\nprintf '%s|%s|%s\\n' \"$1\" \"$2\" \"$3\" >> '" +
                       received.toUtf8() + "'\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    const QString config = dir.Path(u"dunstrc"_s);
    WriteFile(config, ("[global]\n    monitor = 0\n[record]\n    appname = \"Zorvane\"\n"
                       "    script = \"" +
                       script.toUtf8() + "\"\n"));
    const QStringList environment = {u"DISPLAY="_s + display,
                                     u"DBUS_SESSION_BUS_ADDRESS="_s + session.Address,
                                     u"WAYLAND_DISPLAY="_s};
    TTestProcess dunst;
    ASSERT_TRUE(dunst.Start(u"dunst"_s, {u"-config"_s, config}, {{}, {}, environment}));
    QDBusConnection probe =
        QDBusConnection::connectToBus(session.Address, u"probe "_s + session.Address);
    ASSERT_TRUE(WaitUntil(
        [&] { return probe.interface()->isServiceRegistered(u"org.freedesktop.Notifications"_s); },
        10000));

    TDesktopNotifier notifier(TBusAddresses{{}, session.Address});
    QStringList fallback, opened;
    notifier.Fallback = [&](const QString& summary, const QString&) { fallback.append(summary); };
    notifier.OpenFolder = [&](const QString& folder) { opened.append(folder); };
    notifier.Notify(u"Zorvane"_s, u"Files converted: 12, failed: 1"_s, u"Open output folder"_s,
                    u"/videos/out"_s);
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(received).size() > 0; }, 10000));
    EXPECT_EQ(QString::fromUtf8(ReadFile(received)),
              u"Zorvane|Zorvane|Files converted: 12, failed: 1\n");
    EXPECT_TRUE(fallback.isEmpty());

    // The user chooses the notification's action (dunst's own control tool).
    TTestProcess control;
    ASSERT_TRUE(control.Start(u"dunstctl"_s, {u"action"_s, u"0"_s}, {{}, {}, environment}));
    control.WaitForFinished(10000);
    EXPECT_TRUE(WaitUntil([&] { return !opened.isEmpty(); }));
    EXPECT_EQ(opened, QStringList{u"/videos/out"_s});

    // Without a notification service the fallback says it.
    TPrivateBus empty(dir, u"empty"_s);
    TDesktopNotifier alone(TBusAddresses{{}, empty.Address});
    alone.Fallback = notifier.Fallback;
    alone.Notify(u"Zorvane"_s, u"Files converted: 1"_s, u"Open output folder"_s, u"/videos"_s);
    EXPECT_TRUE(WaitUntil([&] { return !fallback.isEmpty(); }));
}

// The window's batch: awake while it converts, its progress on the taskbar entry, cleared at the
// end, and a notification when the window is not the active one.
TEST(DesktopSession, TheWindowsBatchFollowsTheDesktopsConventions) {
    TScratchDir dir;
    TPrivateBus system(dir, u"system"_s), session(dir, u"session"_s);
    ASSERT_FALSE(session.Address.isEmpty());
    TLoginManager login;
    Serve(system.Address, u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s, &login);
    TNotifications notifications;
    Serve(session.Address, u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
          &notifications);
    QDBusConnection listen =
        QDBusConnection::connectToBus(session.Address, u"listener "_s + session.Address);
    TLauncherListener launcher;
    ASSERT_TRUE(listen.connect(QString(), QString(), u"com.canonical.Unity.LauncherEntry"_s,
                               u"Update"_s, &launcher, SLOT(Update(QString, QVariantMap))));

    QDir().mkpath(dir.Path(u"app"_s));
    TFormMain form(TFormMainOptions{dir.Path(u"app"_s), {}, {system.Address, session.Address}});
    const QString input = dir.Path(u"long.mp4"_s);
    ASSERT_TRUE(QFile::copy(MediaFile(u"long.mp4"_s), input));
    form.FileList()->AddFiles({input});
    for (int i = 0; i < 200 && form.FileList()->Busy(); ++i)
        QTest::qWait(50);
    QSignalSpy finished(&form, &TFormMain::BatchFinished);
    ASSERT_TRUE(form.StartBatch(QString()));
    EXPECT_TRUE(WaitUntil([&] { return !login.Calls.isEmpty(); }));
    EXPECT_TRUE(WaitUntil([&] { return !launcher.Updates.isEmpty(); }, 10000));
    ASSERT_TRUE(!finished.isEmpty() || finished.wait(120000)); // it may be over already
    EXPECT_EQ(login.Calls.size(), 1);
    EXPECT_TRUE(WaitUntil([&] { return login.Released(); }));
    EXPECT_TRUE(WaitUntil([&] { return notifications.Bodies.size() == 1; }));
    EXPECT_EQ(notifications.Bodies.value(0), u"Files converted: 1");
    ASSERT_TRUE(WaitUntil([&] {
        return !launcher.Updates.isEmpty() &&
               !launcher.Updates.last().second.value(u"progress-visible"_s).toBool();
    }));
    EXPECT_TRUE(launcher.Updates.first().second.value(u"progress-visible"_s).toBool());
}

#include "test_desktop_session.moc"
