// The session's timeline, without widgets: the sound listened to since listening started, up to a bound,
// and a record per utterance, for the lesson's freeze, replay and save.
//
// Blocks are numbered from 0 at the first block heard after the timeline was made (or cleared) and never
// renumbered: block b starts b x 512 / 11025 s into the sound heard since (time stands still while
// listening is off or blocks are dropped during a playback). The ring keeps the last `capacitat` blocks'
// raw bytes (8-bit unsigned, as captured) and their levels; older ones are overwritten. An utterance is a
// run of loud blocks as the live loop counts it (level above kNivellSilenci); its record holds its first
// and last block, the analyses the loop made in it (block, decided vowel, pitch, F1, S2F) and whether it
// clipped (a block at kNivellSaturacio or above). The vowel of an utterance is the first one its analyses
// decided (empty when none did). The live loop hands each block over with what it already found: the
// timeline never analyses.
//
// An utterance whose first block has left the ring leaves the timeline whole, at once: the records and the
// sound always agree. An utterance still going on is in Emissions() with the blocks so far; when it is the
// one that left, its later loud blocks make no record (a record of its tail would pass for a whole one).
#pragma once

#include "GraellaTessora.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessora {

// Ten minutes of blocks: 10 x 60 x 11025 / 512, rounded up (about 6.6 MB of sound).
inline constexpr std::size_t kBlocsLiniaTempsPerDefecte = 12920;

struct EmissioLinia {
    std::int64_t PrimerBloc = 0;
    std::int64_t DarrerBloc = 0;       // the last loud block so far
    std::vector<AnalisiBloc> Analisis; // in order of blocks
    std::string Vocal;                 // the first vowel decided in it; empty when none was
    bool Saturada = false;             // a block of it clipped
    bool Acabada = false;              // a quiet block has followed it
    // The analysis that decided Vocal, or the first one; nullptr when there is none.
    const AnalisiBloc* AnalisiPrincipal() const;
};

class LiniaTemps {
public:
    // Holds the last `capacitat` blocks (at least 1). Memory is taken as blocks come, up to the bound.
    explicit LiniaTemps(std::size_t capacitat = kBlocsLiniaTempsPerDefecte);

    // One block heard, in O(1): its kMidaBloc raw bytes (a shorter span is filled up with silence), its
    // level (the loop's meter value) and the analysis the loop made of it, if any (AnalisiBloc::Bloc is
    // ignored: it gets this block's number). An analysis of a quiet block (continuous recognition) belongs
    // to no utterance and is not kept.
    void Afegir(std::span<const std::uint8_t> bloc, std::int32_t nivell,
                const std::optional<AnalisiBloc>& analisi);
    // Listening stopped: the utterance going on ends here (a later loud block starts a new one).
    void Tallar();
    // Forgets everything; the next block is block 0 again.
    void Buidar();

    std::size_t Capacitat() const { return capacitat_; }
    // Blocks heard since made or cleared (also those the ring no longer holds).
    std::int64_t BlocsRebuts() const { return rebuts_; }
    // The first block the ring still holds (BlocsRebuts() when empty).
    std::int64_t PrimerBlocDisponible() const;
    // The level of a block the ring holds; nullopt for one it does not.
    std::optional<std::int32_t> Nivell(std::int64_t bloc) const;
    // The raw bytes of blocks [primer, darrer] (kMidaBloc each), all held by the ring; empty otherwise.
    std::vector<std::uint8_t> So(std::int64_t primer, std::int64_t darrer) const;

    // The utterances whose blocks the ring holds, oldest first.
    const std::deque<EmissioLinia>& Emissions() const { return emissions_; }
    // The utterance holding block `bloc`, or nullptr.
    const EmissioLinia* EmissioEn(std::int64_t bloc) const;

    // What it holds as a recording: the sound of every block held (from PrimerBlocDisponible()) and the
    // grid of its utterances and analyses, block numbers counted from that first block (see
    // GraellaTessora).
    std::vector<std::uint8_t> SoSencer() const;
    TextGrid Graella() const;

private:
    std::size_t capacitat_;
    std::int64_t rebuts_ = 0;
    std::vector<std::uint8_t> so_;      // capacitat_ x kMidaBloc, block b at (b % capacitat_) x kMidaBloc
    std::vector<std::uint8_t> nivells_; // capacitat_, clamped to 0..255
    std::deque<EmissioLinia> emissions_;
    bool tallada_ = false; // the utterance going on left the ring: its loud blocks make no record
};

} // namespace tessora
