#include "UnitFormExperimentacio.h"

#include "Cp1252.h"
#include "DesamentAutomatic.h"
#include "DibuixCarta.h"
#include "EinesFinestra.h"
#include "LlocFinestra.h"
#include "SubstitucioFitxer.h"
#include "UnitDialegParaules.h"
#include "UnitEmail.h"

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <QAction>
#include <QBrush>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDebug>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <ctime>

namespace tessora {

// A grid of the experiment, shown cell by cell as the experiment reads it.
class ModelGrid : public QAbstractTableModel {
public:
    ModelGrid(const Experiment& experiment, GridExperiment grid, QObject* pare)
        : QAbstractTableModel(pare), experiment_(experiment), grid_(grid) {}
    int rowCount(const QModelIndex& = {}) const override { return experiment_.Files(grid_); }
    int columnCount(const QModelIndex& = {}) const override { return kColumnesGrid; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole) return Q(experiment_.Cella(grid_, index.column(), index.row()));
        // The first row and column are the grid's fixed labels.
        if (role == Qt::BackgroundRole && (index.row() == 0 || index.column() == 0))
            return QBrush(QGuiApplication::palette().color(QPalette::Button));
        return {};
    }
    // The grid changed: it is read again (and may have grown).
    void Refrescar() {
        beginResetModel();
        endResetModel();
    }
    // Columns c0..c1 of row r changed.
    void Refrescar(int r, int c0, int c1) { emit dataChanged(index(r, c0), index(r, c1)); }

private:
    const Experiment& experiment_;
    GridExperiment grid_;
};

namespace {

constexpr int kAmpladaColumna = 30;

QTableView* NouGrid(QWidget* pare, const char* nom) {
    auto* grid = new QTableView(pare);
    grid->setObjectName(QLatin1String(nom));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setDefaultSectionSize(kAmpladaColumna);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTextElideMode(Qt::ElideNone); // a cell clips its text, as the grids always did
    return grid;
}

// The design's column width is the least a column gets: one grows to hold its texts in the font in use.
void AjustarColumnes(QTableView* grid, const Experiment& experiment, GridExperiment taula, bool desDeZero) {
    const QFontMetrics mides(grid->font());
    for (int c = 0; c < kColumnesGrid; ++c) {
        int amplada = desDeZero ? kAmpladaColumna : grid->columnWidth(c);
        for (int r = 0; r < experiment.Files(taula); ++r)
            if (const std::string text = experiment.Cella(taula, c, r); !text.empty())
                amplada = std::max(amplada, mides.horizontalAdvance(Q(text)) + 14);
        if (amplada != grid->columnWidth(c)) grid->setColumnWidth(c, amplada);
    }
}

OpcionsDibuixCarta OpcionsCarta(const Sessio& sessio) {
    return {sessio.VeuAguda(), sessio.Llengua()};
}

// The chart of the experiment's trials, drawn at each paint, with the models and the selection (the
// exported picture keeps the trials alone).
class ClientCartaExperiment : public QWidget {
public:
    explicit ClientCartaExperiment(const Sessio& sessio) : sessio_(sessio) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter pintor(this);
        DibuixarCartaExperiment(pintor, size(), sessio_.DadesExperiment(), OpcionsCartaSessio(sessio_));
    }

private:
    const Sessio& sessio_;
};

} // namespace

TFormExperimentacio::TFormExperimentacio(Sessio& sessio, Dialegs& dialegs, std::filesystem::path carpetaDades,
                                         QWidget* parent)
    : QDialog(parent), sessio_(sessio), dialegs_(dialegs), carpetaDades_(std::move(carpetaDades)) {
    setObjectName(QStringLiteral("FormExperimentacio"));
    PosarLletraFinestra(*this);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(696, 480);
    move(212, 385);

    auto* MainMenu1 = new QMenuBar(this);
    MenuFitxer = MainMenu1->addMenu(QString());
    const auto accio = [this](QAction* a, const char* nom, void (TFormExperimentacio::*gestor)()) {
        a->setObjectName(QLatin1String(nom));
        connect(a, &QAction::triggered, this, gestor);
        return a;
    };
    MenuExperimentacioCopiarALaCarpetaElsResultats =
        accio(MenuFitxer->addAction(QString()), "MenuExperimentacioCopiarALaCarpetaElsResultats",
              &TFormExperimentacio::MenuExperimentacioCopiarALaCarpetaElsResultatsClick);
    MenuExperimentacioExperimentar = accio(MainMenu1->addAction(QString()), "MenuExperimentacioExperimentar",
                                           &TFormExperimentacio::MenuExperimentacioExperimentarClick);
    MenuExperimentacioParar =
        accio(MainMenu1->addAction(T(IdText::ExperimentacioMenuParar)), "MenuExperimentacioParar",
              &TFormExperimentacio::MenuExperimentacioPararClick);
    MenuExperimentacioParar->setEnabled(false);
    MenuProgres =
        accio(MainMenu1->addAction(QString()), "MenuProgres", &TFormExperimentacio::MenuProgresClick);

    LabelParlant = new QLabel(this);
    LabelParlant->setObjectName(QStringLiteral("LabelParlant"));
    ComboParlant = new QComboBox(this);
    ComboParlant->setObjectName(QStringLiteral("ComboParlant"));
    ComboParlant->setEditable(true);
    ComboParlant->setInsertPolicy(QComboBox::NoInsert); // the journal's list, not what was typed
    ComboParlant->setMinimumContentsLength(24);
    LabelParlant->setBuddy(ComboParlant);
    connect(ComboParlant->lineEdit(), &QLineEdit::editingFinished, this,
            &TFormExperimentacio::ComboParlantChange);
    connect(ComboParlant, &QComboBox::activated, this, &TFormExperimentacio::ComboParlantChange);
    auto* filaParlant = new QHBoxLayout;
    filaParlant->setContentsMargins(4, 4, 4, 0);
    filaParlant->addWidget(LabelParlant);
    filaParlant->addWidget(ComboParlant);
    filaParlant->addStretch();

    PageControlErrors = new QTabWidget(this);
    PageControlErrors->setTabPosition(QTabWidget::South);
    auto* TabSheet3 = new QWidget;
    auto* TabSheet4 = new QWidget;
    PageControlErrors->addTab(TabSheet3, T(IdText::TabErrors));
    PageControlErrors->addTab(TabSheet4, T(IdText::TabDiferencies));
    GridErrors = NouGrid(TabSheet3, "GridErrors");
    modelErrors_ = new ModelGrid(sessio_.DadesExperiment(), GridExperiment::Errors, this);
    GridErrors->setModel(modelErrors_);
    auto* pagina3 = new QVBoxLayout(TabSheet3);
    pagina3->setContentsMargins(0, 0, 0, 0);
    pagina3->addWidget(GridErrors);
    MemoDades = new QPlainTextEdit(QStringLiteral("MemoDades"), TabSheet3);
    MemoDades->setObjectName(QStringLiteral("MemoDades"));
    MemoDades->setGeometry(280, 64, 185, 89);
    MemoDades->hide();
    GridDiferencies = NouGrid(TabSheet4, "GridDiferencies");
    modelDiferencies_ = new ModelGrid(sessio_.DadesExperiment(), GridExperiment::Diferencies, this);
    GridDiferencies->setModel(modelDiferencies_);
    auto* pagina4 = new QVBoxLayout(TabSheet4);
    pagina4->setContentsMargins(0, 0, 0, 0);
    pagina4->addWidget(GridDiferencies);
    CartaProves = new ClientCartaExperiment(sessio_);
    PageControlErrors->addTab(CartaProves, QString());

    auto* disposicio = new QVBoxLayout(this);
    disposicio->setContentsMargins(0, 0, 0, 0);
    disposicio->setMenuBar(MainMenu1);
    disposicio->addLayout(filaParlant);
    disposicio->addWidget(PageControlErrors);

    TimerPausa = new QTimer(this);
    TimerPausa->setSingleShot(true);
    TimerPausa->setInterval(kPausaEntreProvesMs);
    connect(TimerPausa, &QTimer::timeout, this, &TFormExperimentacio::AcabarPausa);

    // The prompt and the request belong to this window, so that its modality leaves them reachable.
    FormDiguesParaula = new TFormDiguesParaula(this);
    FormDiguesParaula->setObjectName(QStringLiteral("FormDiguesParaula"));
    connect(FormDiguesParaula, &TFormDiguesParaula::LabelParaulaClick, this,
            &TFormExperimentacio::LabelParaulaClick);
    FormEmail = new TFormEmail(dialegs_, this);
    FormEmail->setObjectName(QStringLiteral("FormEmail"));
    AplicarTexts();
}

TFormExperimentacio::~TFormExperimentacio() = default;

QString TFormExperimentacio::T(IdText id) const {
    return tessora::T(sessio_.Llengua(), id);
}

void TFormExperimentacio::AplicarTexts() {
    setWindowTitle(T(IdText::TitolExperimentacio));
    MenuFitxer->setTitle(T(IdText::ExperimentacioMenuFitxer));
    MenuExperimentacioExperimentar->setText(T(IdText::ExperimentacioMenuExperimentar));
    MenuExperimentacioCopiarALaCarpetaElsResultats->setText(T(IdText::ExperimentacioMenuCopiar));
    MenuProgres->setText(T(IdText::TitolProgres));
    PageControlErrors->setTabText(PageControlErrors->indexOf(CartaProves), T(IdText::TitolCarta));
    LabelParlant->setText(T(IdText::EtiquetaParlant));
    ComboParlant->setAccessibleName(T(IdText::NomParlant));
    ComboParlant->view()->setAccessibleName(ComboParlant->accessibleName()); // its list of names
    const Idioma idioma = sessio_.Llengua();
    Nomenar(*GridErrors, idioma, IdText::AccGridErrors, IdText::AccGridErrorsDescripcio);
    Nomenar(*GridDiferencies, idioma, IdText::AccGridDiferencies, IdText::AccGridDiferenciesDescripcio);
    Nomenar(*CartaProves, idioma, IdText::TitolCarta, IdText::AccCartaDescripcio);
    NomenarMenus(*this, idioma);
    FormDiguesParaula->AplicarTexts(sessio_.Llengua());
    FormEmail->AplicarTexts(sessio_.Llengua());
    CartaProves->update();
}

void TFormExperimentacio::Obrir() {
    const Experiment& experiment = sessio_.DadesExperiment();
    const EfecteSessio preparat = sessio_.PrepararExperiment();
    OmplirParlants();
    // The journal's fault is told over the window, once it is shown.
    if (preparat.Diari) QTimer::singleShot(0, this, [this, preparat] { emit Efecte(preparat); });
    modelErrors_->Refrescar();
    modelDiferencies_->Refrescar();
    AjustarColumnes(GridErrors, experiment, GridExperiment::Errors, true);
    AjustarColumnes(GridDiferencies, experiment, GridExperiment::Diferencies, true);
    CartaProves->update();
    MenuExperimentacioExperimentar->setEnabled(!experiment.EnMarxa());
    MenuExperimentacioParar->setEnabled(experiment.EnMarxa());
    provesExportades_ = 0;
    AjustarALaPantalla(*this); // a large font or a scaled screen may leave too little room
    exec();
}

void TFormExperimentacio::Mostrar(const EfecteSessio& e) {
    if (e.IdiomaCanviat) AplicarTexts();
    if (e.FilaBlocActual) {
        modelErrors_->Refrescar(sessio_.DadesExperiment().NombreVocalsExperiment() + 4, 2, 7);
        AjustarColumnes(GridErrors, sessio_.DadesExperiment(), GridExperiment::Errors, false);
    }
    if (e.SeleccioCanviada || e.ModelsCanviats) CartaProves->update();
    AplicarPas(e.Experiment);
    // A run stopped (and was stored, perhaps under a new name), or the speaker changed.
    if (e.ParlantCanviat || e.Experiment.EnMarxa == false) OmplirParlants();
    if (e.Diari) AvisarDiari(*e.Diari);
}

void TFormExperimentacio::OmplirParlants() {
    const QSignalBlocker bloqueig(ComboParlant);
    ComboParlant->clear();
    for (const std::string& nom : sessio_.Parlants())
        ComboParlant->addItem(Q(nom));
    // The list's current entry is the speaker's own (none for the anonymous one), so the arrow keys start
    // from it; a name the journal does not list yet stays in the field.
    ComboParlant->setCurrentIndex(ComboParlant->findText(Q(sessio_.Parlant()), Qt::MatchExactly));
    ComboParlant->setEditText(Q(sessio_.Parlant()));
}

void TFormExperimentacio::ComboParlantChange() {
    if (ComboParlant->currentText().trimmed().toStdString() == sessio_.Parlant()) return;
    emit Efecte(sessio_.FixarParlant(ComboParlant->currentText().toStdString()));
}

void TFormExperimentacio::AvisarDiari(const ResultatDiari& resultat) {
    const auto detall = [&](IdText id) {
        return resultat.Detall.empty() ? T(id) : T(id) + QStringLiteral("\n\n") + Q(resultat.Detall);
    };
    switch (resultat.Estat) {
    case EstatDiari::Correcte:
        return dialegs_.Informar(this, T(IdText::TitolDiari), T(IdText::DiariDesatTard));
    case EstatDiari::Apartat:
        return dialegs_.Error(this, T(IdText::TitolDiari),
                              T(IdText::DiariApartat) + Q(resultat.Apartat.string()));
    case EstatDiari::Ocupat:
        return dialegs_.Error(this, T(IdText::TitolDiari), detall(IdText::DiariOcupat));
    case EstatDiari::Ple:
        return dialegs_.Error(this, T(IdText::TitolDiari), detall(IdText::DiariPle));
    case EstatDiari::NomesLectura:
        return dialegs_.Error(this, T(IdText::TitolDiari), detall(IdText::DiariNomesLectura));
    case EstatDiari::NoObert:
    case EstatDiari::JaImportat: // not a store of a run
        return dialegs_.Error(this, T(IdText::TitolDiari), detall(IdText::DiariNoObert));
    }
}

void TFormExperimentacio::AplicarPas(const EfecteExperiment& pas) {
    if (pas.AmagarIndicacio) FormDiguesParaula->hide();
    if (pas.EnMarxa) {
        MenuExperimentacioExperimentar->setEnabled(!*pas.EnMarxa);
        MenuExperimentacioParar->setEnabled(*pas.EnMarxa);
    }
    if (pas.CellesCanviades) {
        modelErrors_->Refrescar();
        AjustarColumnes(GridErrors, sessio_.DadesExperiment(), GridExperiment::Errors, false);
        CartaProves->update();
    }
    if (pas.ProgramarPausa) TimerPausa->start();
    if (pas.MostrarIndicacio) FormDiguesParaula->Indicar(Q(*pas.MostrarIndicacio));
}

void TFormExperimentacio::MenuExperimentacioExperimentarClick() {
    emit Efecte(sessio_.Experimentar());
}

void TFormExperimentacio::MenuExperimentacioPararClick() {
    emit Efecte(sessio_.PararExperiment());
}

// The prompt's letter stops the run, as Parar does.
void TFormExperimentacio::LabelParaulaClick() {
    emit Efecte(sessio_.PararExperiment());
}

void TFormExperimentacio::MenuProgresClick() {
    emit ProgresDemanat();
}

void TFormExperimentacio::AcabarPausa() {
    emit Efecte(sessio_.AcabarPausa());
}

std::string TFormExperimentacio::TextResultatsAra() const {
    const QLocale local = QLocale::system();
    const QDateTime ara = QDateTime::currentDateTime();
    return sessio_.TextResultats(local.toString(ara.date(), QLocale::ShortFormat).toStdString(),
                                 local.toString(ara.time(), QLocale::LongFormat).toStdString());
}

std::string TFormExperimentacio::ConstruirResultats() {
    std::string text = TextResultatsAra();
    const QString unicode = Q(DesDeCp1252(text));
    MemoDades->setPlainText(unicode);
    QGuiApplication::clipboard()->setText(unicode);
    return text;
}

QByteArray TFormExperimentacio::ImatgeCarta() const {
    return ImatgePng(kMidaImatgeCarta, [this](QPainter& p) {
        DibuixarCartaExperiment(p, kMidaImatgeCarta, sessio_.DadesExperiment(), OpcionsCarta(sessio_));
    });
}

void TFormExperimentacio::MenuExperimentacioCopiarALaCarpetaElsResultatsClick() {
    ConstruirResultats();
}

void TFormExperimentacio::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) return event->accept();
    QDialog::keyPressEvent(event);
}

void TFormExperimentacio::reject() {
    // A close asked while the export waits for the person (the program closing) waits for it.
    if (tancant_) return;
    tancant_ = true;
    const bool tancar = FormClose();
    tancant_ = false;
    if (tancar) QDialog::reject();
}

ResultatExportacio TFormExperimentacio::Exportar(const NomsExportacio& noms, const std::string& text,
                                                 const std::function<void()>& avisNom) {
    const QByteArray imatge = ImatgeCarta();
    ResultatExportacio resultat = sessio_.ExportarResultats(
        noms, text, std::string_view(imatge.constData(), static_cast<std::size_t>(imatge.size())), avisNom);
    if (resultat.Correcte()) provesExportades_ = sessio_.DadesExperiment().NombreProves();
    return resultat;
}

bool TFormExperimentacio::FormClose() {
    emit Efecte(sessio_.PararExperiment()); // a running experiment stops first (and is stored)
    emit Efecte(sessio_.ReintentarDiari());
    const auto fitxers = [](const QString& triat) {
        const NomsExportacio noms = NomsFitxersExportacio(triat.toStdString());
        return QStringList{Q(noms.Wav), Q(noms.Text), Q(noms.Imatge)};
    };
    // Until the files are written or the person gives the results up. A close of the program meanwhile
    // (it ends every dialog) keeps them by itself.
    while (!dialegs_.Tancant()) {
        const std::optional<QString> nom = dialegs_.DemanarNomDesar(this, T(IdText::FiltreSo), fitxers);
        if (dialegs_.Tancant()) break;
        if (!nom) {
            if (sessio_.DadesExperiment().NombreProves() == 0) return true;
            const bool descartar =
                dialegs_.Preguntar(this, Q(kTitolAplicacio), T(IdText::DescartarResultats));
            if (dialegs_.Tancant()) break;
            return descartar;
        }
        const NomsExportacio noms = NomsFitxersExportacio(nom->toStdString());
        const ResultatExportacio resultat = Exportar(noms, ConstruirResultats(), [&] {
            dialegs_.Informar(this, Q(kTitolAplicacio), T(IdText::NomDelFitxer) + Q(noms.Wav));
        });
        if (resultat.Correcte()) {
            if (dialegs_.Tancant()) return true;
            FormEmail->EscriureText(Q(noms.Wav), Q(noms.Text));
            FormEmail->exec();
            return true;
        }
        dialegs_.Error(this, T(IdText::TitolErrorWav),
                       T(IdText::TextNoEsPotCrear) + Q(resultat.FitxerFallit) + QLatin1Char('\n') +
                           QString::fromLocal8Bit(DescripcioError(resultat.Error)) + QStringLiteral("\n\n") +
                           T(IdText::ExportacioAltreNom));
    }
    DesarResultatsPendents();
    return true;
}

bool TFormExperimentacio::ResultatsPendents() const {
    const std::int32_t proves = sessio_.DadesExperiment().NombreProves();
    return isVisible() && proves > 0 && proves != provesExportades_;
}

void TFormExperimentacio::DesarResultatsPendents() {
    if (!ResultatsPendents() || carpetaDades_.empty()) return;
    const std::time_t ara = std::time(nullptr);
    std::tm moment{};
    ::localtime_r(&ara, &moment);
    int error = 0;
    const std::optional<NomsExportacio> noms = ReservarNomsAutomatics(carpetaDades_, moment, &error);
    ResultatExportacio resultat{carpetaDades_.string(), error};
    if (noms) {
        resultat = Exportar(*noms, TextResultatsAra(), {});
        if (resultat.Correcte()) {
            // Without its notice the next start cannot say where the run went: say it now.
            if (!AfegirAvisDesament(carpetaDades_, *noms))
                qWarning().noquote() << T(IdText::ExperimentsDesats) << Q(noms->Wav);
            return;
        }
        std::error_code ignorat;
        std::filesystem::remove(noms->Wav, ignorat); // the empty reservation
    }
    qWarning().noquote() << QStringLiteral("tessora:")
                         << T(IdText::TextNoEsPotCrear) + Q(resultat.FitxerFallit)
                         << QString::fromLocal8Bit(DescripcioError(resultat.Error));
}

} // namespace tessora
