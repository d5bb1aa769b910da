// --carta: the vowel chart of every utterance of the recording, written as an SVG or PNG picture.
#pragma once

#include "CartaVocals.h"
#include "DibuixCarta.h"

#include <iosfwd>
#include <string>

namespace tessora {

// Empty when `fitxer` names a picture the chart can be written as (.svg or .png, any case); else why not.
std::string ComprovarNomCarta(const std::string& fitxer);

// Draws the chart as the window does, on a 640 x 520 picture, and replaces `fitxer` with it whole.
// Returns 0, or 1 after a line on `errors` (in the chart's language, with the system's reason).
int DesarCarta(const std::string& fitxer, const CartaVocals& carta, const OpcionsDibuixCarta& opcions,
               std::ostream& errors);

} // namespace tessora
