// The pitch's average-magnitude-difference curve, at the widest vectors the processor runs.
//
// The curve is integer arithmetic, so every width gives the same values as the plain loop. The width is
// chosen once, at run time, from what the processor reports; the program itself is built for the
// baseline of its architecture and runs wherever that runs.
#pragma once

#include "Constants.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessora {

// Average-magnitude-difference curve D[1..256] (D[0] unused).
using CorbaDiferencies = std::array<std::int32_t, kPuntsAnalisi + 1>;

// Vector widths of the curve, in bits; 0 is the plain loop.
enum class AmpladaVectors { Cap = 0, Bits128 = 128, Bits256 = 256, Bits512 = 512 };

// The widths this processor runs, the plain loop first and the widest last.
const std::vector<AmpladaVectors>& AmpladesDisponibles();

// D[t] = (sum over i = 1..256 of |x[i + t] - x[i]|) / 64 for t = 1..256; reads x[1..512], D[0] is left
// as it was. Blocks whose values span more than 255 take the plain loop at any width. The width must be
// one of AmpladesDisponibles().
void CalcularCorba(const std::int32_t* x, CorbaDiferencies& D, AmpladaVectors amplada);

// The same at the widest of AmpladesDisponibles().
void CalcularCorba(const std::int32_t* x, CorbaDiferencies& D);

} // namespace tessora
