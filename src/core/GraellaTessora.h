// Tessora's own TextGrid of a recording: what the live loop found in it, to open beside the sound in
// Praat. Tier "vocal" holds an interval per utterance labelled with the vowel it decided, empty
// intervals in between; point tier "analisi" holds a point at the centre of each analysed block,
// labelled with the vowel and the block's pitch, F1 and S2F.
//
// Blocks are counted from 0 in the recording: block b spans [TempsBloc(b), TempsBloc(b + 1)) seconds.
#pragma once

#include "Constants.h"
#include "TextGrid.h"

#include <cstdint>
#include <span>
#include <string>

namespace tessora {

inline constexpr const char* kCapaVocal = "vocal";
inline constexpr const char* kCapaAnalisi = "analisi";

// Start of block `bloc` (from 0), s: bloc * 512 / 11025, evaluated in that order in double, so a time
// computed anywhere from the same block is the same number.
inline double TempsBloc(std::int64_t bloc) {
    return static_cast<double>(bloc) * kMidaBloc / kFrequenciaMostreig;
}

// Centre of block `bloc`, s: (bloc * 512 + 256) / 11025.
inline double CentreBloc(std::int64_t bloc) {
    return (static_cast<double>(bloc) * kMidaBloc + 0.5 * kMidaBloc) / kFrequenciaMostreig;
}

// An utterance as the loop counted it: its first and last blocks (from 0, PrimerBloc <= DarrerBloc)
// and the vowel decided in it (UTF-8, as the recogniser gave it; empty when none was).
struct EmissioGravacio {
    std::int64_t PrimerBloc = 0;
    std::int64_t DarrerBloc = 0;
    std::string Vocal;
};

// An analysed block: the values of its data line.
struct AnalisiBloc {
    std::int64_t Bloc = 0;       // from 0
    std::string Vocal;           // UTF-8, as the recogniser gave it; empty when it decided none
    std::int32_t Frequencia = 0; // pitch, Hz
    float F1 = 0.0f;             // Hz, whole
    std::int32_t S2F = 0;        // Hz
    bool operator==(const AnalisiBloc&) const = default;
};

// "A 91 818 582": vowel ("-" when none was decided), pitch, F1 as the data line prints it (no
// decimals) and S2F, separated by one space.
std::string EtiquetaAnalisi(const AnalisiBloc& analisi);

// The grid of a recording of `durada` seconds: [0, D], D being the largest of `durada` and the ends of
// the utterances and points. Tier "vocal": for each utterance, [TempsBloc(PrimerBloc),
// TempsBloc(DarrerBloc + 1)] labelled with its vowel, and empty intervals covering the rest of [0, D];
// utterances are taken in order of their first block, and one that starts before the previous one
// ended starts where it ended (one that then has nothing left is left out). Tier "analisi": a point at
// CentreBloc(Bloc) per analysis, in order of blocks, labelled by EtiquetaAnalisi; a block analysed twice
// keeps its first point (Praat holds one point per time).
TextGrid GraellaTessora(std::span<const EmissioGravacio> emissions, std::span<const AnalisiBloc> analisis,
                        double durada);

} // namespace tessora
