// The live recognition loop, without widgets.
//
// For each captured block: take it from the capture, measure its peak level, follow the utterance
// (EstatVeu 0 -> 1 -> 2 -> 3, back to 0 on the first quiet block), keep its first three loud blocks in
// BufferSo slot 0, recognise its second loud block, and report what the windows must show: the level
// meter, the big letter and its colour, the window caption, the experiment step, the automatic stop.
// With continuous recognition every block is analysed instead and no utterances are taken.
// When the capture loses its input while listening, listening stops, as the button would stop it, and the
// windows are told; a later start tries the device again.
// The start/stop toggle lives here too, since the loop itself calls it for the automatic stop. Listening is
// a state (EstatEscolta); the button's caption and hint are the windows' reading of it.
#pragma once

#include "BufferSo.h"
#include "UnitCalculsReconeixement.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessora {

// What the loop needs of the capture unit.
class ControlCaptura {
public:
    virtual ~ControlCaptura() = default;
    // Opens and starts the device; returns 0 or the device's error code (the loop does not look at it).
    virtual std::int32_t EngegarEntradaDeSo() = 0;
    // Copies the block just filled into Mostres and MostresCrues and queues its buffer again. False
    // when the notification carried no block (a buffer handed back by a stop).
    virtual bool ProcessarBufferEntrada() = 0;
    // Requests a stop; the device stops on the next block.
    virtual void PararEntradaDeSo() = 0;
    // The notification just taken (ProcessarBufferEntrada false) said the input is lost: the device has
    // stopped delivering for good and is closed.
    virtual bool EntradaPerduda() const { return false; }
};

// The controls the loop reads at each block.
struct ControlsBucle {
    ConfiguracioAnalisi Analisi;
    bool ReconeixementContinu = false; // graphs window, "Reconeixement continu"
    std::string TextLletra;            // graphs window, EditLletra: the vowel to compare with
    bool ExperimentEsperant = false;   // an experiment runs and waits for an utterance
    // The block is taken from the capture and dropped unheard (Escoltat false), and the utterance going on
    // ends: a playback through the loudspeaker would be heard.
    bool Descartar = false;
};

// Listening: never started yet, on, or stopped (by a command, the automatic stop or a lost input).
enum class EstatEscolta { Inicial, Escoltant, Aturada };

enum class ColorNivell { Groc, Blau, Vermell }; // level <= 15, 16..126, >= 127
enum class ColorLletra { Blau, Vermell };
enum class TitolFinestra { Normal, AvisSaturacio };

// What one block changed, for the windows to show.
struct EfecteBloc {
    bool Escoltat = false; // false: listening was off, the block was only taken from the capture
    std::int32_t Nivell = 0;
    ColorNivell Color = ColorNivell::Groc;
    // The analysis run for this block, if any (at most one per block).
    std::optional<ResultatReconeixement> Analisi;
    bool LletraCanviada = false; // the big letter now reads BucleEscolta::TextLletra()
    std::optional<ColorLletra> NouColorLletra;
    std::optional<TitolFinestra> NouTitol;
    bool PasExperiment = false;     // hand UltimaVocal() to the experiment step now
    bool AturadaAutomatica = false; // listening stopped: the letter differs from EditLletra
    bool EntradaPerduda = false;    // listening stopped: the input device was lost (no block here)
};

// Red, green, blue of the meter colours.
struct ColorRGB {
    std::uint8_t R, G, B;
};
ColorRGB ValorColor(ColorNivell color);
ColorNivell ColorDelNivell(std::int32_t nivell);

class BucleEscolta {
public:
    BucleEscolta(EstatAnalisi& estat, BufferSo& buffer, ControlCaptura& captura)
        : estat_(estat), buffer_(buffer), captura_(captura) {}

    // The start/stop toggle of the button, the menu and every other caller: starts when not listening,
    // else stops. A start that the device refused still counts as listening (no block comes), so the next
    // toggle stops. Returns the capture's result of a start (0, or the device's error code, for the
    // caller to report), 0 for a stop.
    std::int32_t SpeedButtonEngegarPararClick();

    // One captured block.
    EfecteBloc RebreBlocDeSo(ControlsBucle& controls);

    // The big letter's text; the graphs window's option handlers also write it.
    const std::string& TextLletra() const { return textLletra_; }
    void MostrarLletra(std::string text) { textLletra_ = std::move(text); }

    EstatEscolta Escolta() const { return escolta_; }
    bool Engegat() const { return escolta_ == EstatEscolta::Escoltant; }
    std::int32_t EstatVeu() const { return estatVeu_; }
    const std::string& UltimaVocal() const { return ultimaVocal_; }

private:
    EstatAnalisi& estat_;
    BufferSo& buffer_;
    ControlCaptura& captura_;

    EstatEscolta escolta_ = EstatEscolta::Inicial;
    std::int32_t estatVeu_ = 0;
    std::string ultimaVocal_;
    std::string textLletra_;
};

} // namespace tessora
