// Recognition of one block: pitch, spectrum, LPC envelope, formant features, vowel decision, data line.
//
// Stages of CalcularReconeixement, each on the shared EstatAnalisi:
//   1. pitch from an average-magnitude-difference curve (CalcularFrequenciaFonamental);
//   2. pre-emphasis, Hamming window, level gate, frequency axis and, when the graphs want it, the FFT
//      magnitude spectrum (CalcularEspectre);
//   3. LPC envelope of the prepared block (UnitLPC);
//   4. the feature step (CalcularTrets): ear weighting of the envelope and normalisation of the spectrum
//      (PonderarINormalitzar), MigLPC and scaling to sum 1600 (EscalarEnvolupant), peak search
//      (CercarPics), band of the first peak (LimitarBandaF1), merging of weak peaks (FusionarPicsFebles),
//      edges of the first peak (VoresPrimerPic), and the features F1, S2F, AF1, YF1/YF2
//      (CalcularValorsTrets);
//   5. the decision by one of two rule lists (ordinary or high voice), folded onto the Spanish vowels
//      when that set is active (DecidirVocal, PlegarCastella);
//   6. the data line of the block's features.
// Stages 1 to 3 form one guarded step: a fault there (an LPC order that is not a whole number, a
// division by zero or overflow) abandons the block silently and leaves the caller's vowel empty.
#pragma once

#include "CorbaDiferencies.h"
#include "EstatAnalisi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tessora {

// Settings the analysis reads, built from the controls at the moment of each run.
struct ConfiguracioAnalisi {
    bool Preemfasis = true;          // graphs window, "Preemfasis"
    bool EscalaAdaptadaOida = false; // "Adaptada a l'oïda": ear weighting of spectrum and envelope
    bool NormalitzarFFT = false;     // "Normalitzar FFT"
    bool VeureFFT = true;            // "Veure FFT"
    bool GraficsVisibles = false;    // the graphs window is shown
    bool VeuAguda = false;           // main window, "Veu aguda"
    bool Castella = false;           // MenuCastellano checked: Spanish vowel set
    char SeparadorDecimal = '.';     // regional decimal separator of the data line
    // Texts of EditNumeroQuoeficientsLPC ("11") and EditFrequenciaMinima ("60"), read at every run.
    std::string TextOrdreLPC = std::to_string(kOrdreLPCPerDefecte);
    std::string TextFrequenciaMinima = std::to_string(kFrequenciaMinimaPerDefecte);
};

// The inputs of the decision rules.
struct TretsVocal {
    float F1 = 0.0f;         // Hz
    std::int32_t S2F = 0;    // Hz
    std::int32_t MigLPC = 0; // Hz
    std::int32_t AF1 = 0;    // Hz
    double Y = 0.0;          // YF1/YF2
};

// The features a vowel was decided on, as the decision saw them.
struct TretsDecisio {
    std::int32_t Frequencia = 0; // pitch, Hz
    float F1 = 0.0f;             // Hz, whole numbers
    std::int32_t MigLPC = 0;     // Hz
    std::int32_t S2F = 0;        // Hz, F2 - F1
    std::int32_t AF1 = 0;        // Hz
    float F2 = 0.0f;             // Hz: F1 + S2F, the recogniser's own estimate of the second formant
};

struct ResultatReconeixement {
    bool Completa = false;  // false: abandoned in the guarded first stage; nothing below is set
    std::string Vocal;      // recognised vowel (UTF-8), possibly empty
    std::string LiniaDades; // the block's feature line (ComposarLiniaDades)
    // Set exactly when a vowel was decided (Vocal is then not empty).
    std::optional<TretsDecisio> Trets;
    // The minimum-pitch text was not a whole number: the edit must now read this ("60"). Reported also
    // for an abandoned block, since the pitch runs first.
    std::optional<std::string> NouTextFrequenciaMinima;
};

// Pitch. Reads Mostres[1..512]; writes FrequenciaFonamental (kept when the curve has no usable valley).
// Returns the replacement text of the minimum-pitch edit when its text was not a whole number.
std::optional<std::string> CalcularFrequenciaFonamental(EstatAnalisi& estat,
                                                        const std::string& textFrequenciaMinima);

struct ResultatFrequencia {
    // Hz; empty when the curve has no valley, or none below 400 Hz: the pitch then keeps its value.
    std::optional<std::int32_t> FrequenciaFonamental;
    // The minimum-pitch text was not a whole number: the edit must now read this ("60"). Only set when
    // the curve has a valley, since the text is read after the valley search.
    std::optional<std::string> NouTextFrequenciaMinima;
};

// The pitch decision on a difference curve: valleys, candidate in MinF..400 Hz, half- and third-period
// checks. Quotients fs / lag are compared in exact integer form.
ResultatFrequencia FrequenciaDesDeCorba(const CorbaDiferencies& D, std::int32_t frequenciaMostreig,
                                        const std::string& textFrequenciaMinima);

// Block preparation and spectrum. Returns false on an arithmetic fault.
bool CalcularEspectre(EstatAnalisi& estat, const ConfiguracioAnalisi& config);

// ---------------------------------------------------------------------------------------------------
// The feature step, run on the envelope once the LPC has run, stage by stage in this order.
//
// E[k] is EnvolupantLPC[k], k = 0..255. Hz(p) converts an envelope position to Hz as
// FrequenciesEspectre[p - 1] = (p - 1) x fs / 512 for p >= 1 and 0 for p = 0, so every stage needs the
// frequency axis of CalcularEspectre. A peak stored at position p is a local maximum of the envelope at
// element p - 1 (E[p-1] > E[p-2] and E[p-1] > E[p]); its height is E[p], and p is used directly as an
// index into E. Peak slots are PicsLPC[1][s] (position) and PicsLPC[2][s] (height), s = 1..4, 1-based;
// position 0 marks an empty slot.

// A point of the envelope: a position (an index into E, held as a float) and E there.
struct PuntEnvolupant {
    float Posicio = 0.0f;
    float Valor = 0.0f;
};

// Valley table of the merging, slots 1..kMaximPics (1..5 reachable; slot 0 unused): T[s] is the lowest
// point between the previous peak (or position 1) and peak s; the slot after the last peak holds the
// lowest point above it (from position 0 when there is no peak).
using TaulaValls = std::array<PuntEnvolupant, kMaximPics + 1>;

// Edges of the first peak, envelope positions; 0 when not found.
struct VoresPic {
    int Esquerra = 0; // the last point, going down from the peak, still at or above the threshold
    int Dreta = 0;    // the first point, going up from the peak, below the threshold
};

enum class ResultatTrets {
    Abandonat,      // the envelope or the frequency axis could not be used: the features were not reached
    MenysDeDosPics, // complete, but F1, S2F, AF1 and Y keep the previous block's values
    DosPics,        // F1, S2F, AF1 and Y were written
};

// Ear weighting and spectrum normalisation (options).
// With EscalaAdaptadaOida: E[0] = E[1] = 0 and, for k = 2..255 with E[k] > 0, E[k] divided by
// 79.1874212 x Hz(k)^-0.800147 (one bin below the spectrum's weighting). The divisors come from
// FrequenciesEspectre[1..255] and are kept for the current rate (EstatAnalisi::DivisorsOida).
// With NormalitzarFFT: ModulEspectre[0..255] scaled by 100 / S when their float running sum S is above 0
// and finite; 256..511 are not touched.
// False, with nothing written, when the weighting is asked for and the axis starts at 0 Hz (a rate of
// 0: no logarithm).
bool PonderarINormalitzar(EstatAnalisi& estat, const ConfiguracioAnalisi& config);

// MigLPC and scaling. Half = float(sum of E[0..255] x 0.5), the sum rounded to float after each term in
// index order. MigLPC = Round(Hz(k)) at the first k whose running sum exceeds Half (kept when none does);
// then, when Half > 0, E[0..255] are scaled by 1600 / (2 x Half) so that they sum to 1600.
// False, with MigLPC and E untouched, when the sum is not finite.
bool EscalarEnvolupant(EstatAnalisi& estat);

// Peak search on the scaled envelope. Clears all of PicsLPC, then fills slots 1..4 with envelope
// positions and heights: slot 1 the first peak p = 2..254 with Hz(p) > 80, slot 2 the next such peak,
// slots 3 and 4 the two highest later peaks (no frequency test); finally sorts the filled slots by
// position. Returns the position of the first peak as found, before the sorting (0: none), which
// LimitarBandaF1 needs.
int CercarPics(EstatAnalisi& estat);

// Band around the first peak as found (primerPic, a position; 0: none), where E stays at 8 or more.
// LimitInferiorF1 = the first q going down from primerPic to 1 with E[q] < 8, plus 1; 1 when there is
// none or no peak. LimitSuperiorF1 = the first q going up from primerPic to 255 with E[q] < 8, minus 1;
// kept when there is none or no peak. Drawn only; the decision does not use it.
void LimitarBandaF1(EstatAnalisi& estat, int primerPic);

// Merging of weak peaks: repeatedly removes the first of slots 1..3 that stands less than 25 % of its
// height above both neighbouring valleys (the later slots move down), searching the valleys again after
// each removal; a peak with no filled slot after it is never removed. Reads E, rewrites PicsLPC slots
// 1..4. Returns the valley table of the final peaks (the lowest index wins among equal values).
TaulaValls FusionarPicsFebles(EstatAnalisi& estat);

// Edges of the first peak at a quarter of its height above each neighbouring valley: the threshold is
// T[s].Valor + 0.25 x (height 1 - T[s].Valor), searched from slot 1's position down to T[1] (left) and
// up to T[2] (right); an edge whose valley lies on the wrong side, or that is not met, stays 0. Reads E
// and PicsLPC slot 1, which must still hold an envelope position.
VoresPic VoresPrimerPic(const EstatAnalisi& estat, const TaulaValls& T);

// Turns the positions of slots 1..4 into whole Hz, Round(Hz(p)), in PicsLPC (empty slots stay 0). With
// two peaks (slot 2's height above 0) writes FrequenciaF1 = slot 1 in Hz, SeparacioF2F1 = slot 2 - slot
// 1, AmpladaF1 = Round(Hz(Dreta) - Hz(Esquerra)) and YF1YF2 = height 1 / height 2, and returns true;
// otherwise leaves them as they were and returns false.
bool CalcularValorsTrets(EstatAnalisi& estat, const VoresPic& vores);

// The whole feature step, the stages above in order. Reads the options EscalaAdaptadaOida and
// NormalitzarFFT.
ResultatTrets CalcularTrets(EstatAnalisi& estat, const ConfiguracioAnalisi& config);

// ---------------------------------------------------------------------------------------------------

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

// The half-sum point of the envelope as the graphs picture marks it: the first j = 0..255 at which the
// running sum of EnvolupantLPC[1..j+1] exceeds half of the sum of EnvolupantLPC[1..256] (both sums in
// float, in index order); nullopt when none does (a total of 0 or less). Whenever the picture is drawn,
// MigLPC takes the whole Hz of FrequenciesEspectre[j].
std::optional<int> PuntMeitatEnvolupant(const EstatAnalisi& estat);

} // namespace tessora
