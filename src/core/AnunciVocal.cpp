#include "AnunciVocal.h"

#include <utility>

namespace tessora {

std::optional<std::string> AnunciVocal::Rebre(std::string text, std::int64_t araMs) {
    if (text == anunciat_) {
        pendent_.reset(); // back to what was said last: nothing new to say
        return std::nullopt;
    }
    if (pendent_ || (darrer_ && araMs - *darrer_ < kIntervalMs)) {
        pendent_ = std::move(text);
        return std::nullopt;
    }
    anunciat_ = std::move(text);
    darrer_ = araMs;
    return anunciat_;
}

std::optional<std::int64_t> AnunciVocal::Termini() const {
    if (!pendent_) return std::nullopt;
    return *darrer_ + kIntervalMs;
}

std::optional<std::string> AnunciVocal::Vencer(std::int64_t araMs) {
    if (!pendent_ || araMs < *Termini()) return std::nullopt;
    anunciat_ = std::move(*pendent_);
    pendent_.reset();
    darrer_ = araMs;
    return anunciat_;
}

} // namespace tessora
