// What tessora-cli does with each block, whatever brings it: the live loop, its controls and the lines.
#pragma once

#include "BucleEscolta.h"
#include "BufferSo.h"
#include "TextsIdioma.h"
#include "UnitWave.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

struct OpcionsCli {
    std::vector<std::string> Fitxers; // the recordings, in the order given
    unsigned Treballs = 1;            // --jobs: files analysed at once
    bool Continu = false;
    bool VeuAguda = false;
    std::string Llengua = "es";
    std::string Ordre = "11";
    std::string FrequenciaMinima = "60";
    bool SensePreemfasi = false;
    bool Oida = false;
    std::string Lletra;
    std::string Desa;
    std::string DesaCaptura;
    std::string Carta;                // --carta: the vowel chart's picture, .svg or .png
    std::string TextGrid;             // --textgrid: the TextGrid, or with several files their folder
    std::string Avalua;               // --avalua: the annotations, or the folder of every file's
    std::string Capa;                 // --capa: the annotations' interval tier; empty: the first
    std::vector<std::string> Agrega;  // --agrega: per-interval CSVs to pool
    std::vector<std::string> Importa; // --importa: results texts to store in the journal
    bool Diari = false;               // --diari: print the journal's pooled results
    std::string Parlant;              // --parlant: the speaker (valid when AmbParlant; "" is anonymous)
    bool AmbParlant = false;
    bool LlenguaTriada = false; // --llengua was given (not its default)
    bool Csv = false;
    bool Microfon = false;
    double Durada = 0.0; // seconds; 0: until interrupted
    std::string Dispositiu;
    bool Dispositius = false;

    Idioma IdiomaTexts() const { return Llengua == "es" ? Idioma::Castella : Idioma::Catala; }
};

class SessioCli {
public:
    // With `buidarCadaLinia` every line is flushed as it is written (listening live); without, the lines
    // stay in the stream's buffer until it fills or the caller flushes it (reading a file). `desada`:
    // the --desa-captura file, already open (see ObrirCaptura); messages about it go to `errors`.
    // `campFitxer`, when not empty, starts every CSV row (the file's field and its comma, for a run on
    // several files) and the header is the caller's to write, once.
    SessioCli(const OpcionsCli& opcions, EstatAnalisi& estat, BufferSo& buffer, ControlCaptura& captura,
              std::ostream& sortida, std::ostream& errors, std::unique_ptr<GravacioWav> desada,
              bool buidarCadaLinia = true, std::string campFitxer = {});
    ~SessioCli();

    // Listening on, as the start button does; the capture's result code. With --csv the table's header
    // goes out once listening has started.
    std::int32_t Engegar();
    void Parar() {
        if (bucle_.Engegat()) bucle_.SpeedButtonEngegarPararClick();
    }
    // One capture notification: the loop runs and each analysis becomes a line. A line that cannot be
    // written stops listening (see ErrorSortida). With --desa-captura the block goes to that file
    // straight away; a block the file cannot take (a full disk, the format's limit) stops listening
    // before it, as the end of a file would: it is not counted and makes no line, so the file's lines
    // are the run's, and standard error says why at once.
    EfecteBloc Bloc();

    bool Escoltant() const { return bucle_.Engegat(); }
    std::size_t BlocsEscoltats() const { return blocs_; }
    // Puts the --desa-captura file in place, shorter when it stopped taking blocks. True when there is
    // none or it holds every block heard; else false, after a line on standard error when it could not
    // be put in place.
    bool AcabarCaptura();
    // Gives the --desa-captura file up: a file already there stays as it was.
    void Abandonar() { desada_.reset(); }
    // The system's error number of the first write to standard output that failed; 0 while none has.
    int ErrorSortida() const { return errorSortida_; }

private:
    const OpcionsCli& opcions_;
    EstatAnalisi& estat_;
    BucleEscolta bucle_;
    ControlsBucle controls_;
    std::ostream& sortida_;
    std::string liniaDades_; // caption of LabelDades1: empty until a first complete analysis
    std::string campFitxer_;
    bool buidarCadaLinia_;
    std::size_t blocs_ = 0;
    std::ostream& errors_;
    std::unique_ptr<GravacioWav> desada_;
    bool desadaTallada_ = false;
    int errorSortida_ = 0;
};

// One line on `errors` about a file the run writes, in the language of the texts: the text `id`, the
// file's name and the reason (the system's words for an error number, or a text of the table).
void InformarFitxer(std::ostream& errors, Idioma idioma, IdText id, const std::string& fitxer,
                    std::string_view motiu);

// Creates the --desa-captura file, if one is asked for, before listening starts. False, after a line
// on `errors`, when it cannot be created: the run then ends with status 2.
bool ObrirCaptura(const OpcionsCli& opcions, std::unique_ptr<GravacioWav>& desada, std::ostream& errors);

// Seconds of sound in `blocs` blocks, to a tenth.
std::string SegonsDeSo(std::uint64_t blocs);

// Flushes standard output and tells whether every write reached it; the error number of the failure
// (`error` when it is already known) is reported on `errors`, except a reader that went away (EPIPE),
// which is no news to the person who closed it. Returns `codi`, or 1 when the output failed and `codi`
// was 0.
int ComprovarSortida(std::ostream& sortida, std::ostream& errors, int codi, int error = 0);

// The sound block; nullptr, after saying so on `errors`, when the memory cannot be had.
std::unique_ptr<BufferSo> CrearBufferSo(std::ostream& errors);

// Writes the --desa file and puts the --desa-captura file in place; returns 0, or 1 when either could
// not be written whole (the reason on `errors`).
int DesarFitxers(const OpcionsCli& opcions, const BufferSo& buffer, SessioCli& sessio, std::ostream& errors);

// --microfon and --dispositius: listening to the real input device until the duration ends, a signal,
// or the loss of the input (status 3).
// `errorSortida` receives the error number of a failed write to standard output, if any.
int EscoltarMicrofon(int argc, const char* const* argv, const OpcionsCli& opcions, std::ostream& sortida,
                     std::ostream& errors, int& errorSortida);

inline constexpr const char* kNomPrograma = "tessora-cli";
inline constexpr const char* kCapcaleraCsv = "block,time,vowel,pitch,F1,MigLPC,S2F,AF1,Y\n";
inline constexpr int kSortidaEntradaPerduda = 3;

} // namespace tessora
