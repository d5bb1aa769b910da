// Recognition of one block: pitch, spectrum, LPC envelope, formant features, vowel decision, data line.
//
// Stages of CalcularReconeixement, each on the shared EstatAnalisi:
//   1. pitch from an average-magnitude-difference curve (CalcularFrequenciaFonamental);
//   2. pre-emphasis, Hamming window, level gate, frequency axis and, when the graphs want it, the FFT
//      magnitude spectrum (CalcularEspectre);
//   3. LPC envelope of the prepared block (UnitLPC);
//   4. envelope weighting and scaling to sum 1600, MigLPC, peak search, merging of weak peaks, width of
//      the first peak (EscalarEnvolupant, CercarPics);
//   5. F1, S2F, AF1, YF1/YF2 and the decision by one of two rule lists (ordinary or high voice), folded
//      onto the Spanish vowels when that set is active (DecidirVocal, PlegarCastella);
//   6. the data line for the graphs window.
// Stages 1 to 3 form one guarded step: a fault there (an LPC order that is not a whole number, a
// division by zero or overflow) abandons the block silently and leaves the caller's vowel empty.
#pragma once

#include "EstatAnalisi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tessora {

// Settings the analysis reads, built from the controls at the moment of each run.
struct ConfiguracioAnalisi {
    bool Preemfasis = true;                  // graphs window, "Preemfasis"
    bool EscalaAdaptadaOida = false;         // "Adaptada a l'oïda": ear weighting of spectrum and envelope
    bool NormalitzarFFT = false;             // "Normalitzar FFT"
    bool VeureFFT = true;                    // "Veure FFT"
    bool NoRepintar = false;                 // "No Repintar"
    bool GraficsVisibles = false;            // the graphs window is shown
    std::string TextOrdreLPC = "11";         // text of EditNumeroQuoeficientsLPC
    std::string TextFrequenciaMinima = "60"; // text of EditFrequenciaMinima
    bool VeuAguda = false;                   // main window, "Veu aguda"
    bool Castella = false;                   // MenuCastellano checked: Spanish vowel set
    char SeparadorDecimal = '.';             // regional decimal separator of the data line
};

// The inputs of the decision rules.
struct TretsVocal {
    float F1 = 0.0f;         // Hz
    std::int32_t S2F = 0;    // Hz
    std::int32_t MigLPC = 0; // Hz
    std::int32_t AF1 = 0;    // Hz
    double Y = 0.0;          // YF1/YF2
};

// The texts of one row of the experimentation grid (columns 3..7); column 2, the trial number, is the
// caller's.
struct FilaGridErrors {
    std::string Frequencia;
    std::string F1;
    std::string MigLPC;
    std::string S2F;
    std::string AF1;
};

enum class RefrescGrafics {
    Cap,             // the graphs window is hidden
    Repintar,        // repaint the whole window now
    DibuixarDirecte, // "No Repintar": draw over the previous picture
};

struct ResultatReconeixement {
    bool Completa = false;              // false: abandoned in the guarded first stage; nothing below is set
    std::string Vocal;                  // recognised vowel (UTF-8), possibly empty
    std::string LiniaDades;             // new caption of LabelDades1
    std::optional<FilaGridErrors> Fila; // written after every decision
    RefrescGrafics Refresc = RefrescGrafics::Cap;
    // The minimum-pitch text was not a whole number: the edit must now read this ("60"). Reported also
    // for an abandoned block, since the pitch runs first.
    std::optional<std::string> NouTextFrequenciaMinima;
};

// Pitch. Reads Mostres[1..512]; writes FrequenciaFonamental (kept when the curve has no usable valley).
// Returns the replacement text of the minimum-pitch edit when its text was not a whole number.
std::optional<std::string> CalcularFrequenciaFonamental(EstatAnalisi& estat,
                                                        const std::string& textFrequenciaMinima);

// Average-magnitude-difference curve D[1..256] (D[0] unused).
using CorbaDiferencies = std::array<std::int32_t, kPuntsAnalisi + 1>;

// The pitch decision on a difference curve: valleys, candidate in MinF..400 Hz, half- and third-period
// checks. Writes FrequenciaFonamental only when a candidate exists. Returns the replacement text of the
// minimum-pitch edit, as above.
std::optional<std::string> FrequenciaDesDeCorba(const CorbaDiferencies& D, std::int32_t frequenciaMostreig,
                                                const std::string& textFrequenciaMinima,
                                                std::int32_t& FrequenciaFonamental);

// Block preparation and spectrum. Returns false on an arithmetic fault.
bool CalcularEspectre(EstatAnalisi& estat, const ConfiguracioAnalisi& config);

// Steps on the envelope once the LPC has run: ear weighting (option), MigLPC, scaling to sum 1600,
// peaks, merging, band and width of the first peak, slot positions to Hz, and the features F1, S2F,
// AF1 and Y when two peaks exist. Returns false when the envelope is not finite enough to scale.
// Sets `dosPics` when the block has two peaks.
bool CalcularTrets(EstatAnalisi& estat, const ConfiguracioAnalisi& config, bool& dosPics);

// The two rule lists on the Catalan set: "A", "AE", "È", "É", "I", "O", "U".
std::string DecidirVocal(const TretsVocal& trets, bool veuAguda);

// Spanish folding: "AE" -> "A", "È"/"É" -> "E"; everything else unchanged.
std::string PlegarCastella(const std::string& vocal);

// Fixed notation as the data line prints it: `decimals` decimals, rounded once from the exact binary
// value at the coarser of that decimal and the 7th significant digit (halves away from zero), padded
// back to `decimals`; 10^7 or more in %.6E form.
std::string FormatFix(double valor, int decimals, char separador = '.');

// The data line: "Freq: 180 - F1:700 - MigLPC:1400 - S2F:550 - AF1:300 - YF1/YF2:1.75 - È".
std::string ComposarLiniaDades(const EstatAnalisi& estat, char separadorDecimal);

// The whole analysis of the block in estat.Mostres.
ResultatReconeixement CalcularReconeixement(EstatAnalisi& estat, const ConfiguracioAnalisi& config);

} // namespace tessora
