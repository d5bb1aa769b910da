// The bar of the files done, on one line of standard error while it is a terminal.
#pragma once

#include "Descriptor.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

namespace tessora {

// Redrawn as files are done, only when `activa`; every message written to `errors` meanwhile clears it
// first (Esborrar).
class BarraProgres {
public:
    BarraProgres(std::ostream& errors, std::size_t total, bool activa)
        : errors_(errors), total_(total), activa_(activa) {}
    ~BarraProgres() { Esborrar(); }
    BarraProgres(const BarraProgres&) = delete;
    BarraProgres& operator=(const BarraProgres&) = delete;

    void Dibuixar(std::size_t fets) {
        if (!activa_ || fets == dibuixats_) return;
        constexpr std::size_t kAmplada = 30;
        const std::size_t plens = fets * kAmplada / total_;
        const EscripturaErrors propi;
        errors_ << '\r' << '[' << std::string(plens, '#') << std::string(kAmplada - plens, '.') << "] "
                << fets << '/' << total_ << " files" << std::flush;
        dibuixats_ = fets;
        visible_ = true;
    }
    void Esborrar() {
        if (!visible_) return;
        const EscripturaErrors propi;
        errors_ << "\r\033[K" << std::flush;
        visible_ = false;
        dibuixats_ = SIZE_MAX;
    }

private:
    std::ostream& errors_;
    std::size_t total_;
    bool activa_;
    bool visible_ = false;
    std::size_t dibuixats_ = SIZE_MAX;
};

} // namespace tessora
