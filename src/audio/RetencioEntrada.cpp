#include "RetencioEntrada.h"

#include <algorithm>

namespace tessora {

void RetencioEntrada::Lliurar(std::span<const std::uint8_t> dades,
                              const DispositiuEntrada::Receptor& receptor) {
    if (!retingut_.empty() && capacitat_ > 0) {
        const std::size_t n = std::min(retingut_.size(), capacitat_);
        capacitat_ -= n;
        receptor({retingut_.data(), n});
        retingut_.erase(retingut_.begin(), retingut_.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (dades.empty()) return;
    if (retingut_.empty() && capacitat_ > 0) {
        const std::size_t n = std::min(dades.size(), capacitat_);
        capacitat_ -= n;
        receptor(dades.first(n));
        dades = dades.subspan(n);
    }
    const std::size_t aRetenir = std::min(dades.size(), maxim_ - std::min(retingut_.size(), maxim_));
    retingut_.insert(retingut_.end(), dades.begin(), dades.begin() + static_cast<std::ptrdiff_t>(aRetenir));
    dades = dades.subspan(aRetenir);
    if (!dades.empty()) receptor(dades); // no room anywhere: the ring drops these and counts them
}

} // namespace tessora
