#include "NomFitxer.h"

#include "EinesFinestra.h"
#include "ResultatsExperiment.h"
#include "Sessio.h"

namespace tessora {

// The same rule as the experiment export's sound file.
QString NomAmbExtensioWav(const QString& nom) {
    return Q(NomsFitxersExportacio(nom.toStdString()).Wav);
}

QString NomGraellaSessio(const QString& wav) {
    return Q(CamiGraellaSessio(wav.toStdString()).string());
}

} // namespace tessora
