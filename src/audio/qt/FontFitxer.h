// A recording played into the capture ring as if it came from the input device: at the real block rate
// (512 bytes every 46.4 ms at 11025 Hz), or as fast as the ring takes it. Either way a block goes out
// only into a buffer the ring has queued, so no block is ever dropped: where a device would lose what
// a late window has not taken (a busy machine, a stopped process), the recording waits, then catches up
// no faster than the ring frees its buffers until it is back on the clock. The window thus hears every
// block in order, as tessora-cli reads them, whatever the load.
//
// The recording is read a block at a time as it plays, so memory stays the same whatever its length.
// Only whole blocks are played; the end is reported once the last one has gone out.
#pragma once

#include "LecturaSo.h"
#include "UnitEntradaDeSo.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tessora {

class FontFitxer final : public DispositiuEntrada {
public:
    enum class Ritme { TempsReal, TanRapidComEsPugui };

    FontFitxer(std::unique_ptr<FontMostres> so, Ritme ritme, std::int32_t midaBloc = 512);
    ~FontFitxer() override;

    // Called once, after the last whole block has been delivered (or the recording stopped reading).
    void AlFinal(std::function<void()> accio) { alFinal_ = std::move(accio); }

    std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) override;
    void BufferAfegit(std::size_t mida) override;
    void Tancar() override;

    // Blocks delivered since the recording started playing (it plays once, across reopenings).
    std::size_t BlocsLliurats() const { return seguent_; }

private:
    void Lliurar();

    std::unique_ptr<FontMostres> so_;
    Ritme ritme_;
    std::int32_t midaBloc_;
    std::vector<std::uint8_t> bloc_; // the next block to deliver, read ahead
    std::int32_t frequencia_ = 0;
    Receptor receptor_;
    std::function<void()> alFinal_;
    bool obert_ = false;
    bool final_ = false; // no whole block left
    bool finalAvisat_ = false;
    std::size_t seguent_ = 0;     // next block to deliver
    std::size_t demanats_ = 0;    // buffers the ring has queued and no block has filled yet
    std::size_t lliuratsAra_ = 0; // blocks delivered since this opening (real-time rhythm)
    QElapsedTimer rellotge_;
    QTimer temporitzador_;
};

} // namespace tessora
