#include "Tools.h"

#include <cmath>
#include <cstdio>

namespace tessora {

std::int32_t ArrodonirLimitat(double valor) {
    if (valor > 2000000000.0) return 2000000000;
    if (valor < -2000000000.0) return -2000000000;
    if (std::isnan(valor)) return 0;
    return static_cast<std::int32_t>(std::nearbyint(valor));
}

std::string FormatarValor(double valor) {
    // Infinity has no fixed notation for the scan below to end in.
    if (!std::isfinite(valor)) return std::isnan(valor) ? "NAN" : (valor > 0 ? "INF" : "-INF");
    if (valor > 100000.0) valor = std::trunc(valor);
    if (static_cast<double>(ArrodonirLimitat(valor)) == valor) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(ArrodonirLimitat(valor)));
        return text;
    }
    char text[400]; // the widest double in %.6f: 309 digits, sign, point and 6 decimals
    std::snprintf(text, sizeof text, "%.6f", valor);
    std::string fix = text;
    // Six decimals: the scan of the last 7 characters stops at the point at the latest.
    std::size_t fi = fix.size();
    while (fi > fix.size() - 7 && fix[fi - 1] == '0')
        --fi;
    if (fix[fi - 1] == '.') --fi;
    fix.resize(fi);
    return fix;
}

} // namespace tessora
