// What a device holds back when its bytes come in chunks larger than the room the ring has.
//
// A device that delivers one chunk per period of its own (the sound server's client: about 550 bytes
// every 50 ms) can complete both buffers of the ring within one chunk, before the window has had a
// chance to queue either again. The part of a chunk that finds no room is held, up to a limit, and goes
// to the ring as soon as a buffer is queued; what does not fit there either goes to the ring at once,
// which drops it and counts it. The order of the bytes that reach the ring is the order they came in.
#pragma once

#include "UnitEntradaDeSo.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessora {

class RetencioEntrada {
public:
    explicit RetencioEntrada(std::size_t maxim) : maxim_(maxim) {}

    void Reiniciar() {
        retingut_.clear();
        capacitat_ = 0;
    }
    // The ring has queued a buffer of `mida` bytes.
    void AmpliarCapacitat(std::size_t mida) { capacitat_ += mida; }
    // Bytes that arrived (possibly none, to pass on what was held).
    void Lliurar(std::span<const std::uint8_t> dades, const DispositiuEntrada::Receptor& receptor);

    bool TeRetingut() const { return !retingut_.empty(); }
    std::size_t Retingut() const { return retingut_.size(); }

private:
    std::size_t maxim_;
    std::size_t capacitat_ = 0;          // bytes the ring's queued buffers can still take
    std::vector<std::uint8_t> retingut_; // oldest first
};

} // namespace tessora
