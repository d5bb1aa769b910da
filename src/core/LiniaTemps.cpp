#include "LiniaTemps.h"

#include <algorithm>
#include <cstring>

namespace tessora {

const AnalisiBloc* EmissioLinia::AnalisiPrincipal() const {
    if (Analisis.empty()) return nullptr;
    if (!Vocal.empty())
        for (const AnalisiBloc& analisi : Analisis)
            if (analisi.Vocal == Vocal) return &analisi;
    return &Analisis.front();
}

LiniaTemps::LiniaTemps(std::size_t capacitat) : capacitat_(std::max<std::size_t>(capacitat, 1)) {
    // Reserved, not filled: memory is taken as the sound comes, up to the bound, and never moves.
    so_.reserve(capacitat_ * kMidaBloc);
    nivells_.reserve(capacitat_);
}

void LiniaTemps::Afegir(std::span<const std::uint8_t> bloc, std::int32_t nivell,
                        const std::optional<AnalisiBloc>& analisi) {
    const std::int64_t b = rebuts_++;
    const std::size_t mida = std::min(bloc.size(), static_cast<std::size_t>(kMidaBloc));
    const auto nivellGuardat = static_cast<std::uint8_t>(std::clamp(nivell, 0, 255));
    if (nivells_.size() < capacitat_) {
        so_.insert(so_.end(), bloc.begin(), bloc.begin() + static_cast<std::ptrdiff_t>(mida));
        so_.resize(so_.size() + (kMidaBloc - mida), kByteSilenci);
        nivells_.push_back(nivellGuardat);
    } else {
        const std::size_t posicio = static_cast<std::size_t>(b) % capacitat_;
        std::uint8_t* desti = so_.data() + posicio * kMidaBloc;
        std::memcpy(desti, bloc.data(), mida);
        std::fill(desti + mida, desti + kMidaBloc, kByteSilenci);
        nivells_[posicio] = nivellGuardat;
    }
    // The block just overwritten takes with it every utterance that started there or before.
    const std::int64_t primer = PrimerBlocDisponible();
    while (!emissions_.empty() && emissions_.front().PrimerBloc < primer) {
        if (!emissions_.front().Acabada) tallada_ = true; // its later blocks make no utterance of their own
        emissions_.pop_front();
    }

    EmissioLinia* emissio = !emissions_.empty() && !emissions_.back().Acabada ? &emissions_.back() : nullptr;
    if (nivell <= kNivellSilenci) {
        if (emissio) emissio->Acabada = true;
        tallada_ = false;
        return;
    }
    if (tallada_) return;
    if (!emissio) emissio = &emissions_.emplace_back(EmissioLinia{b, b, {}, {}, false, false});
    emissio->DarrerBloc = b;
    emissio->Saturada |= nivell >= kNivellSaturacio;
    if (!analisi) return;
    AnalisiBloc& nova = emissio->Analisis.emplace_back(*analisi);
    nova.Bloc = b;
    if (emissio->Vocal.empty()) emissio->Vocal = nova.Vocal;
}

void LiniaTemps::Tallar() {
    if (!emissions_.empty()) emissions_.back().Acabada = true;
    tallada_ = false;
}

void LiniaTemps::Buidar() {
    rebuts_ = 0;
    so_.clear();
    nivells_.clear();
    emissions_.clear();
    tallada_ = false;
}

std::int64_t LiniaTemps::PrimerBlocDisponible() const {
    return rebuts_ - static_cast<std::int64_t>(nivells_.size());
}

std::optional<std::int32_t> LiniaTemps::Nivell(std::int64_t bloc) const {
    if (bloc < PrimerBlocDisponible() || bloc >= rebuts_) return std::nullopt;
    return nivells_[static_cast<std::size_t>(bloc) % capacitat_];
}

std::vector<std::uint8_t> LiniaTemps::So(std::int64_t primer, std::int64_t darrer) const {
    std::vector<std::uint8_t> so;
    if (primer < PrimerBlocDisponible() || darrer >= rebuts_ || primer > darrer) return so;
    // The ring's slots from `primer` on, in at most two runs: up to the end of the vector, then from its
    // start.
    const std::size_t inici = static_cast<std::size_t>(primer) % capacitat_ * kMidaBloc;
    const std::size_t mida = static_cast<std::size_t>(darrer - primer + 1) * kMidaBloc;
    const std::size_t primeraPart = std::min(mida, so_.size() - inici);
    so.reserve(mida);
    so.insert(so.end(), so_.begin() + static_cast<std::ptrdiff_t>(inici),
              so_.begin() + static_cast<std::ptrdiff_t>(inici + primeraPart));
    so.insert(so.end(), so_.begin(), so_.begin() + static_cast<std::ptrdiff_t>(mida - primeraPart));
    return so;
}

const EmissioLinia* LiniaTemps::EmissioEn(std::int64_t bloc) const {
    const auto despres =
        std::upper_bound(emissions_.begin(), emissions_.end(), bloc,
                         [](std::int64_t b, const EmissioLinia& e) { return b < e.PrimerBloc; });
    if (despres == emissions_.begin()) return nullptr;
    const EmissioLinia& emissio = *std::prev(despres);
    return bloc <= emissio.DarrerBloc ? &emissio : nullptr;
}

std::vector<std::uint8_t> LiniaTemps::SoSencer() const {
    return So(PrimerBlocDisponible(), rebuts_ - 1);
}

TextGrid LiniaTemps::Graella() const {
    const std::int64_t primer = PrimerBlocDisponible();
    std::vector<EmissioGravacio> emissions;
    std::vector<AnalisiBloc> analisis;
    for (const EmissioLinia& emissio : emissions_) {
        emissions.push_back({emissio.PrimerBloc - primer, emissio.DarrerBloc - primer, emissio.Vocal});
        for (AnalisiBloc analisi : emissio.Analisis) {
            analisi.Bloc -= primer;
            analisis.push_back(std::move(analisi));
        }
    }
    return GraellaTessora(emissions, analisis, TempsBloc(rebuts_ - primer));
}

} // namespace tessora
