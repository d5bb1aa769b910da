#include "UnitTessora.h"

#include "EinesFinestra.h"
#include "EtiquetaLletra.h"
#include "NomFitxer.h"
#include "SubstitucioFitxer.h"
#include "UnitWave.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace tessora {

namespace {

// Width and height of the client area below the menu bar, for a window of 335 x 273 pixels outside.
constexpr int kAmpladaClient = 327;
constexpr int kAlcadaClient = 227;

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

// A speed button that shows the keyboard focus, which a flat tool button otherwise hides.
class BotoRapid : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

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

// Each control under its design name, for the tests.
template <class Control>
Control* Nom(Control* control, const char* nom) {
    control->setObjectName(QLatin1String(nom));
    return control;
}

} // namespace

TFormPrincipal::EsperaPersona::EsperaPersona(TFormPrincipal& finestra) : finestra_(finestra) {
    ++finestra_.esperes_;
}

TFormPrincipal::EsperaPersona::~EsperaPersona() {
    if (--finestra_.esperes_ == 0 && finestra_.tancamentPendent_)
        QMetaObject::invokeMethod(&finestra_, &QWidget::close, Qt::QueuedConnection);
}

MesuradorNivell::MesuradorNivell(QWidget* pare) : QProgressBar(pare) {
    setRange(0, 128);
    setGeometry(4, 84, 13, 130);
}

void MesuradorNivell::Mostrar(const Mesurador& nivell) {
    const bool saturava = nivell_ && nivell_->Color == ColorNivell::Vermell;
    nivell_ = nivell;
    setValue(std::clamp(nivell.Nivell, 0, 128));
    if (saturava != (nivell.Color == ColorNivell::Vermell)) Descriure();
    update();
}

void MesuradorNivell::FixarTexts(const QString& descripcio, const QString& avisSaturacio) {
    descripcio_ = descripcio;
    avisSaturacio_ = avisSaturacio;
    Descriure();
}

void MesuradorNivell::Descriure() {
    setAccessibleDescription(nivell_ && nivell_->Color == ColorNivell::Vermell ? avisSaturacio_
                                                                               : descripcio_);
}

void MesuradorNivell::paintEvent(QPaintEvent*) {
    // At (4, 84) in the client area: the frame (FormPaint) and the bar drawn upwards from the client's
    // y = 212. A column of level n covers n pixels, 212 up to 212 - n + 1.
    QPainter p(this);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 12, 129);
    if (!nivell_) return;
    // The last block's bar: erase the ten columns, then draw the level.
    p.setPen(palette().color(QPalette::Button));
    for (int x = 1; x <= 10; ++x)
        p.drawLine(x, 128, x, 1);
    if (nivell_->Nivell <= 0) return;
    p.setPen(ColorQt(nivell_->Color));
    for (int x = 1; x <= 10; ++x)
        p.drawLine(x, 128, x, 128 - nivell_->Nivell + 1);
}

TFormPrincipal::TFormPrincipal(Sessio& sessio, Dialegs& dialegs, QWidget* parent)
    : QMainWindow(parent), sessio_(sessio), dialegs_(dialegs) {
    setObjectName(QStringLiteral("FormPrincipal"));
    PosarLletraFinestra(*this);
    move(232, 88);

    Client = Nom(new QWidget(this), "Client");
    setCentralWidget(Client);
    Nivell = Nom(new MesuradorNivell(Client), "Nivell");

    Panel1 = Nom(new QFrame(Client), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    SpeedButtonEngegarParar = Nom(new BotoRapid(Panel1), "SpeedButtonEngegarParar");
    SpeedButtonEngegarParar->setGeometry(8, 6, 23, 23);
    SpeedButtonEngegarParar->setCheckable(true);
    SpeedButtonEngegarParar->setAutoRaise(true);
    connect(SpeedButtonEngegarParar, &QToolButton::clicked, this,
            &TFormPrincipal::SpeedButtonEngegarPararClick);

    CheckBoxVeuAguda = Nom(new QCheckBox(Panel1), "CheckBoxVeuAguda");
    CheckBoxVeuAguda->setChecked(sessio_.VeuAguda());
    connect(CheckBoxVeuAguda, &QCheckBox::toggled, this,
            [this](bool veuAguda) { emit Efecte(sessio_.FixarVeuAguda(veuAguda)); });
    LabelVocals = Nom(new QLabel(Panel1), "LabelVocals");

    SpeedButtonGuardar = Nom(new BotoRapid(Panel1), "SpeedButtonGuardar");
    SpeedButtonGuardar->setIcon(GlifGuardar());
    SpeedButtonGuardar->setIconSize(QSize(17, 17));
    SpeedButtonGuardar->setAutoRaise(true);
    connect(SpeedButtonGuardar, &QToolButton::clicked, this, &TFormPrincipal::MenuGuardarClick);

    LabelVocalReconeguda = Nom(new EtiquetaLletra(Client), "LabelVocalReconeguda");
    QFont gran(QStringLiteral("Arial Narrow"));
    gran.setPixelSize(197);
    gran.setBold(true);
    LabelVocalReconeguda->setFont(gran);
    QPalette paleta = LabelVocalReconeguda->palette();
    paleta.setColor(QPalette::WindowText, Qt::blue);
    LabelVocalReconeguda->setPalette(paleta);
    LabelVocalReconeguda->setAttribute(Qt::WA_TransparentForMouseEvents);
    LabelVocalReconeguda->lower(); // under the panel, over the meter
    Nivell->lower();
    // A screen reader is told the new vowel with a change of the letter's name (see AnunciVocal).
    rellotge_.start();
    TimerAnunci = new QTimer(this);
    TimerAnunci->setSingleShot(true);
    TimerAnunci->setTimerType(Qt::PreciseTimer);
    connect(TimerAnunci, &QTimer::timeout, this, [this] {
        if (const auto nom = anunci_.Vencer(rellotge_.elapsed()))
            LabelVocalReconeguda->setAccessibleName(Q(*nom));
        else
            EsperarAnunci(); // woken a little early
    });

    MenuFitxer = Nom(menuBar()->addMenu(QString()), "MenuFitxer");
    MenuLlengua = Nom(MenuFitxer->addMenu(QString()), "MenuLlengua");
    MenuCatala = Nom(MenuLlengua->addAction(QString()), "MenuCatala");
    MenuCatala->setCheckable(true);
    MenuCastellano = Nom(MenuLlengua->addAction(QString()), "MenuCastellano");
    MenuCastellano->setCheckable(true);
    MenuGuardar = Nom(MenuFitxer->addAction(QString()), "MenuGuardar");
    MenuGuardar->setShortcut(QKeySequence(Qt::Key_F5));
    MenuDesarSessio = Nom(MenuFitxer->addAction(QString()), "MenuDesarSessio");
    MenuExperimentar = Nom(MenuFitxer->addAction(QString()), "MenuExperimentar");
    MenuControlDeVolumen = Nom(MenuFitxer->addAction(QString()), "MenuControlDeVolumen");
    MenuCarta = Nom(MenuFitxer->addAction(QString()), "MenuCarta");
    MenuSessio = Nom(MenuFitxer->addAction(QString()), "MenuSessio");
    MenuFitxer->addSeparator();
    MenuSortir = Nom(MenuFitxer->addAction(QString()), "MenuSortir");
    MenuEngegarParar = Nom(menuBar()->addAction(QString()), "MenuEngegarParar");
    MenuGrafics = Nom(menuBar()->addAction(QString()), "MenuGrafics");
    // The About item stands apart at the right-hand end of the bar, in both modes and languages.
    BarraParlant = new QMenuBar(menuBar());
    MenuParlant = Nom(BarraParlant->addAction(QString()), "MenuParlant");
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
    connect(MenuSessio, &QAction::triggered, this, &TFormPrincipal::SessioDemanada);
    connect(MenuDesarSessio, &QAction::triggered, this, &TFormPrincipal::MenuDesarSessioClick);

    MenuGrafics->setVisible(sessio_.ModeExperimentador());
    AplicarTexts();
    // As designed, the language submenu has no access key until a language is chosen.
    if (sessio_.Llengua() == Idioma::Catala) MenuLlengua->setTitle(T(IdText::MenuLlenguaInicial));
    ReemplacarParlant();
    resize(kAmpladaClient, kAlcadaClient + menuBar()->sizeHint().height());
    Distribuir();
    MostrarBoto();
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
        SenseTeclesUsades(Q(TextParlantBarra(sessio_.Llengua(), sessio_.ModeExperimentador())), usades));
    BarraParlant->adjustSize();
    menuBar()->update();
}

void TFormPrincipal::MostrarBoto() {
    const EstatEscolta escolta = sessio_.Escolta();
    SpeedButtonEngegarParar->setText(
        T(escolta == EstatEscolta::Escoltant ? IdText::BotoParar : IdText::BotoEngegar));
    SpeedButtonEngegarParar->setToolTip(T(escolta == EstatEscolta::Inicial     ? IdText::HintBotoInicial
                                          : escolta == EstatEscolta::Escoltant ? IdText::HintBotoParar
                                                                               : IdText::HintBotoEngegar));
    SpeedButtonEngegarParar->setChecked(escolta == EstatEscolta::Escoltant);
}

void TFormPrincipal::SpeedButtonEngegarPararClick() {
    emit Efecte(sessio_.EngegarParar());
}

void TFormPrincipal::Error(const QString& titol, const QString& text) {
    const EsperaPersona espera(*this);
    dialegs_.Error(this, titol, text);
}

void TFormPrincipal::Mostrar(const EfecteSessio& e) {
    if (e.BlocsPerduts) {
        blocsPerduts_ = *e.BlocsPerduts;
        MostrarBlocsPerduts();
    }
    if (e.IdiomaCanviat) {
        AplicarTexts();
        MostrarBlocsPerduts();
        ReemplacarParlant();
        Distribuir();
    }
    if (e.EscoltaCanviada) MostrarBoto();
    // A new start tries the device again.
    if (e.EntradaPerduda)
        Error(Q(kTitolAplicacio), e.Interrupcio ? T(IdText::LecturaInterrompuda) + Q(e.Interrupcio->Fitxer) +
                                                      "\n\n" + Q(e.Interrupcio->Motiu)
                                                : T(IdText::EntradaPerduda));
    if (e.ErrorEngegar != 0) Error(T(IdText::TitolErrorEntrada), T(IdText::ErrorObrirEntrada));
    if (e.Nivell) Nivell->Mostrar(*e.Nivell);
    if (e.ColorDeLletra) {
        lletraVermella_ = *e.ColorDeLletra == ColorLletra::Vermell;
        QPalette paleta = LabelVocalReconeguda->palette();
        paleta.setColor(QPalette::WindowText, lletraVermella_ ? Qt::red : Qt::blue);
        LabelVocalReconeguda->setPalette(paleta);
    }
    if (e.Titol) setWindowTitle(Q(*e.Titol));
    if (e.Lletra) LabelVocalReconeguda->setText(Q(*e.Lletra));
    if (e.Lletra || e.ColorDeLletra) AnunciarLletra();
}

QString TFormPrincipal::NomLletra() const {
    QString nom = T(IdText::AccLletra);
    if (!LabelVocalReconeguda->text().isEmpty()) nom += QStringLiteral(": ") + LabelVocalReconeguda->text();
    // The red of a clipped utterance, in words.
    if (lletraVermella_) nom += QStringLiteral(". ") + T(IdText::AvisSaturacio);
    return nom;
}

void TFormPrincipal::AnunciarLletra() {
    if (const auto nom = anunci_.Rebre(NomLletra().toStdString(), rellotge_.elapsed()))
        LabelVocalReconeguda->setAccessibleName(Q(*nom));
    else
        EsperarAnunci();
}

void TFormPrincipal::EsperarAnunci() {
    if (const auto termini = anunci_.Termini())
        TimerAnunci->start(static_cast<int>(std::max<qint64>(0, *termini - rellotge_.elapsed())));
    else
        TimerAnunci->stop();
}

void TFormPrincipal::MostrarBlocsPerduts() {
    if (blocsPerduts_ == 0) return;
    if (avisPerduts_ == nullptr) {
        // Only now does the window grow a line, below the letter: the person should know that the
        // letters and the experiment's sounds may have gaps, without a message to dismiss.
        avisPerduts_ = new QLabel;
        statusBar()->setSizeGripEnabled(false);
        statusBar()->addWidget(avisPerduts_, 1);
    }
    avisPerduts_->setText(T(IdText::BlocsPerduts) + QString::number(blocsPerduts_));
}

QString TFormPrincipal::T(IdText id) const {
    return tessora::T(sessio_.Llengua(), id);
}

void TFormPrincipal::AplicarTexts() {
    const Idioma idioma = sessio_.Llengua();
    MenuCatala->setChecked(idioma == Idioma::Catala);
    MenuCastellano->setChecked(idioma == Idioma::Castella);
    MenuLlengua->setTitle(T(IdText::MenuLlengua));
    MenuFitxer->setTitle(T(IdText::MenuFitxer));
    MenuCatala->setText(T(IdText::MenuCatala));
    MenuCastellano->setText(T(IdText::MenuCastellano));
    MenuGuardar->setText(T(IdText::MenuGuardar));
    MenuExperimentar->setText(T(IdText::MenuExperimentar));
    MenuSortir->setText(T(IdText::MenuSortir));
    MenuEngegarParar->setText(T(IdText::MenuEngegarParar));
    MenuGrafics->setText(T(IdText::MenuGrafics));
    MenuParlant->setText(T(IdText::MenuParlant));
    MenuControlDeVolumen->setText(T(IdText::MenuControlDeVolumen));
    MenuCarta->setText(T(IdText::MenuCarta));
    MenuSessio->setText(T(IdText::MenuSessio));
    MenuDesarSessio->setText(T(IdText::MenuDesarSessio));
    CheckBoxVeuAguda->setText(T(IdText::CheckBoxVeuAguda));
    LabelVocals->setText(T(IdText::LabelVocals));
    SpeedButtonGuardar->setToolTip(T(IdText::HintGuardar));
    setWindowTitle(T(IdText::TitolPrincipal));
    // The tool buttons' glyphs say nothing to a screen reader: they are named as their menu items.
    SpeedButtonEngegarParar->setAccessibleName(MenuEngegarParar->text().remove(QLatin1Char('&')));
    SpeedButtonGuardar->setAccessibleName(MenuGuardar->text().remove(QLatin1Char('&')));
    LabelVocalReconeguda->setAccessibleName(NomLletra());
    LabelVocalReconeguda->setAccessibleDescription(T(IdText::AccLletraDescripcio));
    Nivell->setAccessibleName(T(IdText::AccNivell));
    Nivell->FixarTexts(T(IdText::AccNivellDescripcio), T(IdText::AvisSaturacio));
    NomenarMenus(*this, idioma);
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
    emit Efecte(sessio_.FixarIdioma(Idioma::Catala));
}
void TFormPrincipal::MenuCastellanoClick() {
    emit Efecte(sessio_.FixarIdioma(Idioma::Castella));
}

void TFormPrincipal::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Panel1->resize(Client->width(), Panel1->height());
    LabelVocalReconeguda->setGeometry(0, Panel1->height(), Client->width(),
                                      Client->height() - Panel1->height());
}

void TFormPrincipal::MenuGuardarClick() {
    const EsperaPersona espera(*this);
    if (sessio_.Escoltant()) emit Efecte(sessio_.EngegarParar()); // the sound kept no longer changes
    const std::optional<QString> nom =
        dialegs_.DemanarNomDesar(this, T(IdText::FiltreSo),
                                 [](const QString& triat) { return QStringList{NomAmbExtensioWav(triat)}; });
    if (!nom) return;
    dialegs_.Informar(this, Q(kTitolAplicacio), T(IdText::NomDelFitxer) + *nom);
    const std::int32_t codi = sessio_.DesarEmissio(std::filesystem::path(nom->toStdString()));
    if (codi != kWavCorrecte) dialegs_.Error(this, T(IdText::TitolErrorWav), Q(MissatgeEscriureWav(codi)));
}

void TFormPrincipal::MenuDesarSessioClick() {
    const EsperaPersona espera(*this);
    // Listening goes on: what is written is the session as it stands when the name is given.
    const std::optional<QString> nom =
        dialegs_.DemanarNomDesar(this, T(IdText::FiltreSo), [](const QString& triat) {
            const QString wav = NomAmbExtensioWav(triat);
            return QStringList{wav, NomGraellaSessio(wav)};
        });
    if (!nom) return;
    std::filesystem::path fitxer;
    if (const int error = sessio_.DesarSessio(std::filesystem::path(nom->toStdString()), fitxer); error != 0)
        dialegs_.Error(this, T(IdText::TitolSessio),
                       T(IdText::ErrorDesarSessio) + Q(fitxer.string()) + "\n\n" + Q(DescripcioError(error)));
}

void TFormPrincipal::MenuExperimentarClick() {
    const EsperaPersona espera(*this); // the window is modal, and its export asks for a name
    if (sessio_.Escoltant()) emit Efecte(sessio_.EngegarParar());
    emit ExperimentDemanat();
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
    emit ParlantDemanat();
}

void TFormPrincipal::Avisar(const QString& text) {
    const EsperaPersona espera(*this);
    dialegs_.Informar(this, Q(kTitolAplicacio), text);
}

void TFormPrincipal::MenuGraficsClick() {
    emit GraficsDemanats();
}

void TFormPrincipal::MenuCartaClick() {
    emit CartaDemanada();
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
    // The blocks still coming are taken during the wait, until the capture has stopped.
    sessio_.PararCaptura();
    EsperarMilisegons(1000);
    sessio_.Tancar(); // a settings file that cannot be written is left as it was
}

} // namespace tessora
