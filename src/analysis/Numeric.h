// Numeric helpers shared by the analysis.
//
// Every value the analysis keeps is a 32-bit float; every step that produces one is evaluated in long
// double (x87 extended precision on x86-64) and rounded once when it is stored. `Desa` is that store.
// A store that overflows, or the result of a division by zero or an invalid operation, is not a finite
// float: the routines test for it and abandon the computation, as the recogniser must never carry an
// infinity or a NaN into the next step.
#pragma once

#include <cmath>
#include <cstdint>

namespace tessora {

using Estesa = long double;

// Rounds an extended value to the stored 32-bit float (nearest, ties to even).
inline float Desa(Estesa v) {
    return static_cast<float>(v);
}

inline bool EsFinit(float v) {
    return std::isfinite(v);
}

// Round: nearest integer, halves to the even neighbour (262.5 gives 262). Only for values that fit.
inline std::int32_t Arrodonir(Estesa v) {
    return static_cast<std::int32_t>(std::nearbyint(v));
}

// Whole number as typed in an edit: an optional sign and decimal digits, within the 32-bit range,
// and nothing else. Returns false for any other text.
bool LlegirEnter(const char* text, std::int32_t& valor);

} // namespace tessora
