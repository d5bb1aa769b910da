// The journal: every run of the experiment kept in one SQLite file, with its trials, so a speaker's
// progress can be followed across weeks and the results mailed by many speakers can be pooled.
//
// The file is `$XDG_DATA_HOME/tessora/diari.sqlite` (`~/.local/share` when XDG_DATA_HOME is unset or not
// absolute). It is opened in WAL mode with foreign keys on; its schema version is PRAGMA user_version and
// each version has one migration step, run in order in one transaction when an older file is opened.
// Every statement binds its values; nothing is built from strings. One run is stored in one transaction:
// all of it or nothing.
//
// Nothing here throws or shows anything: every operation says how it went (ResultatDiari) and the caller
// tells the person. A run that cannot be stored now (another Tessora holds the file past the wait, the disk
// is full, the folder is read-only) is kept in memory and stored first at the next chance (the next Desar,
// Importar or ReintentarPendents). A file that is not a database or is damaged is never deleted: it is set
// aside under a new name beside it and a new journal is started.
//
// The journal depends on the file utilities and SQLite only; core converts the experiment into these values.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessora {

// The schema version this program writes; files of every earlier version are migrated on opening.
inline constexpr int kVersioDiari = 2;

// The SQL of the schema's step to `versio` (1 .. kVersioDiari), exactly as it was first written: it takes
// a file of version `versio` - 1 to `versio`. A new journal runs them all from version 0.
std::string_view MigracioDiari(int versio);

// One trial, as the experiment scored it.
struct ProvaDiari {
    std::string Demanada;                  // the prompted vowel's name, UTF-8 ("A", "AE", "È")
    std::optional<std::string> Reconeguda; // the recognised one; none when no vowel was recognised
    // The answer's analysed block (Hz); none when not known (a hit of an imported results text).
    std::optional<float> Frequencia;
    std::optional<float> F1;
    std::optional<float> S2F;
    // Where the answer's analysed piece lies in the exported WAV's sound data (samples), when its sound
    // was kept (an error whose slot was stored).
    std::optional<std::int64_t> Situacio;

    bool operator==(const ProvaDiari&) const = default;
};

// One run: each Experimentar ... stop of the experiment, or one imported results text.
struct CursaDiari {
    std::int64_t Id = 0;    // given by the journal when stored; 0 before
    std::string Parlant;    // UTF-8; empty: anonymous
    std::int64_t Inici = 0; // seconds since the Unix epoch (UTC)
    std::int64_t Fi = 0;
    bool Castella = false; // the vowel set: Spanish (5) or Catalan (7)
    bool VeuAguda = false;
    bool ModeExperimentador = false;
    // The analysis settings in force, as name/value texts in a fixed order ("OrdreLPC" "11",
    // "Preemfasis" "1", ...); stored and read back as they are.
    std::vector<std::pair<std::string, std::string>> Parametres;
    std::string Origen;             // an imported run: the file's name as given; empty for a run made here
    std::vector<ProvaDiari> Proves; // in the order they were made

    bool operator==(const CursaDiari&) const = default;
};

// How an operation went. Anything but Correcte comes with a Detall (SQLite's or the system's message,
// English) for the person's message.
enum class EstatDiari {
    Correcte,
    JaImportat,   // Importar: a results text of the same bytes is already in the journal; nothing added
    Ocupat,       // another program held the file past the wait; the run is kept for the next chance
    Ple,          // the disk is full; the run is kept for the next chance
    NomesLectura, // the folder or the file cannot be written; the run is kept for the next chance
    Apartat,      // the file was not a database or was damaged: set aside at Apartat, a new one begun (also
                  // from an operation that opened a shut journal; its run is then stored in the new one)
    NoObert,      // opening failed otherwise (no folder can be made, a newer schema, ...), or SQLite failed
                  // in the middle of the work; the journal is shut and opened again at the next operation
};

struct ResultatDiari {
    EstatDiari Estat = EstatDiari::Correcte;
    std::string Detall;
    std::filesystem::path Apartat; // where a damaged file was set aside
    bool Correcte() const { return Estat == EstatDiari::Correcte; }
};

// What Curses lists: all runs, or those of one speaker and/or one vowel set.
struct FiltreDiari {
    std::optional<std::string> Parlant; // "" selects the anonymous runs
    std::optional<bool> Castella;
};

// A speaker's name as the journal keeps it, wherever it was typed (the window's field, --parlant): without
// the blanks (spaces, tabs, line ends) around it.
std::string NomParlant(std::string_view nom);

// $XDG_DATA_HOME/tessora/diari.sqlite, or $HOME/.local/share/tessora/diari.sqlite.
std::filesystem::path CamiDiariPerDefecte();

class Diari {
public:
    // With an empty path nothing is read or written (tests of other layers, a journal switched off):
    // every operation then says Correcte and lists nothing.
    explicit Diari(std::filesystem::path fitxer, std::chrono::milliseconds espera = std::chrono::seconds(2));
    ~Diari();
    Diari(const Diari&) = delete;
    Diari& operator=(const Diari&) = delete;

    // Opens (making the folder and the file when missing) and migrates. A file that is not a database or
    // fails SQLite's quick check is renamed to "diari.sqlite.malmes-YYYYMMDD-HHMMSS[-n]" beside it and a new
    // journal is started (Apartat). Busy, full or read-only: the journal stays shut, and the next Desar
    // tries to open it again.
    ResultatDiari Obrir();
    bool Obert() const;
    // Shuts the file (its write-ahead log folded back in), as at the program's close; runs still waiting
    // stay in memory, and the next operation opens it again.
    void Tancar();

    // Stores a run (and the runs still waiting before it) in one transaction each; `id` gets its Id.
    // When it cannot be stored now it is kept in memory (Pendents) and the state says why.
    ResultatDiari Desar(const CursaDiari& cursa, std::int64_t* id = nullptr);
    // Stores an imported run, unless a results text of the same `bytes` is already in the journal
    // (JaImportat, and `id` gets the Id of the run it made). Never kept for later: on failure nothing of
    // it is stored; neither is it when the runs waiting before it cannot be stored.
    ResultatDiari Importar(const CursaDiari& cursa, std::string_view bytes, std::int64_t* id = nullptr);
    ResultatDiari ReintentarPendents();
    std::size_t Pendents() const;

    // The speakers named in the journal, sorted (the anonymous one left out).
    // Both read what is stored (nothing when the journal cannot be read; `resultat` says why).
    std::vector<std::string> Parlants(ResultatDiari* resultat = nullptr);
    // The runs that pass the filter, by start time then Id, each with its trials.
    std::vector<CursaDiari> Curses(const FiltreDiari& filtre = {}, ResultatDiari* resultat = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tessora
