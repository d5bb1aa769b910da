// Sound capture through a ring of two buffers.
//
// The device fills the buffers queued to it, in the order they were queued, and reports each filled
// buffer with one notification to the window given at start; the window then calls
// ProcessarBufferEntrada once per notification, which copies the block out into Mostres and
// MostresCrues, queues the buffer again at once and carries out a pending stop. While the window is
// analysing, the device fills the other buffer. Bytes that arrive while both buffers are filled and still
// waiting to be handled have nowhere to go: they are dropped and counted in 512-byte blocks.
//
// A device that stops delivering for good (the sound server went away, a recording stopped reading) says so;
// the window hears of it through one more notification, after the blocks already filled, and the unit then
// closes the device.
//
// Devices deliver their bytes and the notifications reach the window on the user-interface thread; the
// unit has no thread of its own and takes no locks.
#pragma once

#include "EstatAnalisi.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessora {

// Why listening could not start when the device cannot be opened (tessora-cli's message; the windows
// take theirs from the texts table).
inline constexpr std::string_view kTextErrorObrirEntrada = "NO puc obrir els dispositiu d'entrada";

// A recording that stopped reading part-way: its file, as given, and its reader's reason (English).
struct LecturaInterrompuda {
    std::string Fitxer;
    std::string Motiu;
};

// A source of 8-bit unsigned mono bytes: the real input device, a recording, or a script.
class DispositiuEntrada {
public:
    using Receptor = std::function<void(std::span<const std::uint8_t>)>;
    virtual ~DispositiuEntrada() = default;
    // Opens the source at `frequencia` Hz and starts delivering bytes to `receptor`, always on the
    // user-interface thread and never from inside this call. Returns 0, or a nonzero code when the
    // source cannot be opened (then nothing is delivered).
    virtual std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) = 0;
    // A buffer of `mida` bytes has been queued: a source that must lose nothing (a recording) delivers
    // no more than the buffers it has been told of.
    virtual void BufferAfegit(std::size_t mida) { (void)mida; }
    // Stops delivering and closes; nothing is delivered after it returns.
    virtual void Tancar() = 0;
    // Once the input is lost: the recording that stopped reading, when that was the cause; nullopt for a
    // device that went away.
    virtual std::optional<LecturaInterrompuda> Interrupcio() const { return std::nullopt; }

    // Set by the unit before it opens the device: what to call when the device stops delivering for good.
    void AvisarFallada(std::function<void()> avis) { fallada_ = std::move(avis); }

protected:
    // The input is lost (always on the user-interface thread, never from inside Obrir or Tancar).
    void Fallar() const {
        if (fallada_) fallada_();
    }

private:
    std::function<void()> fallada_;
};

class UnitEntradaDeSo {
public:
    // `estat` receives the copies (Mostres, MostresCrues) and the sample rate.
    UnitEntradaDeSo(EstatAnalisi& estat, DispositiuEntrada& dispositiu)
        : analisi_(estat), dispositiu_(dispositiu) {}
    ~UnitEntradaDeSo();
    UnitEntradaDeSo(const UnitEntradaDeSo&) = delete;
    UnitEntradaDeSo& operator=(const UnitEntradaDeSo&) = delete;

    // Block length (512 here, at most 8193), rate 11025 Hz, 8 bits, mono; allocates both buffers.
    bool InicialitzarEntradaDeSo(std::int32_t midaBloc);

    // Opens the device and queues both buffers (filled with 127). `finestra` is told of every filled
    // buffer; it must call ProcessarBufferEntrada once per notification, later, on the same thread.
    // Returns 0, or the device's error code (then kTextErrorObrirEntrada is to be shown and nothing
    // changes), or -1 when the buffers are not allocated (before InicialitzarEntradaDeSo or after
    // AlliberarEntradaDeSo). With a device still open it does nothing and returns 0, but a stop that is
    // still pending is cancelled, so that the device keeps running as its caller believes.
    std::int32_t EngegarEntradaDeSo(std::function<void()> finestra);

    // Takes the buffer of one notification. Returns true when a block was copied out; false for a
    // notification that carries no block (a buffer handed back by the stop, one left over from an earlier
    // recording, or the loss of the input, after which the device is closed: see EntradaPerduda).
    bool ProcessarBufferEntrada();
    // The notification just taken said that the device stopped delivering for good.
    bool EntradaPerduda() const { return perduda_; }

    // Requests a stop; the device stops at the next notification, whose block is still copied out.
    void PararEntradaDeSo();

    // Releases both buffers (after the stop has completed).
    void AlliberarEntradaDeSo();

    bool DispositiuObert() const {
        return estat_ == Estat::Oberta || estat_ == Estat::Fallida || estat_ == Estat::Aturant;
    }
    // A stop has been requested and the notification that carries it out has not come yet.
    bool PeticioAturada() const { return peticioAturada_; }
    // The last recording ended, by a stop or by the loss of the input; false again once a start succeeds.
    bool Aturat() const { return estat_ == Estat::Aturant || estat_ == Estat::Aturada; }
    // Blocks dropped because both buffers were waiting to be handled, since the unit was created.
    std::uint64_t BlocsPerduts() const { return blocsPerduts_; }
    // Blocks copied out, since the unit was created.
    std::uint64_t BlocsProcessats() const { return blocsProcessats_; }

private:
    // Where the device stands. A start leads from any state but an open one to Oberta.
    enum class Estat {
        Tancada, // never opened, or released (or initialised again)
        Oberta,  // delivering into the ring
        Fallida, // open, but the device has said it stopped delivering; its notification is on its way
        Aturant, // being closed by the stop or the loss, inside ProcessarBufferEntrada
        Aturada, // closed by the stop or the loss
    };

    // A buffer and its header: what the device has recorded into it and whether it is queued.
    struct Buffer {
        std::unique_ptr<std::uint8_t[]> Dades;
        std::int32_t BytesGravats = 0;
        bool EnCua = false;
    };

    void Afegir(int numero);
    void RebreDades(std::span<const std::uint8_t> dades);
    void RebreFallada();
    void Tancar();
    void Reiniciar();

    EstatAnalisi& analisi_;
    DispositiuEntrada& dispositiu_;
    std::function<void()> finestra_;

    std::int32_t midaBloc_ = 0;
    Buffer buffers_[3];   // [1] and [2]; [0] unused, so the numbers read as in UltimBufferAfegit
    int cua_[2] = {0, 0}; // numbers of the queued buffers, in the order the device fills them
    int nCua_ = 0;
    std::int32_t bytesPerduts_ = 0; // bytes of the block being dropped

    Estat estat_ = Estat::Tancada;
    std::uint8_t ultimBufferAfegit_ = 0;
    bool peticioAturada_ = false;
    bool perduda_ = false; // the notification just taken was the loss of the input
    // Notifications given for the current recording and not yet taken.
    std::uint32_t avisosPendents_ = 0;
    std::uint64_t blocsPerduts_ = 0;
    std::uint64_t blocsProcessats_ = 0;
};

} // namespace tessora
