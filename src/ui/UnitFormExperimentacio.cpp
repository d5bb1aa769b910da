#include "UnitFormExperimentacio.h"

#include "Cp1252.h"
#include "DesamentAutomatic.h"
#include "LlocFinestra.h"
#include "SubstitucioFitxer.h"

#include <QBrush>
#include <QClipboard>
#include <QDateTime>
#include <QDebug>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QVBoxLayout>

#include <ctime>

namespace tessora {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The system's decimal separator, when it is one byte of the results text.
char SeparadorDecimal() {
    const QString punt = QLocale::system().decimalPoint();
    return punt.size() == 1 && punt[0].unicode() < 0x80 ? static_cast<char>(punt[0].unicode()) : '.';
}

constexpr int kAmpladaColumna = 30;

QTableView* NouGrid(QWidget* pare) {
    auto* grid = new QTableView(pare);
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

} // namespace

QVariant ModelGrid::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole) return Q(experiment_.Cella(grid_, index.column(), index.row()));
    // The first row and column are the grid's fixed labels.
    if (role == Qt::BackgroundRole && (index.row() == 0 || index.column() == 0))
        return QBrush(QGuiApplication::palette().color(QPalette::Button));
    return {};
}

void ModelGrid::Refrescar() {
    beginResetModel();
    endResetModel();
}

void ClientCartaExperiment::paintEvent(QPaintEvent*) {
    if (Dades == nullptr) return;
    QPainter pintor(this);
    DibuixarCartaExperiment(pintor, size(), *Dades, Opcions);
}

TFormExperimentacio::TFormExperimentacio(QWidget* parent) : QDialog(parent) {
    font_.Actual = &rellotge_;
    QFont lletra(QStringLiteral("MS Sans Serif"));
    lletra.setPixelSize(11);
    setFont(lletra);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(696, 480);
    move(212, 385);

    MainMenu1 = new QMenuBar(this);
    MenuFitxer = MainMenu1->addMenu(QString());
    MenuExperimentacioCopiarALaCarpetaElsResultats = MenuFitxer->addAction(QString());
    MenuExperimentacioExperimentar = MainMenu1->addAction(QString());
    MenuExperimentacioParar = MainMenu1->addAction(Q(Text(Idioma::Catala, IdText::ExperimentacioMenuParar)));
    MenuExperimentacioParar->setEnabled(false);
    connect(MenuExperimentacioCopiarALaCarpetaElsResultats, &QAction::triggered, this,
            &TFormExperimentacio::MenuExperimentacioCopiarALaCarpetaElsResultatsClick);
    connect(MenuExperimentacioExperimentar, &QAction::triggered, this,
            &TFormExperimentacio::MenuExperimentacioExperimentarClick);
    connect(MenuExperimentacioParar, &QAction::triggered, this,
            &TFormExperimentacio::MenuExperimentacioPararClick);

    PageControlErrors = new QTabWidget(this);
    PageControlErrors->setTabPosition(QTabWidget::South);
    TabSheet3 = new QWidget;
    TabSheet4 = new QWidget;
    PageControlErrors->addTab(TabSheet3, T(IdText::TabErrors));
    PageControlErrors->addTab(TabSheet4, T(IdText::TabDiferencies));
    GridErrors = NouGrid(TabSheet3);
    auto* pagina3 = new QVBoxLayout(TabSheet3);
    pagina3->setContentsMargins(0, 0, 0, 0);
    pagina3->addWidget(GridErrors);
    MemoDades = new QPlainTextEdit(QStringLiteral("MemoDades"), TabSheet3);
    MemoDades->setGeometry(280, 64, 185, 89);
    MemoDades->hide();
    GridDiferencies = NouGrid(TabSheet4);
    auto* pagina4 = new QVBoxLayout(TabSheet4);
    pagina4->setContentsMargins(0, 0, 0, 0);
    pagina4->addWidget(GridDiferencies);
    CartaProves = new ClientCartaExperiment;
    PageControlErrors->addTab(CartaProves, QString());

    auto* disposicio = new QVBoxLayout(this);
    disposicio->setContentsMargins(0, 0, 0, 0);
    disposicio->setMenuBar(MainMenu1);
    disposicio->addWidget(PageControlErrors);

    TimerPausa = new QTimer(this);
    TimerPausa->setSingleShot(true);
    TimerPausa->setInterval(kPausaEntreProvesMs);
    connect(TimerPausa, &QTimer::timeout, this, &TFormExperimentacio::AcabarPausa);
    AplicarTexts(Idioma::Catala);
}

TFormExperimentacio::~TFormExperimentacio() = default;

void TFormExperimentacio::EnllacarPrincipal(Principal principal) {
    principal_ = std::move(principal);
    experiment_ = std::make_unique<Experiment>(*principal_.Buffer, font_);
    modelErrors_ = new ModelGrid(*experiment_, GridExperiment::Errors, this);
    modelDiferencies_ = new ModelGrid(*experiment_, GridExperiment::Diferencies, this);
    CartaProves->Dades = experiment_.get();
    GridErrors->setModel(modelErrors_);
    GridDiferencies->setModel(modelDiferencies_);
}

void TFormExperimentacio::EnllacarFinestres(TFormDiguesParaula* diguesParaula, TFormEmail* email) {
    FormDiguesParaula = diguesParaula;
    FormEmail = email;
    if (FormEmail != nullptr) FormEmail->AplicarTexts(idioma_);
    if (FormDiguesParaula != nullptr)
        connect(FormDiguesParaula, &TFormDiguesParaula::LabelParaulaClick, this,
                &TFormExperimentacio::LabelParaulaClick);
}

QString TFormExperimentacio::T(IdText id) const {
    return Q(Text(idioma_, id));
}

void TFormExperimentacio::AplicarTexts(Idioma idioma) {
    idioma_ = idioma;
    setWindowTitle(T(IdText::TitolExperimentacio));
    MenuFitxer->setTitle(T(IdText::ExperimentacioMenuFitxer));
    MenuExperimentacioExperimentar->setText(T(IdText::ExperimentacioMenuExperimentar));
    MenuExperimentacioCopiarALaCarpetaElsResultats->setText(T(IdText::ExperimentacioMenuCopiar));
    PageControlErrors->setTabText(PageControlErrors->indexOf(CartaProves), T(IdText::TitolCarta));
    CartaProves->Opcions.Llengua = idioma;
    if (FormEmail != nullptr) FormEmail->AplicarTexts(idioma);
    CartaProves->update();
}

void TFormExperimentacio::Obrir(Idioma idioma, bool modeExperimentador) {
    if (!experiment_) return;
    experiment_->PrepararTaules(idioma, modeExperimentador, SeparadorDecimal());
    modelErrors_->Refrescar();
    modelDiferencies_->Refrescar();
    AjustarColumnes(GridErrors, *experiment_, GridExperiment::Errors, true);
    AjustarColumnes(GridDiferencies, *experiment_, GridExperiment::Diferencies, true);
    CartaProves->Opcions.VeuAguda = principal_.Capcalera && principal_.Capcalera().VeuAguda;
    CartaProves->update();
    MenuExperimentacioExperimentar->setEnabled(!experiment_->EnMarxa());
    MenuExperimentacioParar->setEnabled(experiment_->EnMarxa());
    provesExportades_ = 0;
    AjustarALaPantalla(*this); // a large font or a scaled screen may leave too little room
    exec();
}

void TFormExperimentacio::Aplicar(const EfecteExperiment& efecte) {
    if (efecte.AmagarIndicacio && FormDiguesParaula != nullptr) FormDiguesParaula->hide();
    if (efecte.PararEscolta && principal_.Escolta) principal_.Escolta(false);
    if (efecte.EnMarxa) {
        MenuExperimentacioExperimentar->setEnabled(!*efecte.EnMarxa);
        MenuExperimentacioParar->setEnabled(*efecte.EnMarxa);
    }
    if (efecte.CellesCanviades) {
        modelErrors_->Refrescar();
        AjustarColumnes(GridErrors, *experiment_, GridExperiment::Errors, false);
        CartaProves->update();
    }
    if (efecte.ProgramarPausa) TimerPausa->start();
    if (efecte.MostrarIndicacio && FormDiguesParaula != nullptr)
        FormDiguesParaula->Indicar(Q(*efecte.MostrarIndicacio));
}

void TFormExperimentacio::MenuExperimentacioExperimentarClick() {
    if (experiment_)
        Aplicar(experiment_->Experimentar([this] { return principal_.Escolta && principal_.Escolta(true); }));
}

void TFormExperimentacio::MenuExperimentacioPararClick() {
    if (experiment_) Aplicar(experiment_->Parar());
}

void TFormExperimentacio::LabelParaulaClick() {
    if (experiment_) Aplicar(experiment_->LabelParaulaClick());
}

void TFormExperimentacio::ProcessarBlocExperiment(const std::string& vocal) {
    if (experiment_) Aplicar(experiment_->ProcessarBlocExperiment(vocal));
}

void TFormExperimentacio::AcabarPausa() {
    if (experiment_) Aplicar(experiment_->AcabarPausa());
}

void TFormExperimentacio::MostrarFila(const TretsDecisio& trets) {
    if (!experiment_) return;
    experiment_->EscriureBlocActual(trets);
    const int r = experiment_->NombreVocalsExperiment() + 4;
    emit modelErrors_->dataChanged(modelErrors_->index(r, 2), modelErrors_->index(r, 7));
    AjustarColumnes(GridErrors, *experiment_, GridExperiment::Errors, false);
}

std::string TFormExperimentacio::TextResultatsAra() const {
    CapcaleraResultats capcalera = principal_.Capcalera ? principal_.Capcalera() : CapcaleraResultats{};
    const QLocale local = QLocale::system();
    const QDateTime ara = QDateTime::currentDateTime();
    capcalera.Data = local.toString(ara.date(), QLocale::ShortFormat).toStdString();
    capcalera.Hora = local.toString(ara.time(), QLocale::LongFormat).toStdString();
    return TextResultats(*experiment_, capcalera);
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
        DibuixarCartaExperiment(p, kMidaImatgeCarta, *experiment_, CartaProves->Opcions);
    });
}

void TFormExperimentacio::MenuExperimentacioCopiarALaCarpetaElsResultatsClick() {
    if (experiment_) ConstruirResultats();
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
    const ResultatExportacio resultat = ExportarResultats(
        noms, text, std::string_view(imatge.constData(), static_cast<std::size_t>(imatge.size())),
        *principal_.Buffer, experiment_->RanuresDesades(), avisNom);
    if (resultat.Correcte()) provesExportades_ = experiment_->NombreProves();
    return resultat;
}

bool TFormExperimentacio::FormClose() {
    if (!experiment_ || principal_.Dialeg == nullptr) return true;
    Aplicar(experiment_->Tancar());
    Dialegs& dialegs = *principal_.Dialeg;
    const auto fitxers = [](const QString& triat) {
        const NomsExportacio noms = NomsFitxersExportacio(triat.toStdString());
        return QStringList{Q(noms.Wav), Q(noms.Text), Q(noms.Imatge)};
    };
    // Until the files are written or the person gives the results up. A close of the program meanwhile
    // (it ends every dialog) keeps them by itself.
    while (!ProgramaTancant()) {
        const std::optional<QString> nom = dialegs.DemanarNomDesar(this, T(IdText::FiltreSo), fitxers);
        if (ProgramaTancant()) break;
        if (!nom) {
            if (experiment_->NombreProves() == 0) return true;
            const bool descartar =
                dialegs.Preguntar(this, Q(std::string(kTitolAplicacio)), T(IdText::DescartarResultats));
            if (ProgramaTancant()) break;
            return descartar;
        }
        const NomsExportacio noms = NomsFitxersExportacio(nom->toStdString());
        const ResultatExportacio resultat = Exportar(noms, ConstruirResultats(), [&] {
            dialegs.Informar(this, Q(std::string(kTitolAplicacio)), T(IdText::NomDelFitxer) + Q(noms.Wav));
        });
        if (resultat.Correcte()) {
            if (FormEmail == nullptr || ProgramaTancant()) return true;
            FormEmail->EscriureText(Q(noms.Wav), Q(noms.Text));
            FormEmail->exec();
            return true;
        }
        dialegs.Error(this, T(IdText::TitolErrorWav),
                      T(IdText::TextNoEsPotCrear) + Q(resultat.FitxerFallit) + QLatin1Char('\n') +
                          QString::fromLocal8Bit(DescripcioError(resultat.Error)) + QStringLiteral("\n\n") +
                          T(IdText::ExportacioAltreNom));
    }
    DesarResultatsPendents();
    return true;
}

bool TFormExperimentacio::ResultatsPendents() const {
    return isVisible() && experiment_ && experiment_->NombreProves() > 0 &&
           experiment_->NombreProves() != provesExportades_;
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
