// Playing a recorded utterance back through the system's default output device: 8-bit unsigned mono at
// 11025 Hz, as it was captured.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tessora {

class SortidaDeSo {
public:
    virtual ~SortidaDeSo() = default;
    // Starts playing `mostres` (a playback under way is stopped first); `acabat` is called once, on the
    // user-interface thread and never from inside this call, when the last sample has been played or the
    // playback failed or was stopped. Returns 0, or a nonzero code when the device cannot be opened
    // (then `acabat` is never called).
    virtual std::int32_t Reproduir(std::vector<std::uint8_t> mostres, std::function<void()> acabat) = 0;
    // Stops a playback under way (its `acabat` is called); nothing when none is.
    virtual void Aturar() = 0;
    virtual bool Reproduint() const = 0;
};

} // namespace tessora
