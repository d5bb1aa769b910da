#include "GraellaTessora.h"

#include "UnitCalculsReconeixement.h"

#include <algorithm>
#include <vector>

namespace tessora {

std::string EtiquetaAnalisi(const AnalisiBloc& analisi) {
    return (analisi.Vocal.empty() ? std::string("-") : analisi.Vocal) + ' ' +
           std::to_string(analisi.Frequencia) + ' ' + FormatFix(analisi.F1, 0) + ' ' +
           std::to_string(analisi.S2F);
}

TextGrid GraellaTessora(std::span<const EmissioGravacio> emissions, std::span<const AnalisiBloc> analisis,
                        double durada) {
    std::vector<const EmissioGravacio*> perInici;
    for (const EmissioGravacio& emissio : emissions)
        perInici.push_back(&emissio);
    std::stable_sort(perInici.begin(), perInici.end(),
                     [](const auto* a, const auto* b) { return a->PrimerBloc < b->PrimerBloc; });
    std::vector<const AnalisiBloc*> perBloc;
    for (const AnalisiBloc& analisi : analisis)
        perBloc.push_back(&analisi);
    std::stable_sort(perBloc.begin(), perBloc.end(),
                     [](const auto* a, const auto* b) { return a->Bloc < b->Bloc; });
    perBloc.erase(std::unique(perBloc.begin(), perBloc.end(),
                              [](const auto* a, const auto* b) { return a->Bloc == b->Bloc; }),
                  perBloc.end());

    double fi = durada;
    for (const EmissioGravacio* emissio : perInici)
        fi = std::max(fi, TempsBloc(emissio->DarrerBloc + 1));
    if (!perBloc.empty()) fi = std::max(fi, CentreBloc(perBloc.back()->Bloc));

    TextGrid graella{0.0, fi, {}};
    CapaTextGrid vocal{CapaTextGrid::Tipus::Intervals, kCapaVocal, 0.0, fi, {}, {}};
    double final = 0.0; // where the intervals so far end
    for (const EmissioGravacio* emissio : perInici) {
        const double inici = std::max(TempsBloc(emissio->PrimerBloc), final);
        const double acaba = TempsBloc(emissio->DarrerBloc + 1);
        if (acaba <= inici) continue;
        if (inici > final) vocal.Intervals.push_back({final, inici, ""});
        vocal.Intervals.push_back({inici, acaba, emissio->Vocal});
        final = acaba;
    }
    if (final < fi || vocal.Intervals.empty()) vocal.Intervals.push_back({final, fi, ""});

    CapaTextGrid punts{CapaTextGrid::Tipus::Punts, kCapaAnalisi, 0.0, fi, {}, {}};
    for (const AnalisiBloc* analisi : perBloc)
        punts.Punts.push_back({CentreBloc(analisi->Bloc), EtiquetaAnalisi(*analisi)});
    graella.Capes = {std::move(vocal), std::move(punts)};
    return graella;
}

} // namespace tessora
