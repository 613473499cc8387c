// Linked into every program of a ThreadSanitizer build. Qt's own locks are futexes inside a
// library the sanitizer does not see into, so it cannot know that an event one thread posts is
// handled after it was posted, nor that a task given to a thread pool runs after it was given:
// every queued call would look like a race on its arguments. Here a call queued through Qt
// releases a sync object and handling any event acquires it; a task given to a pool acquires
// what its giver released, and waiting for a pool acquires what its tasks released. That is the
// order Qt's queues give them.
#include <QCoreApplication>
#include <QObject>
#include <QRunnable>
#include <QThreadPool>
#include <functional>
#include <sanitizer/tsan_interface.h>

namespace {

char QueuedCalls;
char PoolTasksDone;

bool EventDelivered(void**) {
    __tsan_acquire(&QueuedCalls);
    return false; // the event goes on as usual
}

const bool Registered = QInternal::registerCallback(QInternal::EventNotifyCallback, EventDelivered);

} // namespace

// The linker sends our calls of these Qt functions here (-Wl,--wrap); `__real_` is Qt's.
extern "C" {

bool __real__ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv(
    QObject* object, QtPrivate::QSlotObjectBase* slot, Qt::ConnectionType type, void* ret);
bool __wrap__ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv(
    QObject* object, QtPrivate::QSlotObjectBase* slot, Qt::ConnectionType type, void* ret) {
    (void)Registered;
    __tsan_release(&QueuedCalls);
    return __real__ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv(
        object, slot, type, ret);
}

void __real__ZN11QMetaObject8activateEP7QObjectPKS_iPPv(QObject* sender, const QMetaObject* meta,
                                                        int index, void** args);
void __wrap__ZN11QMetaObject8activateEP7QObjectPKS_iPPv(QObject* sender, const QMetaObject* meta,
                                                        int index, void** args) {
    __tsan_release(&QueuedCalls);
    __real__ZN11QMetaObject8activateEP7QObjectPKS_iPPv(sender, meta, index, args);
}

void __real__ZN16QCoreApplication9postEventEP7QObjectP6QEventi(QObject* receiver, QEvent* event,
                                                               int priority);
void __wrap__ZN16QCoreApplication9postEventEP7QObjectP6QEventi(QObject* receiver, QEvent* event,
                                                               int priority) {
    __tsan_release(&QueuedCalls);
    __real__ZN16QCoreApplication9postEventEP7QObjectP6QEventi(receiver, event, priority);
}

void __real__ZN11QThreadPool5startESt8functionIFvvEEi(QThreadPool* pool, std::function<void()> task,
                                                      int priority);
void __wrap__ZN11QThreadPool5startESt8functionIFvvEEi(QThreadPool* pool, std::function<void()> task,
                                                      int priority) {
    // The runnable is made before the release, so that its end on the pool's thread follows it.
    QRunnable* runnable = QRunnable::create([task = std::move(task)] {
        __tsan_acquire(&QueuedCalls);
        task();
        __tsan_release(&PoolTasksDone);
    });
    __tsan_release(&QueuedCalls);
    pool->start(runnable, priority);
}

bool __real__ZN11QThreadPool11waitForDoneEi(QThreadPool* pool, int msecs);
bool __wrap__ZN11QThreadPool11waitForDoneEi(QThreadPool* pool, int msecs) {
    const bool done = __real__ZN11QThreadPool11waitForDoneEi(pool, msecs);
    __tsan_acquire(&PoolTasksDone);
    return done;
}

} // extern "C"
