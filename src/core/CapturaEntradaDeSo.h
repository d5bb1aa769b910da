// The loop's view of the capture unit: start, take a block, stop.
#pragma once

#include "BucleEscolta.h"
#include "UnitEntradaDeSo.h"

#include <functional>
#include <utility>

namespace tessora {

class CapturaEntradaDeSo final : public ControlCaptura {
public:
    // `finestra` is told of every filled buffer and must then hand the block to the loop.
    CapturaEntradaDeSo(UnitEntradaDeSo& unitat, std::function<void()> finestra)
        : unitat_(unitat), finestra_(std::move(finestra)) {}

    std::int32_t EngegarEntradaDeSo() override { return unitat_.EngegarEntradaDeSo(finestra_); }
    bool ProcessarBufferEntrada() override { return unitat_.ProcessarBufferEntrada(); }
    void PararEntradaDeSo() override { unitat_.PararEntradaDeSo(); }
    bool EntradaPerduda() const override { return unitat_.EntradaPerduda(); }

private:
    UnitEntradaDeSo& unitat_;
    std::function<void()> finestra_;
};

} // namespace tessora
