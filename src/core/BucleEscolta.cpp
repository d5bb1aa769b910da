#include "BucleEscolta.h"

#include <algorithm>
#include <cstring>

namespace tessora {

ColorRGB ValorColor(ColorNivell color) {
    switch (color) {
    case ColorNivell::Groc:
        return {255, 255, 0};
    case ColorNivell::Blau:
        return {0, 0, 255};
    case ColorNivell::Vermell:
        return {255, 0, 0};
    }
    return {0, 0, 0};
}

ColorNivell ColorDelNivell(std::int32_t nivell) {
    if (nivell >= kNivellSaturacio) return ColorNivell::Vermell;
    if (nivell > kNivellSilenci) return ColorNivell::Blau;
    return ColorNivell::Groc;
}

std::int32_t BucleEscolta::SpeedButtonEngegarPararClick() {
    if (!Engegat()) {
        estat_.Mostres.fill(0);
        std::fill_n(buffer_.Dades(), kMidaEmissio, kByteSilenci);
        escolta_ = EstatEscolta::Escoltant;
        return captura_.EngegarEntradaDeSo();
    }
    escolta_ = EstatEscolta::Aturada;
    captura_.PararEntradaDeSo();
    return 0;
}

EfecteBloc BucleEscolta::RebreBlocDeSo(ControlsBucle& controls) {
    EfecteBloc efecte;
    // A notification without a block (a buffer handed back by a stop) has nothing for the loop.
    if (!captura_.ProcessarBufferEntrada()) {
        if (Engegat() && captura_.EntradaPerduda()) {
            SpeedButtonEngegarPararClick();
            efecte.EntradaPerduda = true;
        }
        return efecte;
    }
    if (!Engegat()) return efecte;
    if (controls.Descartar) {
        estatVeu_ = 0;
        return efecte;
    }
    efecte.Escoltat = true;

    auto analitzar = [&]() -> const ResultatReconeixement& {
        efecte.Analisi = CalcularReconeixement(estat_, controls.Analisi);
        if (efecte.Analisi->NouTextFrequenciaMinima)
            controls.Analisi.TextFrequenciaMinima = *efecte.Analisi->NouTextFrequenciaMinima;
        return *efecte.Analisi;
    };

    if (controls.ReconeixementContinu) analitzar();

    std::int32_t nivell = 0;
    for (int i = 0; i < kMidaBloc; ++i)
        nivell = std::max(nivell, estat_.Mostres[i]);
    efecte.Nivell = nivell;
    efecte.Color = ColorDelNivell(nivell);

    if (nivell <= kNivellSilenci) {
        estatVeu_ = 0;
        if (controls.ReconeixementContinu) {
            textLletra_.clear();
            efecte.LletraCanviada = true;
        }
        return efecte;
    }

    if (controls.ReconeixementContinu) estatVeu_ = 1;

    if (!controls.ReconeixementContinu && estatVeu_ < kBlocsPerEmissio) {
        std::memcpy(buffer_.Dades() + static_cast<std::size_t>(estatVeu_) * kMidaBloc,
                    estat_.MostresCrues.data(), kMidaBloc);
        if (estatVeu_ == 2) {
            efecte.PasExperiment = controls.ExperimentEsperant;
            estatVeu_ = 3;
        }
    }

    if (estatVeu_ == 1) {
        if (!controls.ReconeixementContinu) {
            ultimaVocal_ = analitzar().Vocal;
            const bool saturat = nivell >= kNivellSaturacio;
            efecte.NouTitol = saturat ? TitolFinestra::AvisSaturacio : TitolFinestra::Normal;
            efecte.NouColorLletra = saturat ? ColorLletra::Vermell : ColorLletra::Blau;
            textLletra_ = ultimaVocal_;
            efecte.LletraCanviada = true;
        }
        estatVeu_ = 2;
        if (!controls.TextLletra.empty() && controls.TextLletra != textLletra_ && !textLletra_.empty()) {
            SpeedButtonEngegarPararClick();
            efecte.AturadaAutomatica = true;
        }
    } else if (estatVeu_ == 0) {
        estatVeu_ = 1;
    }
    return efecte;
}

} // namespace tessora
