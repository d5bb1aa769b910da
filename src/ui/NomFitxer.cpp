#include "NomFitxer.h"

#include "ResultatsExperiment.h"

namespace tessora {

// The same rule as the experiment export's sound file.
QString NomAmbExtensioWav(const QString& nom) {
    return QString::fromStdString(NomsFitxersExportacio(nom.toStdString()).Wav);
}

} // namespace tessora
