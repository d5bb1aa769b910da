#include "Arrencada.h"

#include "ArxiuIni.h"
#include "DesamentAutomatic.h"
#include "UnitFormExperimentacio.h"
#include "UnitFormFFT.h"
#include "UnitTessora.h"
#include "Unitabout.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPushButton>
#include <QTimer>

namespace tessora {

void InstallarSubstitutsDeFonts() {
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("System"), QStringLiteral("DejaVu Sans"));
}

AplicacioTessora::AplicacioTessora(DispositiuEntrada& dispositiu, Dialegs& dialegs,
                                   std::filesystem::path arxiuIni, std::string liniaOrdres,
                                   std::filesystem::path carpetaDades)
    : dispositiu_(dispositiu), dialegs_(dialegs), arxiuIni_(std::move(arxiuIni)),
      liniaOrdres_(std::move(liniaOrdres)), carpetaDades_(std::move(carpetaDades)) {}

AplicacioTessora::~AplicacioTessora() {
    // The main window goes last, as it was created first.
    FormEmail.reset();
    FormDiguesParaula.reset();
    FormExperimentacio.reset();
    AboutBox.reset();
    FormFFT.reset();
    FormPrincipal.reset();
}

bool AplicacioTessora::Arrencar(int presentacioMs) {
    FormPrincipal = std::make_unique<TFormPrincipal>(dispositiu_, dialegs_, arxiuIni_, liniaOrdres_);
    if (!FormPrincipal->Creada()) return false;
    FormFFT = std::make_unique<TFormFFT>();
    AboutBox = std::make_unique<TAboutBox>();
    FormExperimentacio = std::make_unique<TFormExperimentacio>();
    // The prompt and the request belong to the experimentation window, so that its modality leaves
    // them reachable.
    FormDiguesParaula = std::make_unique<TFormDiguesParaula>(FormExperimentacio.get());
    FormEmail = std::make_unique<TFormEmail>(dialegs_, FormExperimentacio.get());
    FormExperimentacio->EnllacarFinestres(FormDiguesParaula.get(), FormEmail.get());
    FormExperimentacio->FixarCarpetaDades(carpetaDades_);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/imatges/256x256/tessora.png")));
    FormPrincipal->EnllacarFinestres(FormFFT.get(), AboutBox.get(), FormExperimentacio.get(),
                                     FormDiguesParaula.get());

    if (LlegirCastella(ArxiuIni(arxiuIni_))) FormPrincipal->MenuCastellanoClick();

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

    FormPrincipal->SpeedButtonEngegarPararClick();
    FormPrincipal->show();

    // Experiments kept at an earlier end, said once the event loop runs (so a close meanwhile waits for
    // the message); the notice goes once shown.
    if (!carpetaDades_.empty() && !LlegirAvisDesament(carpetaDades_).empty())
        QTimer::singleShot(0, FormPrincipal.get(), [this] {
            QString text =
                QString::fromStdString(Text(FormPrincipal->IdiomaActual(), IdText::ExperimentsDesats));
            for (const std::string& nom : LlegirAvisDesament(carpetaDades_))
                text += QLatin1Char('\n') + QString::fromStdString(nom);
            FormPrincipal->Avisar(text);
            EsborrarAvisDesament(carpetaDades_);
        });
    return true;
}

} // namespace tessora
