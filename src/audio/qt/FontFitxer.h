// A recording played into the capture ring as if it came from the input device: at the real block rate
// (512 bytes every 46.4 ms at 11025 Hz), or as fast as the ring takes it. Either way a block goes out
// only into a buffer the ring has queued, so no block is ever dropped: where a device would lose what
// a late window has not taken (a busy machine, a stopped process), the recording waits, then catches up
// no faster than the ring frees its buffers until it is back on the clock. The window thus hears every
// block in order, as tessora-cli reads them, whatever the load.
//
// The recording is read a block at a time as it plays, so memory stays the same whatever its length.
// Only whole blocks are played. A recording that stops reading part-way loses the input as a device
// that went away does, once its last whole block has gone out, and again at every reopening.
#pragma once

#include "LecturaSo.h"
#include "UnitEntradaDeSo.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessora {

class FontFitxer final : public DispositiuEntrada {
public:
    enum class Ritme { TempsReal, TanRapidComEsPugui };

    FontFitxer(std::unique_ptr<FontMostres> so, Ritme ritme, std::int32_t midaBloc = 512);
    ~FontFitxer() override;

    // The recording's file, and what its reader says once the samples end: empty for the normal end,
    // else why they ended early (the recording then stopped reading part-way).
    void Identificar(std::string fitxer, std::function<std::string()> motiuFinal) {
        fitxer_ = std::move(fitxer);
        motiuFinal_ = std::move(motiuFinal);
    }

    std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) override;
    void BufferAfegit(std::size_t mida) override;
    void Tancar() override;
    std::optional<LecturaInterrompuda> Interrupcio() const override { return interrupcio_; }

    // Blocks delivered since the recording started playing (it plays once, across reopenings).
    std::size_t BlocsLliurats() const { return seguent_; }

private:
    void Lliurar();
    void Acabar();

    std::unique_ptr<FontMostres> so_;
    Ritme ritme_;
    std::int32_t midaBloc_;
    std::vector<std::uint8_t> bloc_; // the next block to deliver, read ahead
    std::int32_t frequencia_ = 0;
    Receptor receptor_;
    std::string fitxer_;
    std::function<std::string()> motiuFinal_;
    std::optional<LecturaInterrompuda> interrupcio_;
    bool obert_ = false;
    bool final_ = false;          // no whole block left
    std::size_t seguent_ = 0;     // next block to deliver
    std::size_t demanats_ = 0;    // buffers the ring has queued and no block has filled yet
    std::size_t lliuratsAra_ = 0; // blocks delivered since this opening (real-time rhythm)
    QElapsedTimer rellotge_;
    QTimer temporitzador_;
};

} // namespace tessora
