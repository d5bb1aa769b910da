// A scripted input device: the test says what it delivers and when it fails, and reads what the ring
// asked of it.
#pragma once

#include "UnitEntradaDeSo.h"

#include <functional>
#include <numeric>
#include <span>
#include <vector>

namespace tessora::proves {

class DispositiuGuionat final : public DispositiuEntrada {
public:
    std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) override {
        ++Obertures;
        Frequencia = frequencia;
        if (CodiObrir != 0) return CodiObrir;
        receptor_ = std::move(receptor);
        Obert = true;
        return 0;
    }
    void BufferAfegit(std::size_t mida) override {
        BytesDemanats += mida;
        if (AlAfegir) AlAfegir(mida);
    }
    void Tancar() override {
        ++Tancaments;
        Obert = false;
    }
    // Delivers as the sound server would; a closed device delivers nothing.
    void Lliurar(std::span<const std::uint8_t> bytes) {
        if (Obert) receptor_(bytes);
    }
    void Fallar() const { DispositiuEntrada::Fallar(); }
    const Receptor& Desti() const { return receptor_; } // where the bytes go while open

    std::int32_t CodiObrir = 0;
    std::int32_t Frequencia = 0;
    int Obertures = 0;
    int Tancaments = 0;
    std::size_t BytesDemanats = 0;
    bool Obert = false;
    std::function<void(std::size_t)> AlAfegir;

private:
    Receptor receptor_;
};

// A block of 512 bytes counting up from `inici` (wrapping), so each block has its own byte at each index.
inline std::vector<std::uint8_t> BlocComptat(std::uint8_t inici) {
    std::vector<std::uint8_t> b(512);
    std::iota(b.begin(), b.end(), inici);
    return b;
}

} // namespace tessora::proves
