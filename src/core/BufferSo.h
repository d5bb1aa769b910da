// The sound block: 4 MiB of 8-bit unsigned mono sound at 11025 Hz, 127 meaning silence, used as
// 1536-byte slots. Slot 0 holds the current utterance (its first three loud blocks); slot e holds the
// sound of experiment error e.
#pragma once

#include "Constants.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace tessora {

class BufferSo {
public:
    static constexpr std::size_t kMida = 4194304;

    // Allocates the block with every byte at 127; nullptr when the memory cannot be had.
    static std::unique_ptr<BufferSo> Crear();

    std::uint8_t* Dades() { return dades_.get(); }
    const std::uint8_t* Dades() const { return dades_.get(); }
    std::span<std::uint8_t> Tot() { return {dades_.get(), kMida}; }
    // Slot e: bytes e x 1536 .. e x 1536 + 1535 (e = 0 .. kMida / 1536 - 1).
    std::span<std::uint8_t> Ranura(std::size_t e) { return {dades_.get() + e * kMidaEmissio, kMidaEmissio}; }
    std::span<const std::uint8_t> Ranura(std::size_t e) const {
        return {dades_.get() + e * kMidaEmissio, kMidaEmissio};
    }

private:
    explicit BufferSo(std::unique_ptr<std::uint8_t[]> dades) : dades_(std::move(dades)) {}
    std::unique_ptr<std::uint8_t[]> dades_;
};

} // namespace tessora
