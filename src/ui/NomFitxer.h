// The name a saved sound gets: ".wav" is appended unless one of its last four characters (not bytes) is
// a dot.
#pragma once

#include <QString>

namespace tessora {

// "veu" -> "veu.wav"; "veu.wav", "veu.au", "a.b" keep their name; "veu.wave" -> "veu.wave.wav".
QString NomAmbExtensioWav(const QString& nom);

} // namespace tessora
