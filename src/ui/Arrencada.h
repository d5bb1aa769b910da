// The program's start-up and the place where the windows meet: the session, then the windows built on it
// in their order, the stored language, the one-second splash, listening on, and the main window shown
// last. From then on every value a step of the session returns (a captured block here, a command in a
// window) goes to each window that shows part of it, and the commands that open a window open it.
#pragma once

#include "Dialegs.h"
#include "Sessio.h"

#include <QObject>

#include <filesystem>
#include <memory>
#include <string>

class QTranslator;

namespace tessora {

class TFormPrincipal;
class TFormFFT;
class TAboutBox;
class TFormExperimentacio;
class TFormCarta;
class TFormSessio;
class TFormProgres;
class Diari;

// Free fonts that stand in for the Windows ones the windows ask for, where those are missing.
void InstallarSubstitutsDeFonts();

class AplicacioTessora : public QObject {
    Q_OBJECT
public:
    // `carpetaDades` keeps an experiment the program ends with before it was exported (empty: none is
    // kept). `font`: the prompts' draw (the clock's when null). `sortida` plays the utterances selected
    // (none: nothing is played); `arxiuModels` keeps the models to aim at (empty: they are not kept);
    // `arxiuDiari` is the experiment's journal (empty: runs are not kept).
    AplicacioTessora(DispositiuEntrada& dispositiu, Dialegs& dialegs, std::filesystem::path arxiuIni,
                     std::string liniaOrdres, std::filesystem::path carpetaDades = {},
                     FontAleatoria* font = nullptr, SortidaDeSo* sortida = nullptr,
                     std::filesystem::path arxiuModels = {}, std::filesystem::path arxiuDiari = {});
    ~AplicacioTessora() override;

    // Creates the session and the windows, applies the language, shows the splash for `presentacioMs`,
    // starts listening and shows the main window; then, once, the notice of experiments kept at an
    // earlier end. False when the sound block could not be had (out of memory): the program must end at
    // once, writing nothing.
    bool Arrencar(int presentacioMs = 1000);

    std::unique_ptr<Sessio> SessioActual;
    std::unique_ptr<TFormPrincipal> FormPrincipal;
    TFormCarta* FormCarta = nullptr;   // a window of the main window's own
    TFormSessio* FormSessio = nullptr; // likewise
    std::unique_ptr<TFormFFT> FormFFT;
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TFormExperimentacio> FormExperimentacio;
    TFormProgres* FormProgres = nullptr; // the experimentation window's, made when first asked for

protected:
    // A filled capture buffer: the session takes the block.
    bool event(QEvent* event) override;

private:
    // What a step of the session changed, to every window that shows it.
    void Distribuir(const EfecteSessio& efecte);
    // The language of our own questions and of Qt's own dialogs.
    void AplicarIdioma();
    void ObrirCarta();
    void ObrirSessio();
    // The progress window, beside the experimentation window, for the speaker chosen there.
    void ObrirProgres();

    DispositiuEntrada& dispositiu_;
    Dialegs& dialegs_;
    std::filesystem::path arxiuIni_;
    std::string liniaOrdres_;
    std::filesystem::path carpetaDades_;
    FontAleatoria* font_;
    SortidaDeSo* sortida_;
    std::filesystem::path arxiuModels_;
    std::filesystem::path arxiuDiari_;
    std::unique_ptr<QTranslator> traduccioQt_;
};

} // namespace tessora
