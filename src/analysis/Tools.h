// Small formatting helpers of the graphs window's grid labels.
#pragma once

#include <cstdint>
#include <string>

namespace tessora {

// Nearest integer, halves to the even neighbour, saturated at +-2000000000. NaN gives 0.
std::int32_t ArrodonirLimitat(double valor);

// Shortest decimal text of `valor` with at most 6 decimals and "." as the separator: a whole value with
// no decimals ("2", "-15"), otherwise 6 decimals rounded with their trailing zeros (and a bare point)
// dropped ("0.1", "2.5"). Above 100000 the fraction is cut off first. A value that is not finite reads
// "INF", "-INF" or "NAN".
std::string FormatarValor(double valor);

} // namespace tessora
