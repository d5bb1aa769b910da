// tessora: the desktop program.
//
//   tessora [qevrun] [--entrada FILE] [--dispositiu NAME] [Qt options]
//   tessora --help | --version
//
// --entrada listens to a recording (played at the real block rate) instead of the microphone;
// --dispositiu picks the input device by name. Everything else joins the command line that switches
// on the experimenter mode. --help and --version answer before Qt looks for a display.
#include "Arrencada.h"
#include "ArxiuIni.h"
#include "DesamentAutomatic.h"
#include "Diari.h"
#include "DispositiuQt.h"
#include "FontFitxer.h"
#include "LecturaSo.h"
#include "LiniaOrdres.h"
#include "ModelsVocals.h"
#include "Proces.h"
#include "SenyalsTerminacio.h"
#include "SortidaQt.h"
#include "UnitFormExperimentacio.h"
#include "UnitTessora.h"

#include <QApplication>
#include <QSessionManager>

#include <iostream>
#include <memory>
#include <string_view>

namespace {

// Laid out as tessora-cli's help is: the manual page's OPTIONS are checked against the indented lines
// that start with a dash.
constexpr std::string_view kAjuda =
    "Listens to the microphone, or to a recording, and shows the vowel of each sung or spoken\n"
    "utterance as one big letter.\n"
    "Usage: tessora [qevrun] [OPTIONS]\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Print this help message and exit\n"
    "  --version                   Display program version information and exit\n"
    "  --entrada FILE              Listen to this sound file, at the real pace, instead of the microphone\n"
    "  --dispositiu NAME           The input device, by name (see tessora-cli --dispositius)\n"
    "\n"
    "The word qevrun switches on the experimenter mode. Qt's own options (-platform, -style, ...)\n"
    "are taken as well.\n";

} // namespace

int main(int argc, char** argv) {
    using namespace tessora;
    ObrirDescriptorsEstandard();
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] != nullptr ? argv[i] : "";
        if (argument == "-h" || argument == "--help") {
            std::cout << kAjuda << std::flush;
            return std::cout ? 0 : 1;
        }
        if (argument == "--version") {
            std::cout << "tessora " << TESSORA_VERSIO << std::endl;
            return std::cout ? 0 : 1;
        }
    }

    QApplication app(argc, argv); // takes Qt's own options out of argv
    QApplication::setApplicationName(QStringLiteral("Tessora"));
    InstallarSubstitutsDeFonts();

    const SeparacioArguments arguments = SepararArguments(argc, argv);
    if (!arguments.Error.empty()) {
        std::cerr << "tessora: " << arguments.Error << '\n';
        return 2;
    }

    std::unique_ptr<DispositiuEntrada> dispositiu;
    if (!arguments.Entrada.empty()) {
        std::string error;
        std::unique_ptr<LectorSo> lector = LectorSo::Obrir(arguments.Entrada, error);
        if (!lector) {
            std::cerr << "tessora: " << arguments.Entrada << ": " << error << '\n';
            return 2;
        }
        const LectorSo& llegit = *lector;
        auto font = std::make_unique<FontFitxer>(std::move(lector), FontFitxer::Ritme::TempsReal);
        // The recording is read as it plays: one that stops reading part-way stops listening, and the
        // window says why.
        font->Identificar(arguments.Entrada, [&llegit] { return llegit.Error(); });
        dispositiu = std::move(font);
    } else {
        dispositiu = std::make_unique<DispositiuQt>(arguments.Dispositiu);
    }

    int codi = 1;
    {
        Dialegs dialegs;
        SortidaQt sortida; // the selected utterances, to the default output device
        AplicacioTessora aplicacio(*dispositiu, dialegs, CamiArxiuIni(), UnirLiniaOrdres(arguments.Restants),
                                   CarpetaDades(), nullptr, &sortida, CamiModelsPerDefecte(),
                                   CamiDiariPerDefecte());
        if (aplicacio.Arrencar()) {
            // Logging out or a plain kill closes the window as the person would: the capture stops, the
            // settings are saved, and an experiment not yet exported is kept in the data folder.
            const SenyalsTerminacio senyals([&aplicacio] { aplicacio.FormPrincipal->close(); });
            // The session manager asks first, before a logout ends the program in ways no close follows
            // (the display going away): the experiment is kept then.
            TFormExperimentacio* experimentacio = aplicacio.FormExperimentacio.get();
            QObject::connect(
                &app, &QGuiApplication::commitDataRequest, experimentacio,
                [experimentacio](QSessionManager&) { experimentacio->DesarResultatsPendents(); });
            codi = app.exec();
            // The runs the journal could not take even at the close are lost with the program: say so.
            Sessio& sessio = *aplicacio.SessioActual;
            if (const std::size_t pendents = sessio.CursesPendents(); pendents > 0)
                std::cerr << "tessora: " << Text(sessio.Llengua(), IdText::DiariPendentsTancament) << pendents
                          << " (" << CamiDiariPerDefecte().string() << ")\n";
        }
    }
    dispositiu.reset();
    SortirSenseGestors(codi); // the settings file was written at close
}
