// The real input device through Qt Multimedia (the system's sound server), 8-bit unsigned mono.
//
// The source runs in push mode: its bytes arrive on the user-interface thread, one chunk per period of
// the sound server's client (about 50 ms, some 550 bytes: more than one block). Up to one block of a
// chunk that finds no room in the ring is held until a buffer is queued (RetencioEntrada).
#pragma once

#include "RetencioEntrada.h"
#include "UnitEntradaDeSo.h"

#include <memory>
#include <string>
#include <vector>

class QAudioSource;

namespace tessora {

// Result codes of DispositiuQt::Obrir besides 0.
inline constexpr std::int32_t kErrorSenseDispositiu = 1;  // no input device, or none of that name
inline constexpr std::int32_t kErrorFormatNoSuportat = 2; // the device refuses 8-bit mono at the rate
inline constexpr std::int32_t kErrorEnObrir = 3;          // the device would not start

class DispositiuQt final : public DispositiuEntrada {
public:
    // `nom`: the device's description or id as listed; empty for the system's default input.
    explicit DispositiuQt(std::string nom = {});
    ~DispositiuQt() override;

    std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) override;
    void BufferAfegit(std::size_t mida) override;
    void Tancar() override;

private:
    std::string nom_;
    std::unique_ptr<QAudioSource> font_;
    Receptor receptor_;
    RetencioEntrada retencio_{512};
    bool buidatPendent_ = false;
};

// Descriptions of the input devices the sound server offers, the default one first.
std::vector<std::string> LlistarDispositiusEntrada();

} // namespace tessora
