// A scripted input device, shared by the tests of the capture ring and of the windows.
#pragma once

#include "UnitEntradaDeSo.h"

#include <functional>
#include <span>

namespace tessora::proves {

// A scripted device: the test says what it delivers and when it fails, and reads what the ring asked.
struct DispositiuGuionat final : DispositiuEntrada {
    std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) override {
        ++Obertures, Frequencia = frequencia;
        if (CodiObrir == 0) Desti = std::move(receptor);
        return CodiObrir;
    }
    void BufferAfegit(std::size_t mida) override {
        BytesDemanats += mida;
        if (AlAfegir) AlAfegir(mida);
    }
    void Tancar() override { ++Tancaments, Desti = nullptr; }
    void Lliurar(std::span<const std::uint8_t> bytes) { // a closed device delivers nothing
        if (Desti) Desti(bytes);
    }
    void Fallar() const { DispositiuEntrada::Fallar(); }

    std::int32_t CodiObrir = 0, Frequencia = 0;
    int Obertures = 0, Tancaments = 0;
    std::size_t BytesDemanats = 0;
    bool Obert() const { return static_cast<bool>(Desti); }

    Receptor Desti;                            // where the bytes go while the device is open
    std::function<void(std::size_t)> AlAfegir; // told of every buffer queued
};

} // namespace tessora::proves
