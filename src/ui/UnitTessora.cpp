#include "UnitTessora.h"

#include "ArxiuIni.h"
#include "EventBlocSo.h"
#include "Fabricant.h"
#include "LiniaOrdres.h"
#include "LlocFinestra.h"
#include "NomFitxer.h"
#include "TextsIdioma.h"
#include "UnitFormCarta.h"
#include "UnitFormExperimentacio.h"
#include "UnitFormFFT.h"
#include "UnitWave.h"
#include "Unitabout.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QStatusBar>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

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

// `text` without the access keys that items before it already use ('&' before a taken letter is
// dropped, so a later '&' becomes the key); the key it keeps is added to `usades`.
QString SenseTeclesUsades(const QString& text, QString& usades) {
    QString resultat;
    bool triada = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&') || i + 1 >= text.size()) {
            resultat += text[i];
            continue;
        }
        const QChar seguent = text[i + 1].toLower();
        if (seguent == QLatin1Char('&')) {
            resultat += QStringLiteral("&&");
            ++i;
        } else if (!triada && usades.contains(seguent)) {
            continue;
        } else {
            if (!triada) usades += seguent;
            triada = true;
            resultat += text[i];
        }
    }
    return resultat;
}

// The access key of an item's text, lower case; empty when it has none.
QString TeclaAcces(const QString& text) {
    QString cap;
    SenseTeclesUsades(text, cap);
    return cap;
}

} // namespace

void BotoRapid::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!hasFocus()) return;
    // A button only takes the focus from the keyboard, so its focus is always shown.
    QStylePainter p(this);
    QStyleOptionFocusRect opcio;
    opcio.initFrom(this);
    opcio.state |= QStyle::State_KeyboardFocusChange;
    opcio.rect = rect().adjusted(1, 1, -1, -1);
    opcio.backgroundColor = palette().color(QPalette::Button);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, opcio);
}

TFormPrincipal::EsperaPersona::EsperaPersona(TFormPrincipal& finestra) : finestra_(finestra) {
    ++finestra_.esperes_;
}

TFormPrincipal::EsperaPersona::~EsperaPersona() {
    if (--finestra_.esperes_ == 0 && finestra_.tancamentPendent_)
        QMetaObject::invokeMethod(&finestra_, &QWidget::close, Qt::QueuedConnection);
}

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
    move(232, 88);

    Client = new ClientPrincipal(this);
    setCentralWidget(Client);

    Panel1 = new QFrame(Client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    SpeedButtonEngegarParar = new BotoRapid(Panel1);
    SpeedButtonEngegarParar->setGeometry(8, 6, 23, 23);
    SpeedButtonEngegarParar->setCheckable(true);
    SpeedButtonEngegarParar->setAutoRaise(true);
    connect(SpeedButtonEngegarParar, &QToolButton::clicked, this,
            &TFormPrincipal::SpeedButtonEngegarPararClick);

    CheckBoxVeuAguda = new QCheckBox(Panel1);
    LabelVocals = new QLabel(Panel1);

    SpeedButtonGuardar = new BotoRapid(Panel1);
    SpeedButtonGuardar->setIcon(GlifGuardar());
    SpeedButtonGuardar->setIconSize(QSize(17, 17));
    SpeedButtonGuardar->setAutoRaise(true);
    connect(SpeedButtonGuardar, &QToolButton::clicked, this, &TFormPrincipal::MenuGuardarClick);

    LabelVocalReconeguda = new EtiquetaLletra(Client);
    QFont gran(QStringLiteral("Arial Narrow"));
    gran.setPixelSize(197);
    gran.setBold(true);
    LabelVocalReconeguda->setFont(gran);
    QPalette paleta = LabelVocalReconeguda->palette();
    paleta.setColor(QPalette::WindowText, Qt::blue);
    LabelVocalReconeguda->setPalette(paleta);
    LabelVocalReconeguda->setAttribute(Qt::WA_TransparentForMouseEvents);
    LabelVocalReconeguda->lower(); // under the panel, over the meter drawn on the client

    MenuFitxer = menuBar()->addMenu(QString());
    MenuLlengua = MenuFitxer->addMenu(QString());
    MenuCatala = MenuLlengua->addAction(QString());
    MenuCatala->setCheckable(true);
    MenuCastellano = MenuLlengua->addAction(QString());
    MenuCastellano->setCheckable(true);
    MenuGuardar = MenuFitxer->addAction(QString());
    MenuGuardar->setShortcut(QKeySequence(Qt::Key_F5));
    MenuExperimentar = MenuFitxer->addAction(QString());
    MenuControlDeVolumen = MenuFitxer->addAction(QString());
    MenuCarta = MenuFitxer->addAction(QString());
    FormCarta = new TFormCarta(this);
    MenuFitxer->addSeparator();
    MenuSortir = MenuFitxer->addAction(QString());
    MenuEngegarParar = menuBar()->addAction(QString());
    MenuGrafics = menuBar()->addAction(QString());
    // The About item stands apart at the right-hand end of the bar, in both modes and languages.
    BarraParlant = new QMenuBar(menuBar());
    MenuParlant = BarraParlant->addAction(QString());
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
    connect(MenuCarta, &QAction::triggered, this, &TFormPrincipal::MenuCartaClick);
    connect(CheckBoxVeuAguda, &QCheckBox::toggled, FormCarta, &TFormCarta::FixarVeuAguda);

    // The texts as designed: Catalan, the language submenu still without its access key.
    MenuGrafics->setVisible(ModeExperimentador(LiniaOrdres_));
    CanviarIdioma(false);
    MenuLlengua->setTitle(T(IdText::MenuLlenguaInicial));
    resize(kAmpladaClient, kAlcadaClient + menuBar()->sizeHint().height());
    Distribuir();
    FormCreate();
}

TFormPrincipal::~TFormPrincipal() {
    // The capture must not deliver into a window that is going away.
    unitat_.AlliberarEntradaDeSo();
}

void TFormPrincipal::FormCreate() {
    BufferSo_ = BufferSo::Crear();
    if (!BufferSo_) {
        dialegs_.Error(this, T(IdText::TitolMemoria), T(IdText::MemoriaInsuficient));
        return;
    }
    captura_ = std::make_unique<CapturaEntradaDeSo>(unitat_, NotificadorFinestra(this));
    bucle_ = std::make_unique<BucleEscolta>(*estat_, *BufferSo_, *captura_);

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
    if (FormFFT != nullptr) FormFFT->EnllacarAnalisi(*estat_, [this] { ReanalitzarBloc(); });
    if (FormExperimentacio != nullptr && BufferSo_) {
        // The experiment turns listening on and off through the same toggle as the button. A start that
        // failed is toggled back, so that the run stays Ready with listening off.
        const auto escolta = [this](bool engegar) {
            if (engegar == bucle_->Engegat()) return true;
            if (SpeedButtonEngegarPararClick() == 0) return true;
            SpeedButtonEngegarPararClick();
            return false;
        };
        const auto capcalera = [this] {
            CapcaleraResultats c;
            c.Castella = MenuCastellano->isChecked();
            c.VeuAguda = CheckBoxVeuAguda->isChecked();
            c.ModeExperimentador = ModeExperimentador(LiniaOrdres_);
            return c;
        };
        FormExperimentacio->EnllacarPrincipal(
            {BufferSo_.get(), &dialegs_, escolta, capcalera, [this] { return tancamentPendent_; }});
    }
}

int TFormPrincipal::PosicioParlant() const {
    int visibles = 0;
    for (QAction* a : menuBar()->actions())
        if (a->isVisible()) ++visibles;
    return visibles;
}

void TFormPrincipal::ReemplacarParlant() {
    // Shown with the text of the mode, less any access key an item to its left already has (Spanish
    // "&Acerca" would take Alt+A from "&Archivo"; it keeps Alt+D).
    QString usades;
    for (QAction* a : menuBar()->actions())
        if (a->isVisible()) usades += TeclaAcces(a->text());
    MenuParlant->setText(
        SenseTeclesUsades(Q(TextParlantBarra(IdiomaActual(), ModeExperimentador(LiniaOrdres_))), usades));
    BarraParlant->adjustSize();
    menuBar()->update();
}

void TFormPrincipal::MostrarBoto() {
    if (!bucle_) return;
    const EstatEscolta escolta = bucle_->Escolta();
    SpeedButtonEngegarParar->setText(
        T(escolta == EstatEscolta::Escoltant ? IdText::BotoParar : IdText::BotoEngegar));
    SpeedButtonEngegarParar->setToolTip(T(escolta == EstatEscolta::Inicial     ? IdText::HintBotoInicial
                                          : escolta == EstatEscolta::Escoltant ? IdText::HintBotoParar
                                                                               : IdText::HintBotoEngegar));
    SpeedButtonEngegarParar->setChecked(escolta == EstatEscolta::Escoltant);
}

std::int32_t TFormPrincipal::SpeedButtonEngegarPararClick() {
    if (!bucle_) return -1;
    const EsperaPersona espera(*this);
    const std::int32_t codi = bucle_->SpeedButtonEngegarPararClick();
    MostrarBoto();
    if (codi != 0) dialegs_.Error(this, T(IdText::TitolErrorEntrada), T(IdText::ErrorObrirEntrada));
    return codi;
}

bool TFormPrincipal::event(QEvent* event) {
    if (event->type() == TipusEventBlocSo()) {
        RebreBlocDeSo();
        return true;
    }
    return QMainWindow::event(event);
}

void TFormPrincipal::MostrarResultat(const ResultatReconeixement& r) {
    if (r.Trets && FormExperimentacio != nullptr) FormExperimentacio->MostrarFila(*r.Trets);
    if (FormFFT != nullptr) FormFFT->MostrarResultat(r);
}

void TFormPrincipal::RebreBlocDeSo() {
    if (!bucle_ || tancada_) return;
    ControlsBucle controls;
    if (FormFFT != nullptr) {
        controls.Analisi =
            FormFFT->LlegirConfiguracio(CheckBoxVeuAguda->isChecked(), MenuCastellano->isChecked());
        controls.ReconeixementContinu = FormFFT->ReconeixementContinu();
        controls.TextLletra = FormFFT->LletraAComparar();
    }
    controls.ExperimentEsperant = FormExperimentacio != nullptr && FormExperimentacio->EsperaEmissio();

    const EfecteBloc efecte = bucle_->RebreBlocDeSo(controls);
    if (unitat_.BlocsPerduts() != perdutsMostrats_) MostrarBlocsPerduts();
    if (efecte.EntradaPerduda) { // listening has stopped; a new start tries the device again
        MostrarBoto();
        const EsperaPersona espera(*this);
        const std::optional<LecturaInterrompuda> lectura = dispositiu_.Interrupcio();
        dialegs_.Error(this, Q(kTitolAplicacio),
                       lectura
                           ? T(IdText::LecturaInterrompuda) + Q(lectura->Fitxer) + "\n\n" + Q(lectura->Motiu)
                           : T(IdText::EntradaPerduda));
        return;
    }
    if (!efecte.Escoltat) return;
    if (efecte.Analisi) {
        MostrarResultat(*efecte.Analisi);
        FormCarta->MostrarAnalisi(*efecte.Analisi, CheckBoxVeuAguda->isChecked());
    }

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
        // The warning's language follows MenuCatala's check mark.
        const Idioma idioma = MenuCatala->isChecked() ? Idioma::Catala : Idioma::Castella;
        setWindowTitle(
            Q(Text(idioma, *efecte.NouTitol == TitolFinestra::AvisSaturacio ? IdText::AvisSaturacio
                                                                            : IdText::TitolPrincipal)));
    }
    if (efecte.LletraCanviada) LabelVocalReconeguda->setText(Q(bucle_->TextLletra()));
    if (efecte.PasExperiment && FormExperimentacio != nullptr)
        FormExperimentacio->ProcessarBlocExperiment(bucle_->UltimaVocal());
    if (efecte.AturadaAutomatica) MostrarBoto();
}

void TFormPrincipal::MostrarBlocsPerduts() {
    perdutsMostrats_ = unitat_.BlocsPerduts();
    if (perdutsMostrats_ == 0) return;
    if (avisPerduts_ == nullptr) {
        // Only now does the window grow a line, below the letter: the person should know that the
        // letters and the experiment's sounds may have gaps, without a message to dismiss.
        avisPerduts_ = new QLabel;
        statusBar()->setSizeGripEnabled(false);
        statusBar()->addWidget(avisPerduts_, 1);
    }
    avisPerduts_->setText(T(IdText::BlocsPerduts) + QString::number(perdutsMostrats_));
}

void TFormPrincipal::ReanalitzarBloc() {
    if (!bucle_ || FormFFT == nullptr) return;
    const ResultatReconeixement r = CalcularReconeixement(
        *estat_, FormFFT->LlegirConfiguracio(CheckBoxVeuAguda->isChecked(), MenuCastellano->isChecked()));
    MostrarResultat(r);
    bucle_->MostrarLletra(r.Vocal);
    LabelVocalReconeguda->setText(Q(r.Vocal));
}

QString TFormPrincipal::T(IdText id) const {
    return Q(Text(IdiomaActual(), id));
}

void TFormPrincipal::CanviarIdioma(bool castella) {
    MenuCatala->setChecked(!castella);
    MenuCastellano->setChecked(castella);
    AplicarTexts(IdiomaActual());
    MostrarBlocsPerduts();
    ReemplacarParlant();
    Distribuir();
}

void TFormPrincipal::AplicarTexts(Idioma idioma) {
    const auto t = [idioma](IdText id) { return Q(Text(idioma, id)); };
    MenuLlengua->setTitle(t(IdText::MenuLlengua));
    MenuFitxer->setTitle(t(IdText::MenuFitxer));
    MenuCatala->setText(t(IdText::MenuCatala));
    MenuCastellano->setText(t(IdText::MenuCastellano));
    MenuGuardar->setText(t(IdText::MenuGuardar));
    MenuExperimentar->setText(t(IdText::MenuExperimentar));
    MenuSortir->setText(t(IdText::MenuSortir));
    MenuEngegarParar->setText(t(IdText::MenuEngegarParar));
    MenuGrafics->setText(t(IdText::MenuGrafics));
    MenuParlant->setText(t(IdText::MenuParlant));
    MenuControlDeVolumen->setText(t(IdText::MenuControlDeVolumen));
    MenuCarta->setText(t(IdText::MenuCarta));
    FormCarta->AplicarTexts(idioma);
    CheckBoxVeuAguda->setText(t(IdText::CheckBoxVeuAguda));
    LabelVocals->setText(t(IdText::LabelVocals));
    SpeedButtonGuardar->setToolTip(t(IdText::HintGuardar));
    setWindowTitle(t(IdText::TitolPrincipal));
    if (FormDiguesParaula != nullptr) FormDiguesParaula->AplicarTexts(idioma);
    if (FormExperimentacio != nullptr) FormExperimentacio->AplicarTexts(idioma);
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

void TFormPrincipal::Distribuir() {
    // The design's places and sizes are the least each control gets: one grows to hold its text in the
    // fonts in use, and pushes the controls to its right, and the window, along.
    const QSize casella = CheckBoxVeuAguda->sizeHint();
    CheckBoxVeuAguda->setGeometry(40, 8, std::max(73, casella.width()), std::max(17, casella.height()));
    const QFontMetrics mides(LabelVocals->font());
    const int xVocals = std::max(128, CheckBoxVeuAguda->geometry().right() + 1 + 8);
    LabelVocals->setGeometry(xVocals, 9, std::max(108, mides.horizontalAdvance(LabelVocals->text()) + 2),
                             std::max(13, mides.height()));
    const int xGuardar = std::max(296, LabelVocals->geometry().right() + 1 + 8);
    SpeedButtonGuardar->setGeometry(xGuardar, 6, 23, 23);
    const int alcadaPanell = std::max(
        {33, CheckBoxVeuAguda->geometry().bottom() + 1 + 4, LabelVocals->geometry().bottom() + 1 + 4});
    Panel1->setGeometry(0, 0, std::max(Client->width(), kAmpladaClient), alcadaPanell);

    // The big letter: room for the ink of every vowel, with a small margin.
    const QSizeF tinta = EtiquetaLletra::Tinta(LabelVocalReconeguda->font());
    const int amplada = std::max({kAmpladaClient, xGuardar + 23 + 8, menuBar()->sizeHint().width(),
                                  static_cast<int>(std::ceil(tinta.width())) + 8});
    const int alcada =
        std::max(kAlcadaClient, alcadaPanell + static_cast<int>(std::ceil(tinta.height())) + 8);
    Client->setMinimumSize(amplada, alcada);
    resize(size().expandedTo(QSize(amplada, alcada + menuBar()->sizeHint().height())));
    LabelVocalReconeguda->setGeometry(0, alcadaPanell, Client->width(), Client->height() - alcadaPanell);
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
    const EsperaPersona espera(*this);
    if (bucle_->Engegat()) SpeedButtonEngegarPararClick();
    const std::optional<QString> nom =
        dialegs_.DemanarNomDesar(this, T(IdText::FiltreSo),
                                 [](const QString& triat) { return QStringList{NomAmbExtensioWav(triat)}; });
    if (!nom) return;
    dialegs_.Informar(this, Q(kTitolAplicacio), T(IdText::NomDelFitxer) + *nom);
    const std::int32_t codi = EscriureWav(std::filesystem::path(nom->toStdString()), 0, BufferSo_->Ranura(0));
    if (codi != kWavCorrecte) dialegs_.Error(this, T(IdText::TitolErrorWav), Q(MissatgeEscriureWav(codi)));
}

void TFormPrincipal::MenuExperimentarClick() {
    if (FormExperimentacio == nullptr || !bucle_) return;
    const EsperaPersona espera(*this); // the window is modal, and its export asks for a name
    if (bucle_->Engegat()) SpeedButtonEngegarPararClick();
    FormExperimentacio->Obrir(IdiomaActual(), ModeExperimentador(LiniaOrdres_));
}

void TFormPrincipal::MenuControlDeVolumenClick() {
    const EsperaPersona espera(*this);
    // The mixer this window started is raised, never started twice; one opened otherwise is raised by
    // its title; else one is started on its input tab.
    if (mesclador_ && dialegs_.ProgramaViu(*mesclador_)) {
        dialegs_.ActivarPrograma(*mesclador_);
        return;
    }
    if (dialegs_.ExecutarPrograma(QStringLiteral("wmctrl"),
                                  {QStringLiteral("-a"), QStringLiteral("Volume Control")}) == 0)
        return;
    mesclador_ = dialegs_.IniciarPrograma(QStringLiteral("pavucontrol"), {QStringLiteral("--tab=4")});
    if (!mesclador_) dialegs_.Informar(this, Q(kTitolAplicacio), T(IdText::SenseControlVolum));
}

void TFormPrincipal::MenuParlantClick() {
    const EsperaPersona espera(*this);
    if (AboutBox != nullptr) AboutBox->exec();
}

void TFormPrincipal::Avisar(const QString& text) {
    const EsperaPersona espera(*this);
    dialegs_.Informar(this, Q(kTitolAplicacio), text);
}

void TFormPrincipal::MenuGraficsClick() {
    if (FormFFT != nullptr) FormFFT->show();
}

void TFormPrincipal::MenuCartaClick() {
    if (!FormCarta->isVisible()) PosarAlCostat(*FormCarta, *this);
    FormCarta->show();
    FormCarta->raise();
}

void TFormPrincipal::MenuSortirClick() {
    close();
}

void TFormPrincipal::closeEvent(QCloseEvent* event) {
    if (tancant_) { // asked again while closing
        event->ignore();
        return;
    }
    if (esperes_ > 0) {
        // A command still waits for the person and holds the sound block: let it finish first.
        event->ignore();
        tancamentPendent_ = true;
        dialegs_.TancarOberts();
        return;
    }
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TFormPrincipal::FormClose() {
    tancant_ = true;
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
