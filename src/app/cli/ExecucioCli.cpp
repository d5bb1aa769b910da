#include "ExecucioCli.h"

#include "CartaCli.h"
#include "Diari.h"
#include "DiariCli.h"
#include "FitxersCli.h"
#include "SessioCli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace tessora {

namespace {

constexpr const char* kVersio = TESSORA_VERSIO;
// The longest --durada: a week, well inside the timer's range (an int of milliseconds).
constexpr double kDuradaMaxima = 7 * 24 * 3600.0;
// The most --jobs: far more than any machine's processors, and threads any system can give.
constexpr unsigned kTreballsMaxims = 1024;

// An empty file name is a mistake (an unset shell variable), not "no file".
const CLI::Validator kNoBuit(
    [](const std::string& text) {
        return text.empty() ? std::string("the file name is empty") : std::string();
    },
    "", "");

const CLI::Validator kSegons(
    [](const std::string& text) {
        char* final = nullptr;
        const double segons = std::strtod(text.c_str(), &final);
        if (text.empty() || *final != '\0' || !std::isfinite(segons) || segons <= 0 || segons > kDuradaMaxima)
            return "not a number of seconds above 0 and up to " + std::to_string(int(kDuradaMaxima));
        return std::string();
    },
    "SECONDS", "");

// With several files: --avalua names a folder, and no two recordings share a TextGrid's name.
void ComprovarVarisFitxers(const OpcionsCli& o) {
    std::error_code error;
    if (!o.Avalua.empty() && !std::filesystem::is_directory(o.Avalua, error))
        throw CLI::ValidationError("--avalua", "with several FILEs, a folder of NAME.TextGrid or NAME.tsv");
    if (o.TextGrid.empty()) return;
    std::set<std::filesystem::path> noms;
    for (const std::string& fitxer : o.Fitxers)
        if (!noms.insert(std::filesystem::path(fitxer).stem()).second)
            throw CLI::ValidationError("--textgrid", "two FILEs named " +
                                                         std::filesystem::path(fitxer).stem().string() +
                                                         " would share one TextGrid");
}

// Reads the command line into `o`. The status to end with at once (0 after --help or --version, 2 after
// a mistake, with one line on `errors`), or nothing when there is a run to make.
std::optional<int> LlegirOpcions(int argc, const char* const* argv, OpcionsCli& o, std::ostream& sortida,
                                 std::ostream& errors) {
    CLI::App app{"Recognises vowels with the live loop of Tessora, on a sound file or the microphone.",
                 kNomPrograma};
    app.set_version_flag("--version", std::string(kNomPrograma) + " " + kVersio);
    app.add_option("FILE", o.Fitxers, "Sound files (any format libsndfile reads), analysed in turn");
    app.add_flag("--continu", o.Continu, "Continuous recognition: analyse every block");
    app.add_flag("--veu-aguda", o.VeuAguda, "High-voice decision table");
    auto* llengua =
        app.add_option(
               "--llengua", o.Llengua,
               "Interface language: ca or es (es folds onto five vowels); with --diari, the vowel set")
            ->check(CLI::IsMember({"ca", "es"}))
            ->capture_default_str();
    app.add_option("--ordre", o.Ordre, "Text of the LPC order edit")->capture_default_str();
    app.add_option("--fmin", o.FrequenciaMinima, "Text of the minimum-pitch edit, Hz")->capture_default_str();
    app.add_flag("--sense-preemfasis", o.SensePreemfasi, "Uncheck pre-emphasis");
    app.add_flag("--oida", o.Oida, "Ear-adapted weighting (unchecks pre-emphasis)");
    app.add_option("--lletra", o.Lletra,
                   "Stop listening at the first recognised letter that differs from this");
    auto* desa =
        app.add_option("--desa", o.Desa, "At the end, save the last utterance (1536 bytes) to this WAV file")
            ->check(kNoBuit);
    auto* desaCaptura = app.add_option("--desa-captura", o.DesaCaptura,
                                       "At the end, save every block listened to to this WAV file")
                            ->check(kNoBuit);
    auto* carta = app.add_option("--carta", o.Carta,
                                 "At the end, draw the vowel chart of every utterance to this .svg or .png")
                      ->check(CLI::Validator(ComprovarNomCarta, "FILE", ""));
    app.add_option("--textgrid", o.TextGrid,
                   "Write a Praat TextGrid of the utterances and analyses to this file (with several FILEs, "
                   "to this folder, as NAME.TextGrid)")
        ->check(kNoBuit);
    auto* avalua =
        app.add_option("--avalua", o.Avalua,
                       "Score the recogniser against these annotations (TextGrid, .tsv or .csv of "
                       "start end label; with several FILEs, a folder of NAME.TextGrid or NAME.tsv) "
                       "and print the confusion table instead of the analysis lines")
            ->check(kNoBuit);
    app.add_option("--capa", o.Capa, "With --avalua: the TextGrid's interval tier (default: the first)")
        ->needs(avalua);
    auto* agrega = app.add_option("--agrega", o.Agrega,
                                  "Pool the per-interval CSVs of --avalua --csv runs into their tables")
                       ->check(kNoBuit);
    auto* importa =
        app.add_option("--importa", o.Importa,
                       "Store results texts that speakers mailed (NAME.wav.txt, as the experiment "
                       "exports them) in the journal, $XDG_DATA_HOME/tessora/diari.sqlite, one run per "
                       "file; a file already stored is skipped")
            ->type_name("FILE")
            ->check(kNoBuit);
    auto* diari = app.add_flag("--diari", o.Diari,
                               "Print the journal's pooled confusion table and the hits of each speaker, per "
                               "vowel set");
    auto* parlant = app.add_option("--parlant", o.Parlant,
                                   "With --importa: the speaker of every file (default: the file's name "
                                   "without .txt and .wav); with --diari: only this speaker's runs (\"\" for "
                                   "the anonymous ones)")
                        ->type_name("NAME");
    app.add_flag("--csv", o.Csv,
                 "Print a CSV table instead of the analysis lines (with --diari: the tables)");
    auto* microfon = app.add_flag("--microfon", o.Microfon, "Listen to the input device instead of a file");
    app.add_option("--durada", o.Durada, "With --microfon: seconds to listen (default: until interrupted)")
        ->check(kSegons)
        ->needs(microfon);
    app.add_option("--dispositiu", o.Dispositiu,
                   "With --microfon: the input device, by name (see --dispositius)")
        ->needs(microfon);
    app.add_flag("--dispositius", o.Dispositius, "List the input devices by name");
    o.Treballs = ProcessadorsDisponibles();
    auto* treballs =
        app.add_option("-j,--jobs", o.Treballs, "Files analysed at once (default: the number of processors)")
            ->check(CLI::Range(1u, kTreballsMaxims));

    try {
        app.parse(argc, argv);
        if (o.Microfon && !o.Fitxers.empty()) throw CLI::ValidationError("FILE", "not with --microfon");
        if (o.Microfon && !o.Carta.empty()) throw CLI::ValidationError("--carta", "not with --microfon");
        if (o.Microfon && treballs->count() > 0) throw CLI::ValidationError("--jobs", "not with --microfon");
        o.AmbParlant = parlant->count() > 0;
        o.Parlant = NomParlant(o.Parlant); // as the experimentation window keeps it
        o.LlenguaTriada = llengua->count() > 0;
        if (importa->count() > 0 && diari->count() > 0)
            throw CLI::ValidationError("--diari", "not with --importa");
        if (o.AmbParlant && importa->count() == 0 && diari->count() == 0)
            throw CLI::ValidationError("--parlant", "only with --importa or --diari");
        if (importa->count() > 0 || diari->count() > 0) {
            for (const std::string opcio :
                 {"FILE", "--microfon", "--dispositius", "--avalua", "--textgrid", "--agrega", "--desa",
                  "--desa-captura", "--carta", "--lletra", "--continu"})
                if (app.count(opcio) > 0)
                    throw CLI::ValidationError(opcio, importa->count() > 0 ? "not with --importa"
                                                                           : "not with --diari");
            if (importa->count() > 0 && o.Csv) throw CLI::ValidationError("--csv", "not with --importa");
            return std::nullopt;
        }
        if (agrega->count() > 0) {
            for (const std::string opcio : {"FILE", "--microfon", "--dispositius", "--avalua", "--textgrid",
                                            "--desa", "--desa-captura", "--carta", "--lletra", "--continu"})
                if (app.count(opcio) > 0) throw CLI::ValidationError(opcio, "not with --agrega");
            return std::nullopt;
        }
        if (o.Microfon && avalua->count() > 0) throw CLI::ValidationError("--avalua", "not with --microfon");
        if (o.Microfon && !o.TextGrid.empty())
            throw CLI::ValidationError("--textgrid", "not with --microfon");
        if (!o.Microfon && !o.Dispositius && o.Fitxers.empty()) throw CLI::RequiredError("FILE");
        if (o.Fitxers.size() > 1) ComprovarVarisFitxers(o);
        // Each names the output of one run; several runs would write over one another.
        for (const CLI::Option* sortidaUnica : {desa, desaCaptura, carta})
            if (o.Fitxers.size() > 1 && sortidaUnica->count() > 0)
                throw CLI::ValidationError(sortidaUnica->get_name(), "one file only, not with several FILEs");
    } catch (const CLI::CallForHelp&) {
        sortida << app.help();
        return 0;
    } catch (const CLI::CallForVersion&) {
        sortida << kNomPrograma << ' ' << kVersio << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        errors << kNomPrograma << ": " << e.what() << " (see --help)\n";
        return 2;
    }
    return std::nullopt;
}

} // namespace

int ExecutarCli(int argc, const char* const* argv, std::ostream& sortida, std::ostream& errors) {
    OpcionsCli opcions;
    if (const std::optional<int> fi = LlegirOpcions(argc, argv, opcions, sortida, errors))
        return ComprovarSortida(sortida, errors, *fi);
    int errorSortida = 0;
    const bool terminal = &errors == &std::cerr && ::isatty(2) == 1;
    const int codi = opcions.Microfon || opcions.Dispositius
                         ? EscoltarMicrofon(argc, argv, opcions, sortida, errors, errorSortida)
                     : !opcions.Agrega.empty() ? AgregarCsv(opcions, sortida, errors)
                     : !opcions.Importa.empty()
                         ? ImportarFitxers(opcions, CamiDiariPerDefecte(), sortida, errors, terminal)
                     : opcions.Diari ? EscriureDiari(opcions, CamiDiariPerDefecte(), sortida, errors)
                                     : AnalitzarFitxers(opcions, sortida, errors, errorSortida, terminal);
    return ComprovarSortida(sortida, errors, codi, errorSortida);
}

} // namespace tessora
