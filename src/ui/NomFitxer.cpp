#include "NomFitxer.h"

namespace tessora {

QString NomAmbExtensioWav(const QString& nom) {
    return nom.right(4).contains(QLatin1Char('.')) ? nom : nom + QStringLiteral(".wav");
}

} // namespace tessora
