#include "core/CallRelay.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

const QEvent::Type CallEventType = QEvent::Type(QEvent::registerEventType());

class TCallEvent : public QEvent {
public:
    explicit TCallEvent(std::function<void()> call)
        : QEvent(CallEventType), Call(std::move(call)) {}
    std::function<void()> Call;
};

} // namespace

void TCallRelay::Post(std::function<void()> call) {
    QCoreApplication::postEvent(this, new TCallEvent(std::move(call)));
}

bool TCallRelay::event(QEvent* event) {
    if (event->type() != CallEventType)
        return QObject::event(event);
    static_cast<TCallEvent*>(event)->Call();
    return true;
}
