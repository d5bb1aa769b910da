// The notification of a filled capture buffer as a Qt event, posted to the window that listens.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>

namespace tessora {

// The event type of "a capture buffer is full", registered once for the process.
QEvent::Type TipusEventBlocSo();

// A notifier for UnitEntradaDeSo::EngegarEntradaDeSo: every call posts one event to `finestra`, to be
// handled in order with the window's other events. Nothing is posted once the window is gone.
inline std::function<void()> NotificadorFinestra(QObject* finestra) {
    QPointer<QObject> desti(finestra);
    return [desti] {
        if (desti) QCoreApplication::postEvent(desti, new QEvent(TipusEventBlocSo()));
    };
}

} // namespace tessora
