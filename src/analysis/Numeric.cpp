#include "Numeric.h"

#include <limits>

namespace tessora {

bool LlegirEnter(const char* text, std::int32_t& valor) {
    const char* p = text;
    bool negatiu = false;
    if (*p == '+' || *p == '-') negatiu = (*p++ == '-');
    if (*p == '\0') return false;
    std::int64_t acumulat = 0;
    const std::int64_t limit = negatiu ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                       : std::numeric_limits<std::int32_t>::max();
    for (; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        acumulat = acumulat * 10 + (*p - '0');
        if (acumulat > limit) return false;
    }
    valor = static_cast<std::int32_t>(negatiu ? -acumulat : acumulat);
    return true;
}

} // namespace tessora
