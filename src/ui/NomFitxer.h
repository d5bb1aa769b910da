// The names a saved sound and its grid get. A sound's: ".wav" is appended unless one of its last four
// characters (not bytes) is a dot.
#pragma once

#include <QString>

namespace tessora {

// "veu" -> "veu.wav"; "veu.wav", "veu.au", "a.b" keep their name; "veu.wave" -> "veu.wave.wav".
QString NomAmbExtensioWav(const QString& nom);

// The TextGrid written beside a saved session (CamiGraellaSessio): "classe.wav" -> "classe.TextGrid".
QString NomGraellaSessio(const QString& wav);

} // namespace tessora
