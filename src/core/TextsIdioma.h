// Every text a person reads in the windows and the messages, in the two languages of the interface.
//
// One table, one row per text and a column per language: a window that needs a text adds a row here.
// The language itself is the check mark of the main window's MenuCastellano. Texts are UTF-8; '&'
// marks an item's access key. Texts that no language switch touches have the same words in both
// columns (the messages of the capture device are Catalan and those of the WAV writer Spanish in both).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessora {

enum class Idioma { Catala, Castella };

// The application's title, set at start-up.
inline constexpr std::string_view kTitolAplicacio = "Tessora";

enum class IdText {
    // Main window: menus and the tool panel.
    MenuLlenguaInicial, // the submenu's caption before any switch: no access key
    MenuLlengua,
    MenuFitxer,
    MenuCatala,
    MenuCastellano,
    MenuGuardar,
    MenuExperimentar,
    MenuSortir,
    MenuEngegarParar,
    MenuGrafics,
    MenuParlant, // the About item's own caption
    MenuControlDeVolumen,
    CheckBoxVeuAguda,
    LabelVocals, // the vowel set of the language
    HintGuardar,
    // The About item as shown at the right-hand end of the menu bar, in the normal and the
    // experimenter mode.
    ParlantBarraNormal,
    ParlantBarraExperimentador,
    // Window captions.
    TitolPrincipal,      // "Tessora - " and the maker's web address
    AvisSaturacio,       // the main window's caption while the input clips
    TitolDiguesParaula,  // the prompt dialog
    TitolExperimentacio, // ends with " - " and the maker's web address
    // Experimentation window menus.
    ExperimentacioMenuFitxer,
    ExperimentacioMenuExperimentar,
    ExperimentacioMenuCopiar,
    ExperimentacioMenuParar,
    // The graphs window: caption, options menu, the hints of its edits.
    TitolFFT,
    Opcions1,
    MenuVeureLPC,
    MenuVeureMarquesLPC,
    MenuVeureFFT,
    MenuNormalitzarFFT,
    MenuPreemfasis,
    MenuFFTEscalaAdaptadaALOida,
    MenuNoRepintar,
    MenuReconeixementContinu,
    HintUnitatX,
    HintUnitatY,
    HintLletra,
    HintQuoeficientsLPC,
    HintFrequenciaMinima,
    // Save, the volume control and the messages.
    FiltreSo,     // the save dialog's one filter
    NomDelFitxer, // followed by the file name
    SenseControlVolum,
    TitolMemoria,
    MemoriaInsuficient,
    TitolErrorEntrada,
    ErrorObrirEntrada,
    EntradaPerduda, // listening stopped: the input device went away (the sound server, say)
    TitolErrorWav,
    WavNoEsPotCrear, // result codes 1 to 4 of EscriureWav
    WavErrorAvis,
    WavErrorFormat,
    WavErrorDades,
    // The experiment's grids (and so its results text): the same words in both languages.
    GridSurt,
    GridTotal,
    GridEncerts,
    GridPercentEncerts,
    GridError, // the error list's headers, in column order 1..8
    GridNum,
    GridFreq,
    GridF1,
    GridMigLPC,
    GridS2F,
    GridAF1,
    GridSituacio,
    TextNoEsPotCrear, // the export's results text or chart file; followed by its name
    // The vowel chart: its caption (also the main window's menu item, with an access key), its clear
    // button and the titles of its axes.
    TitolCarta,
    MenuCarta,
    BotoBuidarCarta,
    EixF1Carta,
    EixF2Carta,
    // The experimentation window's pages (the chart's page is captioned TitolCarta) and the legend of
    // the experiment's chart.
    TabErrors,
    TabDiferencies,
    LlegendaEncerts,
    LlegendaErrors,
    // The mail-request window: caption, buttons, and the lines of its text around the file names.
    TitolEmail,
    BotoObrirCorreu,
    BotoTancarCorreu,
    CorreuEnviar,
    CorreuAdreca,
    CorreuInstruccions,
    CorreuManual,
    CorreuGracies,
    CorreuSignatura,
    // tessora-cli: a --desa-captura file that stops taking blocks part-way (followed by its name and
    // the reason), and the WAV format's own limit as that reason.
    CapturaAturada,
    LimitWav,
    // The capture's troubles: the main window's notice of blocks the live input lost (followed by their
    // count), and the message of a recording that stopped reading part-way (followed by its file; the
    // reader's reason goes below).
    BlocsPerduts,
    LecturaInterrompuda,
    // Keeping an experiment: the question when its name is cancelled, an export that failed (after
    // TextNoEsPotCrear, the name and the system's reason), the replace question of the save dialog for
    // several files (%1: their names, one a line), the notice of experiments kept at an earlier close
    // (followed by their files, one a line), and the mail program that does not start.
    DescartarResultats,
    ExportacioAltreNom,
    SubstituirFitxers,
    ExperimentsDesats,
    CorreuNoArrenca,
    // The start/stop button, read off the listening state: its caption while not listening and while
    // listening, and its hint before the first start, after a stop and while listening.
    BotoEngegar,
    BotoParar,
    HintBotoInicial,
    HintBotoEngegar,
    HintBotoParar,
    // Scoring against annotations: the confusion table's row of the intervals left without an answer,
    // the captions of the counts below it (followed by ": " and the count), and why an interval was not
    // scored.
    AvaluacioSenseResposta,
    AvaluacioInsercions,
    AvaluacioNoPuntuats,
    AvaluacioEtiquetaBuida,
    AvaluacioEtiquetaDesconeguda,
    // The session's timeline: its caption, the main window's items that open it and save it, its
    // controls (freeze and go on, the time scale's "whole session", the model commands, the headphones)
    // and the hint of its picture, the note shown while an utterance plays (without and with
    // headphones), its troubles (a code follows ErrorReproduir, the system's reason ErrorModels), the
    // message of a session that could not be saved (followed by the file; the reason goes below), and
    // the note names of the pitch axis (followed by the octave, A4 being 440 Hz).
    TitolSessio,
    MenuSessio,
    MenuDesarSessio,
    BotoCongelar,
    BotoContinuar,
    EscalaTotaSessio,
    HintEscala,
    BotoModel,
    BotoBuidarModels,
    CheckAuriculars,
    HintSessio,
    Reproduint,
    ReproduintAuriculars,
    ErrorReproduir,
    ErrorModels,
    ErrorDesarSessio,
    NotaDo,
    NotaLa,
    // The vowel charts' models: the distance of the newest point to its vowel's model ("%1": the number).
    DistanciaModel,
    // The experiment's journal: the speaker field (its label and accessible name), the title of its
    // messages, a run that could not be stored (the journal locked, the disk full, no writing allowed:
    // SQLite's or the system's reason goes below), the journal set aside (followed by its new name), not
    // opened (the reason follows), the runs kept in memory stored after all, and those still not stored
    // at the program's close (followed by the number).
    EtiquetaParlant,
    NomParlant,
    TitolDiari,
    DiariOcupat,
    DiariPle,
    DiariNomesLectura,
    DiariApartat,
    DiariNoObert,
    DiariDesatTard,
    DiariPendentsTancament,
    // A speaker's progress across runs: the window's caption (also the item of the experimentation
    // window's menu that opens it), the anonymous speaker's entry of its speaker list (captioned
    // EtiquetaParlant), the hit-rate plot's axis and its overall line, the titles of the first and the
    // latest run's charts ("%1": the run's date), the trials without formants left out of a chart ("%1":
    // how many), what it says without runs of the language's vowel set, and a journal that could not be
    // read (the reason follows; one set aside is DiariApartat).
    TitolProgres,
    ParlantAnonim,
    EixEncertsProgres,
    TotalProgres,
    PrimeraCursa,
    DarreraCursa,
    ProvesSenseFormants,
    CapCursaProgres,
    ErrorLlegirDiari,
    // The journal's pooled results (tessora-cli --diari): the captions of the per-speaker table (speaker,
    // runs, trials; hits and their percentage are the grid's; the anonymous speaker is ParlantAnonim).
    DiariParlant,
    DiariCurses,
    DiariProves,
    // Accessibility: what a screen reader says of the controls whose visible text does not say it (the
    // big letter is followed by ": " and the vowel), and the keys of the experiment's prompt.
    AccLletra,
    AccLletraDescripcio,
    AccNivell,
    AccNivellDescripcio,
    AccBarraMenus,
    AccGrafic,
    AccGraficDescripcio,
    AccGridErrors,
    AccGridErrorsDescripcio,
    AccGridDiferencies,
    AccGridDiferenciesDescripcio,
    AccCartaDescripcio,
    AccLiniaTemps,
    AccIndicacioDescripcio,
    AccMissatgeCorreu,
    Nombre // not a text: how many there are
};

inline constexpr int kNombreTexts = static_cast<int>(IdText::Nombre);

// The text `id` in `idioma`.
const std::string& Text(Idioma idioma, IdText id);

// The text of the About item in the menu bar for the given mode.
const std::string& TextParlantBarra(Idioma idioma, bool modeExperimentador);

// The message of a result code of EscriureWav (1 to 4); empty for 0 and unknown codes.
std::string_view MissatgeEscriureWav(std::int32_t codi);

} // namespace tessora
