#include "NomFitxer.h"

#include "EinesFinestra.h"
#include "ResultatsExperiment.h"

namespace tessora {

// The same rule as the experiment export's sound file.
QString NomAmbExtensioWav(const QString& nom) {
    return Q(NomsFitxersExportacio(nom.toStdString()).Wav);
}

} // namespace tessora
