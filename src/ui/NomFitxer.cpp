#include "NomFitxer.h"

#include "EinesFinestra.h"
#include "ResultatsExperiment.h"

#include <filesystem>

namespace tessora {

// The same rule as the experiment export's sound file.
QString NomAmbExtensioWav(const QString& nom) {
    return Q(NomsFitxersExportacio(nom.toStdString()).Wav);
}

QString NomGraellaSessio(const QString& wav) {
    return Q(std::filesystem::path(wav.toStdString()).replace_extension(".TextGrid").string());
}

} // namespace tessora
