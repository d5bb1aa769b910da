#include "UnitTessora.h"

#include "ArxiuIni.h"
#include "EventBlocSo.h"
#include "Fabricant.h"
#include "LiniaOrdres.h"
#include "NomFitxer.h"
#include "TextsIdioma.h"
#include "UnitFormExperimentacio.h"
#include "UnitFormFFT.h"
#include "UnitWave.h"
#include "Unitabout.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>

namespace tessora {

namespace {

// Width and height of the client area below the menu bar, for a window of 335 x 273 pixels outside.
constexpr int kAmpladaClient = 327;
constexpr int kAlcadaClient = 227;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The save button's 17 x 17 glyph: a floppy disk.
QIcon GlifGuardar() {
    QPixmap dibuix(17, 17);
    dibuix.fill(Qt::transparent);
    QPainter p(&dibuix);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(1, 1, 14, 14);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 6);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(4, 10, 8, 5);
    return QIcon(dibuix);
}

QColor ColorQt(ColorNivell color) {
    const ColorRGB c = ValorColor(color);
    return QColor(c.R, c.G, c.B);
}

} // namespace

void ClientPrincipal::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The meter's frame (FormPaint).
    p.setPen(Qt::black);
    p.drawRect(4, 84, 12, 129);
    if (Nivell < 0) return;
    // The last block's bar: erase the ten columns, then draw the level upwards from y = 212. A column of
    // level n covers n pixels, 212 up to 212 - n + 1.
    p.setPen(palette().color(QPalette::Button));
    for (int x = 5; x <= 14; ++x)
        p.drawLine(x, 212, x, 85);
    if (Nivell <= 0) return;
    p.setPen(ColorQt(Color));
    for (int x = 5; x <= 14; ++x)
        p.drawLine(x, 212, x, 212 - Nivell + 1);
}

TFormPrincipal::TFormPrincipal(DispositiuEntrada& dispositiu, Dialegs& dialegs,
                               std::filesystem::path arxiuIni, std::string liniaOrdres, QWidget* parent)
    : QMainWindow(parent), dispositiu_(dispositiu), dialegs_(dialegs), arxiuIni_(std::move(arxiuIni)),
      LiniaOrdres_(std::move(liniaOrdres)), estat_(std::make_unique<EstatAnalisi>()),
      unitat_(*estat_, dispositiu) {
    QFont lletra(QStringLiteral("MS Sans Serif"));
    lletra.setPixelSize(11);
    setFont(lletra);
    setWindowTitle(Q(Texts(Idioma::Catala).TitolPrincipal));
    move(232, 88);

    Client = new ClientPrincipal(this);
    setCentralWidget(Client);

    Panel1 = new QFrame(Client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, kAmpladaClient, 33);

    SpeedButtonEngegarParar = new QToolButton(Panel1);
    SpeedButtonEngegarParar->setGeometry(8, 6, 23, 23);
    SpeedButtonEngegarParar->setCheckable(true);
    SpeedButtonEngegarParar->setAutoRaise(true);
    connect(SpeedButtonEngegarParar, &QToolButton::clicked, this,
            &TFormPrincipal::SpeedButtonEngegarPararClick);

    CheckBoxVeuAguda = new QCheckBox(QStringLiteral("Veu aguda"), Panel1);
    CheckBoxVeuAguda->setGeometry(40, 8, 73, 17);

    LabelVocals = new QLabel(QStringLiteral("A - AE - È - É - I - O - U"), Panel1);
    LabelVocals->setGeometry(128, 9, 108, 13);

    SpeedButtonGuardar = new QToolButton(Panel1);
    SpeedButtonGuardar->setGeometry(296, 6, 23, 23);
    SpeedButtonGuardar->setIcon(GlifGuardar());
    SpeedButtonGuardar->setIconSize(QSize(17, 17));
    SpeedButtonGuardar->setAutoRaise(true);
    SpeedButtonGuardar->setToolTip(QStringLiteral("Guardar so a disc"));
    connect(SpeedButtonGuardar, &QToolButton::clicked, this, &TFormPrincipal::MenuGuardarClick);

    LabelVocalReconeguda = new QLabel(Client);
    LabelVocalReconeguda->setAlignment(Qt::AlignCenter);
    QFont gran(QStringLiteral("Arial Narrow"));
    gran.setPixelSize(197);
    gran.setBold(true);
    LabelVocalReconeguda->setFont(gran);
    QPalette paleta = LabelVocalReconeguda->palette();
    paleta.setColor(QPalette::WindowText, Qt::blue);
    LabelVocalReconeguda->setPalette(paleta);
    LabelVocalReconeguda->setAttribute(Qt::WA_TransparentForMouseEvents);
    LabelVocalReconeguda->setGeometry(0, 33, kAmpladaClient, kAlcadaClient - 33);
    LabelVocalReconeguda->lower(); // under the panel, over the meter drawn on the client

    MenuFitxer = menuBar()->addMenu(QStringLiteral("&Fitxer"));
    MenuLlengua = MenuFitxer->addMenu(QStringLiteral("Llengua"));
    MenuCatala = MenuLlengua->addAction(QStringLiteral("Català"));
    MenuCatala->setCheckable(true);
    MenuCatala->setChecked(true);
    MenuCastellano = MenuLlengua->addAction(QStringLiteral("Castellano"));
    MenuCastellano->setCheckable(true);
    MenuGuardar = MenuFitxer->addAction(QStringLiteral("&Guardar"));
    MenuGuardar->setShortcut(QKeySequence(Qt::Key_F5));
    MenuExperimentar = MenuFitxer->addAction(QStringLiteral("&Experimentar"));
    MenuControlDeVolumen = MenuFitxer->addAction(QStringLiteral("Control de volumen del micròfon..."));
    MenuFitxer->addSeparator();
    MenuSortir = MenuFitxer->addAction(QStringLiteral("&Sortir"));
    MenuEngegarParar = menuBar()->addAction(QStringLiteral("&Engegar/Parar"));
    MenuGrafics = menuBar()->addAction(QStringLiteral("&Gràfics"));
    // The About item stands apart at the right-hand end of the bar, in both modes and languages.
    BarraParlant = new QMenuBar(menuBar());
    MenuParlant = BarraParlant->addAction(QStringLiteral("P&arlant de..."));
    menuBar()->setCornerWidget(BarraParlant, Qt::TopRightCorner);

    connect(MenuCatala, &QAction::triggered, this, &TFormPrincipal::MenuCatalaClick);
    connect(MenuCastellano, &QAction::triggered, this, &TFormPrincipal::MenuCastellanoClick);
    connect(MenuGuardar, &QAction::triggered, this, &TFormPrincipal::MenuGuardarClick);
    connect(MenuExperimentar, &QAction::triggered, this, &TFormPrincipal::MenuExperimentarClick);
    connect(MenuControlDeVolumen, &QAction::triggered, this, &TFormPrincipal::MenuControlDeVolumenClick);
    connect(MenuSortir, &QAction::triggered, this, &TFormPrincipal::MenuSortirClick);
    connect(MenuEngegarParar, &QAction::triggered, this, &TFormPrincipal::SpeedButtonEngegarPararClick);
    connect(MenuGrafics, &QAction::triggered, this, &TFormPrincipal::MenuGraficsClick);
    connect(MenuParlant, &QAction::triggered, this, &TFormPrincipal::MenuParlantClick);

    resize(kAmpladaClient, kAlcadaClient + menuBar()->sizeHint().height());
    FormCreate();
}

TFormPrincipal::~TFormPrincipal() {
    // The capture must not deliver into a window that is going away.
    unitat_.AlliberarEntradaDeSo();
}

void TFormPrincipal::FormCreate() {
    BufferSo_ = BufferSo::Crear();
    if (!BufferSo_) {
        dialegs_.Error(this, QStringLiteral("Mirvane - ERROR"), QStringLiteral("Memoria insuficiente"));
        return;
    }
    captura_ = std::make_unique<CapturaEntradaDeSo>(unitat_, NotificadorFinestra(this));
    bucle_ = std::make_unique<BucleEscolta>(*estat_, *BufferSo_, *captura_);

    MenuGrafics->setVisible(ModeExperimentador(LiniaOrdres_));
    ReemplacarParlant();
    if (LlegirVeuAguda(ArxiuIni(arxiuIni_))) CheckBoxVeuAguda->setChecked(true);
    MostrarBoto();
    unitat_.InicialitzarEntradaDeSo(kMidaBloc);
}

void TFormPrincipal::EnllacarFinestres(TFormFFT* fft, TAboutBox* about, TFormExperimentacio* experimentacio,
                                       TFormDiguesParaula* diguesParaula) {
    FormFFT = fft;
    AboutBox = about;
    FormExperimentacio = experimentacio;
    FormDiguesParaula = diguesParaula;
    if (FormFFT != nullptr) FormFFT->ReanalitzarBloc = [this] { ReanalitzarBloc(); };
}

int TFormPrincipal::PosicioParlant() const {
    int visibles = 0;
    for (QAction* a : menuBar()->actions())
        if (a->isVisible()) ++visibles;
    return visibles;
}

void TFormPrincipal::ReemplacarParlant() {
    const bool experimentador = ModeExperimentador(LiniaOrdres_);
    const TextsMenu& t = Texts(MenuCastellano->isChecked() ? Idioma::Castella : Idioma::Catala);
    MenuParlant->setText(Q(experimentador ? t.ParlantBarraExperimentador : t.ParlantBarraNormal));
    BarraParlant->adjustSize();
    menuBar()->update();
}

void TFormPrincipal::MostrarBoto() {
    if (!bucle_) return;
    SpeedButtonEngegarParar->setText(Q(bucle_->CaptionBoto()));
    SpeedButtonEngegarParar->setToolTip(Q(bucle_->HintBoto()));
    SpeedButtonEngegarParar->setChecked(bucle_->BotoPremut());
}

void TFormPrincipal::SpeedButtonEngegarPararClick() {
    if (!bucle_) return;
    const std::int32_t codi = bucle_->SpeedButtonEngegarPararClick();
    MostrarBoto();
    if (codi != 0) dialegs_.Error(this, Q(kTitolErrorObrirEntrada), Q(kTextErrorObrirEntrada));
}

bool TFormPrincipal::event(QEvent* event) {
    if (event->type() == TipusEventBlocSo()) {
        RebreBlocDeSo();
        return true;
    }
    return QMainWindow::event(event);
}

void TFormPrincipal::MostrarResultat(const ResultatReconeixement& r) {
    if (r.NouTextFrequenciaMinima && FormFFT != nullptr)
        FormFFT->EditFrequenciaMinima->setText(Q(*r.NouTextFrequenciaMinima));
    if (!r.Completa) return;
    if (r.Fila && FormExperimentacio != nullptr) FormExperimentacio->FilaActual = r.Fila;
    if (FormFFT != nullptr) {
        FormFFT->LabelDades1->setText(Q(r.LiniaDades));
        if (r.Refresc != RefrescGrafics::Cap) FormFFT->repaint();
    }
}

void TFormPrincipal::RebreBlocDeSo() {
    if (!bucle_ || tancada_) return;
    ControlsBucle controls;
    if (FormFFT != nullptr) {
        controls.Analisi =
            FormFFT->LlegirConfiguracio(CheckBoxVeuAguda->isChecked(), MenuCastellano->isChecked());
        controls.ReconeixementContinu = FormFFT->MenuReconeixementContinu->isChecked();
        controls.TextLletra = FormFFT->EditLletra->text().toStdString();
    }
    controls.ExperimentEsperant = FormExperimentacio != nullptr && FormExperimentacio->isVisible() &&
                                  FormExperimentacio->ExperimentDisponible;

    const EfecteBloc efecte = bucle_->RebreBlocDeSo(controls);
    if (efecte.EntradaPerduda) { // listening has stopped; a new start tries the device again
        MostrarBoto();
        dialegs_.Error(this, Q(kTitolAplicacio),
                       Q(TextEntradaPerduda(MenuCatala->isChecked() ? Idioma::Catala : Idioma::Castella)));
    }
    if (!efecte.Escoltat) return;
    if (efecte.Analisi) MostrarResultat(*efecte.Analisi);

    Client->Nivell = efecte.Nivell;
    Client->Color = efecte.Color;
    Client->update();

    if (efecte.NouColorLletra) {
        QPalette paleta = LabelVocalReconeguda->palette();
        paleta.setColor(QPalette::WindowText,
                        *efecte.NouColorLletra == ColorLletra::Vermell ? Qt::red : Qt::blue);
        LabelVocalReconeguda->setPalette(paleta);
    }
    if (efecte.NouTitol) {
        const Idioma idioma = MenuCatala->isChecked() ? Idioma::Catala : Idioma::Castella;
        setWindowTitle(*efecte.NouTitol == TitolFinestra::AvisSaturacio ? Q(TextAvisSaturacio(idioma))
                                                                        : Q(Texts(idioma).TitolPrincipal));
    }
    if (efecte.LletraCanviada) LabelVocalReconeguda->setText(Q(bucle_->TextLletra()));
    if (efecte.PasExperiment && FormExperimentacio != nullptr)
        FormExperimentacio->ProcessarBlocExperiment(bucle_->UltimaVocal());
    if (efecte.AturadaAutomatica) MostrarBoto();
}

void TFormPrincipal::ReanalitzarBloc() {
    if (!bucle_ || FormFFT == nullptr) return;
    const ResultatReconeixement r = CalcularReconeixement(
        *estat_, FormFFT->LlegirConfiguracio(CheckBoxVeuAguda->isChecked(), MenuCastellano->isChecked()));
    MostrarResultat(r);
    bucle_->MostrarLletra(r.Vocal);
    LabelVocalReconeguda->setText(Q(r.Vocal));
}

void TFormPrincipal::CanviarIdioma(bool castella) {
    const TextsMenu& t = Texts(castella ? Idioma::Castella : Idioma::Catala);
    MenuCatala->setChecked(!castella);
    MenuCastellano->setChecked(castella);
    MenuLlengua->setTitle(Q(t.MenuLlengua));
    MenuFitxer->setTitle(Q(t.MenuFitxer));
    MenuGuardar->setText(Q(t.MenuGuardar));
    MenuExperimentar->setText(Q(t.MenuExperimentar));
    MenuSortir->setText(Q(t.MenuSortir));
    MenuEngegarParar->setText(Q(t.MenuEngegarParar));
    MenuGrafics->setText(Q(t.MenuGrafics));
    MenuParlant->setText(Q(t.MenuParlant));
    MenuControlDeVolumen->setText(Q(t.MenuControlDeVolumen));
    CheckBoxVeuAguda->setText(Q(t.CheckBoxVeuAguda));
    LabelVocals->setText(Q(t.LabelVocals));
    setWindowTitle(Q(t.TitolPrincipal));
    if (FormDiguesParaula != nullptr) FormDiguesParaula->setWindowTitle(Q(t.TitolDiguesParaula));
    if (FormExperimentacio != nullptr) {
        FormExperimentacio->setWindowTitle(Q(t.TitolExperimentacio));
        FormExperimentacio->MenuFitxer->setTitle(Q(t.ExperimentacioMenuFitxer));
        FormExperimentacio->MenuExperimentacioExperimentar->setText(Q(t.ExperimentacioMenuExperimentar));
        FormExperimentacio->MenuExperimentacioCopiarALaCarpetaElsResultats->setText(
            Q(t.ExperimentacioMenuCopiar));
    }
    ReemplacarParlant();
}

void TFormPrincipal::MenuCatalaClick() {
    CanviarIdioma(false);
}
void TFormPrincipal::MenuCastellanoClick() {
    CanviarIdioma(true);
}

void TFormPrincipal::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Panel1->resize(Client->width(), Panel1->height());
    LabelVocalReconeguda->setGeometry(0, Panel1->height(), Client->width(),
                                      Client->height() - Panel1->height());
}

void TFormPrincipal::MenuGuardarClick() {
    if (!bucle_ || !BufferSo_) return;
    if (bucle_->CaptionBoto() == "P") SpeedButtonEngegarPararClick();
    const std::optional<QString> triat =
        dialegs_.DemanarNomDesar(this, QStringLiteral("Archivos de sonido (*.wav)"));
    if (!triat) return;
    const QString nom = NomAmbExtensioWav(*triat);
    dialegs_.Informar(this, QStringLiteral("Tessora"), QStringLiteral("Nombre del fichero: ") + nom);
    const std::int32_t codi = EscriureWav(std::filesystem::path(nom.toStdString()), 0, BufferSo_->Ranura(0));
    if (codi != kWavCorrecte) dialegs_.Error(this, Q(kTitolErrorWav), Q(MissatgeEscriureWav(codi)));
}

void TFormPrincipal::MenuExperimentarClick() {
    if (FormExperimentacio != nullptr) FormExperimentacio->show();
}

void TFormPrincipal::MenuControlDeVolumenClick() {
    // An open mixer is raised (and restored when minimised); otherwise one is started on its input tab.
    if (dialegs_.ExecutarPrograma(QStringLiteral("wmctrl"),
                                  {QStringLiteral("-a"), QStringLiteral("Volume Control")}) == 0)
        return;
    if (dialegs_.IniciarPrograma(QStringLiteral("pavucontrol"), {QStringLiteral("--tab=4")})) return;
    dialegs_.Informar(this, QStringLiteral("Tessora"),
                      MenuCatala->isChecked()
                          ? QStringLiteral("No hi ha cap control de volum instal·lat (pavucontrol).")
                          : QStringLiteral("No hay ningún control de volumen instalado (pavucontrol)."));
}

void TFormPrincipal::MenuParlantClick() {
    if (AboutBox != nullptr) AboutBox->exec();
}

void TFormPrincipal::MenuGraficsClick() {
    if (FormFFT != nullptr) FormFFT->show();
}

void TFormPrincipal::MenuSortirClick() {
    close();
}

void TFormPrincipal::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TFormPrincipal::FormClose() {
    if (tancada_) return;
    unitat_.PararEntradaDeSo();
    EsperarMilisegons(1000);
    tancada_ = true;
    unitat_.AlliberarEntradaDeSo();
    bucle_.reset();
    BufferSo_.reset();
    ArxiuIni ini(arxiuIni_);
    EscriureConfiguracio(ini, CheckBoxVeuAguda->isChecked(), MenuCastellano->isChecked());
}

} // namespace tessora
