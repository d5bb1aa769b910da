// A recording held in memory, handed out in the pieces asked for, for the sources that play one.
#pragma once

#include "LecturaSo.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace tessora::proves {

struct MostresEnMemoria final : FontMostres {
    std::vector<std::uint8_t> so;
    std::size_t posicio = 0;
    explicit MostresEnMemoria(std::vector<std::uint8_t> bytes) : so(std::move(bytes)) {}
    std::size_t Llegir(std::span<std::uint8_t> desti) override {
        const std::size_t n = std::min(desti.size(), so.size() - posicio);
        std::copy_n(so.begin() + static_cast<long>(posicio), n, desti.begin());
        posicio += n;
        return n;
    }
};

} // namespace tessora::proves
