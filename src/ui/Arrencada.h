// The program's start-up: the six windows in their order, the stored language, the one-second splash,
// listening on, and the main window shown last.
#pragma once

#include "Dialegs.h"
#include "UnitEntradaDeSo.h"

#include <filesystem>
#include <memory>
#include <string>

namespace tessora {

class TFormPrincipal;
class TFormFFT;
class TAboutBox;
class TFormExperimentacio;
class TFormDiguesParaula;
class TFormEmail;

// Free fonts that stand in for the Windows ones the windows ask for, where those are missing.
void InstallarSubstitutsDeFonts();

class AplicacioTessora {
public:
    // `carpetaDades` keeps an experiment the program ends with before it was exported (empty: none is
    // kept).
    AplicacioTessora(DispositiuEntrada& dispositiu, Dialegs& dialegs, std::filesystem::path arxiuIni,
                     std::string liniaOrdres, std::filesystem::path carpetaDades = {});
    ~AplicacioTessora();

    // Creates the windows, applies the language, shows the splash for `presentacioMs`, starts listening
    // and shows the main window; then, once, the notice of experiments kept at an earlier end. False when
    // the main window could not be created (out of memory): the program must end at once, writing
    // nothing.
    bool Arrencar(int presentacioMs = 1000);

    std::unique_ptr<TFormPrincipal> FormPrincipal;
    std::unique_ptr<TFormFFT> FormFFT;
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TFormExperimentacio> FormExperimentacio;
    std::unique_ptr<TFormDiguesParaula> FormDiguesParaula;
    std::unique_ptr<TFormEmail> FormEmail;

private:
    DispositiuEntrada& dispositiu_;
    Dialegs& dialegs_;
    std::filesystem::path arxiuIni_;
    std::string liniaOrdres_;
    std::filesystem::path carpetaDades_;
};

} // namespace tessora
