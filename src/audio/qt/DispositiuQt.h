// The real input device through Qt Multimedia (the system's sound server), 8-bit unsigned mono.
//
// The source runs in push mode: its bytes arrive on the user-interface thread, one chunk per period of
// the sound server's client (about 50 ms, some 550 bytes: more than one block). Up to one block of a
// chunk that finds no room in the ring is held until a buffer is queued (RetencioEntrada).
//
// The input is lost when the source stops with an error (the sound server went away) or when no bytes
// have come for kSilenciMaxim while it runs: a server that dies or hangs does not always say so.
#pragma once

#include "RetencioEntrada.h"
#include "UnitEntradaDeSo.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class QAudioSource;

namespace tessora {

// Result codes of DispositiuQt::Obrir besides 0.
inline constexpr std::int32_t kErrorSenseDispositiu = 1;  // no input device, or none of that name
inline constexpr std::int32_t kErrorFormatNoSuportat = 2; // the device refuses 8-bit mono at the rate
inline constexpr std::int32_t kErrorEnObrir = 3;          // the device would not start

// Longest wait for bytes from a running source before its input counts as lost; the first bytes after
// the opening may take longer (the server sets the stream up).
inline constexpr std::chrono::milliseconds kSilenciMaxim{1000};
inline constexpr std::chrono::milliseconds kPrimeresDadesMaxim{3000};

class DispositiuQt final : public DispositiuEntrada {
public:
    // `nom`: the device's description or id as listed; empty for the system's default input.
    explicit DispositiuQt(std::string nom = {});
    ~DispositiuQt() override;

    std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) override;
    void BufferAfegit(std::size_t mida) override;
    void Tancar() override;

private:
    void Llegir();
    void Vigilar();

    std::string nom_;
    std::unique_ptr<QAudioSource> font_;
    QPointer<QIODevice> entrada_; // the source's own, while it runs
    QTimer vigilant_;
    QElapsedTimer desDeDades_; // since the last bytes, or the opening
    bool ambDades_ = false;    // bytes have come since the opening
    Receptor receptor_;
    RetencioEntrada retencio_{512};
    bool buidatPendent_ = false;
};

// Descriptions of the input devices the sound server offers, the default one first.
std::vector<std::string> LlistarDispositiusEntrada();

// Whether a sound server answers: it offers some device, an output at least (monitors of outputs are
// not inputs).
bool HiHaServidorDeSo();

} // namespace tessora
