#include "BufferSo.h"

#include <algorithm>
#include <new>

namespace tessora {

std::unique_ptr<BufferSo> BufferSo::Crear() {
    std::unique_ptr<std::uint8_t[]> dades(new (std::nothrow) std::uint8_t[kMida]);
    if (!dades) return nullptr;
    std::fill_n(dades.get(), kMida, kByteSilenci);
    return std::unique_ptr<BufferSo>(new (std::nothrow) BufferSo(std::move(dades)));
}

} // namespace tessora
