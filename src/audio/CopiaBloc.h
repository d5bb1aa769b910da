// The copy-out of a captured block: the analysis works on copies, never on the device buffer.
#pragma once

#include "EstatAnalisi.h"

#include <cstdint>

namespace tessora {

// Mostres[i] = byte i - 127 (silence, 128, reads +1; range -127..128) and MostresCrues[i] = byte i, for
// i = 0..midaBloc-1. Nothing else is touched (Mostres[512] stays as it is).
inline void CopiarBlocCapturat(const std::uint8_t* bloc, int midaBloc, EstatAnalisi& estat) {
    for (int i = 0; i < midaBloc; ++i) {
        estat.Mostres[i] = static_cast<std::int32_t>(bloc[i]) - 127;
        estat.MostresCrues[i] = bloc[i];
    }
}

} // namespace tessora
