#include "EventBlocSo.h"

namespace tessora {

QEvent::Type TipusEventBlocSo() {
    static const auto tipus = static_cast<QEvent::Type>(QEvent::registerEventType());
    return tipus;
}

} // namespace tessora
