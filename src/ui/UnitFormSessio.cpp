#include "UnitFormSessio.h"

#include "EinesFinestra.h"
#include "SubstitucioFitxer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace tessora {

namespace {

// The spans of the time scale, in seconds; the last entry (0) is the whole session held.
constexpr std::array<int, 6> kEscales = {10, 30, 60, 120, 300, 0};
constexpr int kEscalaInicial = 1;
constexpr double kToleranciaClic = 4; // pixels beside a bar that still select it

// Each control under its name, for the tests.
template <class Control>
Control* Nom(Control* control, const char* nom) {
    control->setObjectName(QLatin1String(nom));
    return control;
}

} // namespace

TFormSessio::TFormSessio(Sessio& sessio, QWidget* parent) : QWidget(parent, Qt::Window), sessio_(sessio) {
    setObjectName(QStringLiteral("FormSessio"));
    BotoCongelar = Nom(new QPushButton(this), "BotoCongelar");
    BotoCongelar->setCheckable(true);
    ComboEscala = Nom(new QComboBox(this), "ComboEscala");
    for (int segons : kEscales)
        ComboEscala->addItem(segons >= 60 ? QStringLiteral("%1 min").arg(segons / 60)
                                          : QStringLiteral("%1 s").arg(segons));
    ComboEscala->setCurrentIndex(kEscalaInicial);
    BotoModel = Nom(new QPushButton(this), "BotoModel");
    BotoBuidarModels = Nom(new QPushButton(this), "BotoBuidarModels");
    CheckAuriculars = Nom(new QCheckBox(this), "CheckAuriculars");
    CheckAuriculars->setChecked(sessio_.Auriculars());
    LabelNota = Nom(new QLabel(this), "LabelNota");
    Client = Nom(new QWidget(this), "Client");
    Client->setMinimumSize(420, 220);
    Client->setFocusPolicy(Qt::StrongFocus);
    Client->setAttribute(Qt::WA_OpaquePaintEvent);
    Client->installEventFilter(this);
    // A click on a control leaves the keys to the picture: the space bar freezes, whatever was clicked.
    for (QWidget* control : std::initializer_list<QWidget*>{BotoCongelar, ComboEscala, BotoModel,
                                                            BotoBuidarModels, CheckAuriculars})
        control->setFocusPolicy(Qt::TabFocus);

    connect(BotoCongelar, &QPushButton::clicked, this, &TFormSessio::BotoCongelarClick);
    connect(ComboEscala, &QComboBox::currentIndexChanged, Client, qOverload<>(&QWidget::update));
    connect(BotoModel, &QPushButton::clicked, this, &TFormSessio::BotoModelClick);
    connect(BotoBuidarModels, &QPushButton::clicked, this, &TFormSessio::BotoBuidarModelsClick);
    connect(CheckAuriculars, &QCheckBox::toggled, this, [this](bool auriculars) {
        sessio_.FixarAuriculars(auriculars);
        MostrarNota();
    });

    auto* barra = new QHBoxLayout;
    barra->addWidget(BotoCongelar);
    barra->addWidget(ComboEscala);
    barra->addSpacing(12);
    barra->addWidget(BotoModel);
    barra->addWidget(BotoBuidarModels);
    barra->addSpacing(12);
    barra->addWidget(CheckAuriculars);
    barra->addStretch(1);
    auto* capsa = new QVBoxLayout(this);
    capsa->setContentsMargins(4, 4, 4, 4);
    capsa->addLayout(barra);
    capsa->addWidget(Client, 1);
    capsa->addWidget(LabelNota);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &TFormSessio::DesarDemanat);
    resize(680, 380); // beside the main window on a screen 1280 pixels wide
    AplicarTexts();
    MostrarBotons();
    MostrarNota();
}

VistaSessio TFormSessio::Vista() const {
    const LiniaTemps& linia = sessio_.Linia();
    const std::int64_t final = congelada_ ? finalCongelat_ : linia.BlocsRebuts();
    const int segons = kEscales[static_cast<std::size_t>(std::max(0, ComboEscala->currentIndex()))];
    VistaSessio vista;
    vista.Final = final;
    vista.Blocs = segons > 0
                      ? BlocsEnSegons(segons)
                      : std::max(BlocsEnSegons(kEscales.front()), final - linia.PrimerBlocDisponible());
    if (const EmissioLinia* e = sessio_.EmissioSeleccionada()) vista.Seleccio = e->PrimerBloc;
    vista.Llengua = sessio_.Llengua();
    return vista;
}

void TFormSessio::Mostrar(const EfecteSessio& e) {
    if (e.IdiomaCanviat) AplicarTexts();
    if (e.ErrorReproduir != 0)
        error_ = T(sessio_.Llengua(), IdText::ErrorReproduir) + QString::number(e.ErrorReproduir);
    if (e.ErrorModels != 0)
        error_ = T(sessio_.Llengua(), IdText::ErrorModels) + Q(DescripcioError(e.ErrorModels));
    if (e.ReproduccioCanviada && sessio_.Reproduint()) error_.clear();
    if (e.IdiomaCanviat || e.ErrorReproduir != 0 || e.ErrorModels != 0 || e.ReproduccioCanviada)
        MostrarNota();
    if (e.SeleccioCanviada || e.ModelsCanviats) MostrarBotons();
    // The loop never waits for the drawing: it comes at the next paint, while the window is shown.
    if ((e.LiniaTempsCanviada && !congelada_) || e.SeleccioCanviada || e.IdiomaCanviat) Client->update();
}

void TFormSessio::AplicarTexts() {
    const Idioma idioma = sessio_.Llengua();
    setWindowTitle(T(idioma, IdText::TitolSessio));
    BotoCongelar->setText(T(idioma, congelada_ ? IdText::BotoContinuar : IdText::BotoCongelar));
    ComboEscala->setItemText(static_cast<int>(kEscales.size()) - 1, T(idioma, IdText::EscalaTotaSessio));
    ComboEscala->setToolTip(T(idioma, IdText::HintEscala));
    BotoModel->setText(T(idioma, IdText::BotoModel));
    BotoBuidarModels->setText(T(idioma, IdText::BotoBuidarModels));
    CheckAuriculars->setText(T(idioma, IdText::CheckAuriculars));
    Client->setToolTip(T(idioma, IdText::HintSessio));
    Client->setAccessibleName(T(idioma, IdText::AccLiniaTemps)); // described by its hint
}

void TFormSessio::MostrarBotons() {
    const EmissioLinia* e = sessio_.EmissioSeleccionada();
    BotoModel->setEnabled(e != nullptr && !e->Vocal.empty());
    BotoBuidarModels->setEnabled(!sessio_.Models().Buit());
}

void TFormSessio::MostrarNota() {
    QPalette paleta = LabelNota->palette();
    paleta.setColor(QPalette::WindowText, error_.isEmpty() ? palette().color(QPalette::WindowText) : Qt::red);
    LabelNota->setPalette(paleta);
    if (!error_.isEmpty())
        LabelNota->setText(error_);
    else if (sessio_.Reproduint())
        LabelNota->setText(
            T(sessio_.Llengua(), sessio_.Auriculars() ? IdText::ReproduintAuriculars : IdText::Reproduint));
    else
        LabelNota->clear();
}

void TFormSessio::BotoCongelarClick() {
    Congelar(!congelada_);
}

void TFormSessio::Congelar(bool congelada) {
    congelada_ = congelada;
    finalCongelat_ = sessio_.Linia().BlocsRebuts();
    BotoCongelar->setChecked(congelada_);
    BotoCongelar->setText(T(sessio_.Llengua(), congelada_ ? IdText::BotoContinuar : IdText::BotoCongelar));
    Client->update();
}

void TFormSessio::Desplacar(std::int64_t blocs) {
    if (!congelada_) Congelar(true);
    const LiniaTemps& linia = sessio_.Linia();
    const std::int64_t mesNou = linia.BlocsRebuts();
    const std::int64_t mesVell = std::min(mesNou, linia.PrimerBlocDisponible() + Vista().Blocs);
    finalCongelat_ = std::clamp(finalCongelat_ + blocs, mesVell, mesNou);
    Client->update();
}

void TFormSessio::CanviarEscala(bool mesCurta) {
    ComboEscala->setCurrentIndex(std::clamp(ComboEscala->currentIndex() + (mesCurta ? -1 : 1), 0,
                                            static_cast<int>(kEscales.size()) - 1));
}

void TFormSessio::Triar(std::optional<std::int64_t> primerBloc) {
    emit Efecte(sessio_.Seleccionar(primerBloc));
    MostrarSeleccio();
}

void TFormSessio::TriarA(double x) {
    const VistaSessio vista = Vista();
    const QSize mida = Client->size();
    const EmissioLinia* millor = nullptr;
    double distancia = kToleranciaClic;
    for (const EmissioLinia& e : sessio_.Linia().Emissions()) {
        if (e.DarrerBloc < vista.Inici() || e.PrimerBloc >= vista.Final) continue;
        const double x0 = XBloc(mida, vista, e.PrimerBloc);
        const double x1 = std::max(x0 + 2, XBloc(mida, vista, std::min(e.DarrerBloc, vista.Final - 1) + 1));
        const double d = x < x0 ? x0 - x : x > x1 ? x - x1 : 0;
        if (d <= distancia) millor = &e, distancia = d;
    }
    Triar(millor != nullptr ? std::optional(millor->PrimerBloc) : std::nullopt);
}

void TFormSessio::TriarVeina(int pas) {
    const auto& emissions = sessio_.Linia().Emissions();
    if (emissions.empty()) return;
    const VistaSessio vista = Vista();
    // The newest utterance that starts in view or before it.
    auto it = std::find_if(emissions.rbegin(), emissions.rend(),
                           [&](const EmissioLinia& e) { return e.PrimerBloc < vista.Final; });
    if (it == emissions.rend()) return;
    auto actual = std::find_if(emissions.begin(), emissions.end(),
                               [&](const EmissioLinia& e) { return vista.Seleccio == e.PrimerBloc; });
    if (actual == emissions.end()) {
        Triar(it->PrimerBloc);
        return;
    }
    if ((pas < 0 && actual == emissions.begin()) || (pas > 0 && std::next(actual) == emissions.end())) return;
    Triar(std::next(actual, pas)->PrimerBloc);
}

void TFormSessio::MostrarSeleccio() {
    const EmissioLinia* e = sessio_.EmissioSeleccionada();
    if (!congelada_ || e == nullptr) return;
    const VistaSessio vista = Vista();
    if (e->PrimerBloc < vista.Inici() || e->DarrerBloc >= vista.Final)
        Desplacar((e->PrimerBloc + e->DarrerBloc) / 2 + vista.Blocs / 2 - finalCongelat_);
}

void TFormSessio::BotoModelClick() {
    emit Efecte(sessio_.FixarModel());
}

void TFormSessio::BotoBuidarModelsClick() {
    emit Efecte(sessio_.BuidarModels());
}

void TFormSessio::keyPressEvent(QKeyEvent* event) {
    const std::int64_t pas = std::max<std::int64_t>(1, Vista().Blocs / 10);
    switch (event->key()) {
    case Qt::Key_Space:
        Congelar(!congelada_);
        break;
    case Qt::Key_Left:
        Desplacar(-pas);
        break;
    case Qt::Key_Right:
        Desplacar(pas);
        break;
    case Qt::Key_Up:
        TriarVeina(-1);
        break;
    case Qt::Key_Down:
        TriarVeina(1);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        CanviarEscala(true);
        break;
    case Qt::Key_Minus:
        CanviarEscala(false);
        break;
    case Qt::Key_Escape:
        Triar(std::nullopt);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TFormSessio::eventFilter(QObject* objecte, QEvent* event) {
    if (objecte != Client) return QWidget::eventFilter(objecte, event);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter p(Client);
        DibuixarSessio(p, Client->size(), sessio_.Linia(), Vista());
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* clic = static_cast<QMouseEvent*>(event);
        if (clic->button() != Qt::LeftButton) return false;
        Client->setFocus(Qt::MouseFocusReason);
        TriarA(clic->position().x());
        return true;
    }
    case QEvent::Wheel: {
        const auto* roda = static_cast<QWheelEvent*>(event);
        const QPoint angle = roda->angleDelta();
        const int osques = (angle.y() != 0 ? angle.y() : -angle.x()) / 120;
        if (osques == 0) return true;
        if (roda->modifiers() & Qt::ControlModifier)
            CanviarEscala(osques > 0);
        else
            Desplacar(-osques * std::max<std::int64_t>(1, Vista().Blocs / 10));
        return true;
    }
    default:
        return false;
    }
}

void TFormSessio::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Client->setFocus(Qt::OtherFocusReason);
}

} // namespace tessora
