#include "Arrencada.h"

#include "DesamentAutomatic.h"
#include "EinesFinestra.h"
#include "EventBlocSo.h"
#include "LlocFinestra.h"
#include "UnitFormCarta.h"
#include "UnitFormExperimentacio.h"
#include "UnitFormFFT.h"
#include "UnitFormProgres.h"
#include "UnitFormSessio.h"
#include "UnitTessora.h"
#include "Unitabout.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

namespace tessora {

void InstallarSubstitutsDeFonts() {
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("System"), QStringLiteral("DejaVu Sans"));
}

AplicacioTessora::AplicacioTessora(DispositiuEntrada& dispositiu, Dialegs& dialegs,
                                   std::filesystem::path arxiuIni, std::string liniaOrdres,
                                   std::filesystem::path carpetaDades, FontAleatoria* font,
                                   SortidaDeSo* sortida, std::filesystem::path arxiuModels,
                                   std::filesystem::path arxiuDiari)
    : dispositiu_(dispositiu), dialegs_(dialegs), arxiuIni_(std::move(arxiuIni)),
      liniaOrdres_(std::move(liniaOrdres)), carpetaDades_(std::move(carpetaDades)), font_(font),
      sortida_(sortida), arxiuModels_(std::move(arxiuModels)), arxiuDiari_(std::move(arxiuDiari)) {}

AplicacioTessora::~AplicacioTessora() {
    // The windows go in the reverse order of their creation, the main window last; the session they are
    // built on outlives them.
    FormExperimentacio.reset();
    AboutBox.reset();
    FormFFT.reset();
    FormPrincipal.reset();
    SessioActual.reset();
}

bool AplicacioTessora::Arrencar(int presentacioMs) {
    // The end of a playback is taken later, like a block: never inside the call that told it.
    auto fiReproduccio = [this] {
        QMetaObject::invokeMethod(
            this, [this] { Distribuir(SessioActual->AcabarReproduccio()); }, Qt::QueuedConnection);
    };
    SessioActual =
        Sessio::Crear({dispositiu_, NotificadorFinestra(this), arxiuIni_, liniaOrdres_, SeparadorDecimal(),
                       font_, sortida_, fiReproduccio, arxiuModels_, arxiuDiari_});
    if (!SessioActual) {
        dialegs_.Error(nullptr, T(Idioma::Catala, IdText::TitolMemoria),
                       T(Idioma::Catala, IdText::MemoriaInsuficient));
        return false;
    }
    Sessio& sessio = *SessioActual;
    FormPrincipal = std::make_unique<TFormPrincipal>(sessio, dialegs_);
    FormCarta = new TFormCarta(sessio, FormPrincipal.get());
    FormSessio = new TFormSessio(sessio, FormPrincipal.get());
    FormFFT = std::make_unique<TFormFFT>(sessio);
    AboutBox = std::make_unique<TAboutBox>();
    FormExperimentacio = std::make_unique<TFormExperimentacio>(sessio, dialegs_, carpetaDades_);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/imatges/256x256/tessora.png")));

    TFormPrincipal* principal = FormPrincipal.get();
    connect(principal, &TFormPrincipal::Efecte, this, &AplicacioTessora::Distribuir);
    connect(FormFFT.get(), &TFormFFT::Efecte, this, &AplicacioTessora::Distribuir);
    connect(FormExperimentacio.get(), &TFormExperimentacio::Efecte, this, &AplicacioTessora::Distribuir);
    connect(FormSessio, &TFormSessio::Efecte, this, &AplicacioTessora::Distribuir);
    connect(principal, &TFormPrincipal::GraficsDemanats, FormFFT.get(), &QWidget::show);
    connect(principal, &TFormPrincipal::CartaDemanada, this, &AplicacioTessora::ObrirCarta);
    connect(principal, &TFormPrincipal::SessioDemanada, this, &AplicacioTessora::ObrirSessio);
    connect(FormSessio, &TFormSessio::DesarDemanat, principal, &TFormPrincipal::MenuGuardarClick);
    connect(principal, &TFormPrincipal::ExperimentDemanat, FormExperimentacio.get(),
            &TFormExperimentacio::Obrir);
    connect(FormExperimentacio.get(), &TFormExperimentacio::ProgresDemanat, this,
            &AplicacioTessora::ObrirProgres);
    connect(principal, &TFormPrincipal::ParlantDemanat, AboutBox.get(), &QDialog::exec);
    AplicarIdioma();

    // The About box as a splash: without its button row and without its picture cycle.
    const int alcada = AboutBox->height();
    AboutBox->OKButton->hide();
    AboutBox->setFixedHeight(alcada - 28);
    AboutBox->show();
    AboutBox->Timer1->stop();
    EsperarMilisegons(presentacioMs);
    AboutBox->hide();
    AboutBox->setFixedHeight(alcada);
    AboutBox->OKButton->show();

    principal->SpeedButtonEngegarPararClick();
    principal->show();

    // Experiments kept at an earlier end, said once the event loop runs (so a close meanwhile waits for
    // the message); the notice goes once shown.
    if (!carpetaDades_.empty() && !LlegirAvisDesament(carpetaDades_).empty())
        QTimer::singleShot(0, principal, [this] {
            QString text = T(SessioActual->Llengua(), IdText::ExperimentsDesats);
            for (const std::string& nom : LlegirAvisDesament(carpetaDades_))
                text += QLatin1Char('\n') + Q(nom);
            FormPrincipal->Avisar(text);
            EsborrarAvisDesament(carpetaDades_);
        });
    return true;
}

bool AplicacioTessora::event(QEvent* event) {
    if (event->type() != TipusEventBlocSo()) return QObject::event(event);
    Distribuir(SessioActual->RebreBlocDeSo());
    return true;
}

void AplicacioTessora::Distribuir(const EfecteSessio& efecte) {
    if (efecte.IdiomaCanviat) AplicarIdioma();
    FormPrincipal->Mostrar(efecte);
    FormFFT->Mostrar(efecte);
    FormCarta->Mostrar(efecte);
    FormSessio->Mostrar(efecte);
    FormExperimentacio->Mostrar(efecte);
    // A new language, or a run that stopped (and was stored): the progress shown is read again.
    const bool parada = efecte.Experiment.EnMarxa && !*efecte.Experiment.EnMarxa;
    if (FormProgres != nullptr && FormProgres->isVisible() && (efecte.IdiomaCanviat || parada))
        FormProgres->Mostrar(FormProgres->Parlant(), SessioActual->Llengua());
}

void AplicacioTessora::AplicarIdioma() {
    const Idioma idioma = SessioActual->Llengua();
    dialegs_.FixarIdioma(idioma);
    // Qt's own dialogs and buttons (the save dialog, its questions, OK and Cancel) in the same language.
    auto traduccio = std::make_unique<QTranslator>();
    if (traduccio->load(idioma == Idioma::Castella ? QStringLiteral("qtbase_es")
                                                   : QStringLiteral("qtbase_ca"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        traduccioQt_.reset(); // uninstalls itself
        QCoreApplication::installTranslator(traduccio.get());
        traduccioQt_ = std::move(traduccio);
    }
}

void AplicacioTessora::ObrirCarta() {
    if (!FormCarta->isVisible()) PosarAlCostat(*FormCarta, *FormPrincipal);
    FormCarta->show();
    FormCarta->raise();
}

void AplicacioTessora::ObrirSessio() {
    if (!FormSessio->isVisible()) PosarAlCostat(*FormSessio, *FormPrincipal);
    FormSessio->show();
    FormSessio->raise();
    FormSessio->activateWindow();
}

void AplicacioTessora::ObrirProgres() {
    // The speaker of the experiment's runs, as its window names them.
    const std::string& parlant = SessioActual->Parlant();
    if (FormProgres == nullptr) {
        // A window of the experimentation window's own, so that its modality leaves it reachable.
        FormProgres = new TFormProgres(SessioActual->DiariSessio(), SessioActual->Llengua(), parlant,
                                       FormExperimentacio.get());
    } else {
        FormProgres->Mostrar(parlant, SessioActual->Llengua());
    }
    if (!FormProgres->isVisible()) {
        PosarAlCostat(*FormProgres, *FormExperimentacio);
        AjustarALaPantalla(*FormProgres);
    }
    FormProgres->show();
    FormProgres->raise();
    FormProgres->activateWindow();
}

} // namespace tessora
