#pragma once

#include <QObject>
#include <functional>

// Hands calls from other threads to the thread of its owner. The call, and whatever it holds, is
// made whole on the calling thread and handed over with the event: it runs, and is destroyed, on
// the owner's thread, so no part of it is shared between the two afterwards. Calls not yet run
// when the relay goes are dropped with it.
class TCallRelay : public QObject {
public:
    explicit TCallRelay(QObject* owner) : QObject(owner) {}
    // Safe from any thread while the relay exists.
    void Post(std::function<void()> call);

protected:
    bool event(QEvent* event) override;
};
