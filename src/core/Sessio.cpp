#include "Sessio.h"

#include "ArxiuIni.h"
#include "CopiaBloc.h"
#include "LiniaOrdres.h"
#include "SubstitucioFitxer.h"
#include "Tools.h"
#include "UnitWave.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>

namespace tessora {

namespace {

// The check mark of each option, in the order of OpcioGrafics.
constexpr bool ConfiguracioGrafics::*kMarques[] = {
    &ConfiguracioGrafics::VeureLPC,   &ConfiguracioGrafics::VeureMarquesLPC,
    &ConfiguracioGrafics::VeureFFT,   &ConfiguracioGrafics::NormalitzarFFT,
    &ConfiguracioGrafics::Preemfasis, &ConfiguracioGrafics::EscalaAdaptadaOida,
    &ConfiguracioGrafics::NoRepintar, &ConfiguracioGrafics::ReconeixementContinu,
};

constexpr bool ConfiguracioGrafics::*Marca(OpcioGrafics opcio) {
    return kMarques[static_cast<std::size_t>(opcio)];
}

// The analysis settings a run is stored with, in a fixed order.
std::vector<std::pair<std::string, std::string>> ParametresCursa(const ConfiguracioGrafics& g) {
    const auto marca = [](bool b) { return std::string(b ? "1" : "0"); };
    return {{"OrdreLPC", g.TextOrdreLPC},
            {"FrequenciaMinima", g.TextFrequenciaMinima},
            {"Preemfasis", marca(g.Preemfasis)},
            {"EscalaAdaptadaOida", marca(g.EscalaAdaptadaOida)},
            {"ReconeixementContinu", marca(g.ReconeixementContinu)},
            {"Lletra", g.TextLletra}};
}

// A scored trial as the journal keeps it.
ProvaDiari ProvaCursa(const Experiment& experiment, const ProvaExperiment& prova) {
    ProvaDiari p{experiment.VocalExperiment(prova.Demanada),
                 experiment.VocalExperiment(prova.Reconeguda),
                 std::nullopt,
                 std::nullopt,
                 std::nullopt,
                 prova.Situacio};
    if (prova.Trets) {
        p.Frequencia = static_cast<float>(prova.Trets->Frequencia);
        p.F1 = prova.Trets->F1;
        p.S2F = static_cast<float>(prova.Trets->S2F);
    }
    return p;
}

} // namespace

std::filesystem::path CamiModelsParlant(const std::filesystem::path& modelsAnonims,
                                        std::string_view parlant) {
    if (parlant.empty() || modelsAnonims.empty()) return modelsAnonims;
    const bool punts = parlant.find_first_not_of('.') == std::string_view::npos; // "." and ".." above all
    std::string nom;
    for (const char c : parlant) {
        const auto u = static_cast<unsigned char>(c);
        if (punts || u < 0x20 || u == 0x7F ||
            std::string_view("%/\\:*?\"<>|").find(c) != std::string_view::npos) {
            char xx[4];
            std::snprintf(xx, sizeof xx, "%%%02X", u);
            nom += xx;
        } else {
            nom += c;
        }
    }
    return modelsAnonims.parent_path() / "models" / (nom + ".tsv");
}

bool ConfiguracioGrafics::Marcada(OpcioGrafics opcio) const {
    return this->*Marca(opcio);
}

std::unique_ptr<Sessio> Sessio::Crear(Entorn entorn) {
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    if (!buffer) return nullptr;
    return std::unique_ptr<Sessio>(new Sessio(std::move(entorn), std::move(buffer)));
}

Sessio::Sessio(Entorn entorn, std::unique_ptr<BufferSo> buffer)
    : entorn_(std::move(entorn)), estat_(std::make_unique<EstatAnalisi>()), buffer_(std::move(buffer)),
      unitat_(*estat_, entorn_.Dispositiu), captura_(unitat_, entorn_.AvisBloc),
      bucle_(*estat_, *buffer_, captura_),
      experiment_(*buffer_, entorn_.Font != nullptr ? *entorn_.Font : rellotge_),
      models_(entorn_.ArxiuModels), diari_(entorn_.ArxiuDiari, entorn_.EsperaDiari) {
    const ArxiuIni ini(entorn_.ArxiuIni);
    veuAguda_ = LlegirVeuAguda(ini);
    idioma_ = LlegirCastella(ini) ? Idioma::Castella : Idioma::Catala;
    unitat_.InicialitzarEntradaDeSo(kMidaBloc);
    models_.Carregar(); // lines that do not read are left out: the models are a help
}

Sessio::~Sessio() = default;

bool Sessio::ModeExperimentador() const {
    return tessora::ModeExperimentador(entorn_.LiniaOrdres);
}

EfecteSessio Sessio::FixarIdioma(Idioma idioma) {
    idioma_ = idioma;
    EfecteSessio efecte;
    efecte.IdiomaCanviat = true;
    return efecte;
}

EfecteSessio Sessio::FixarVeuAguda(bool veuAguda) {
    veuAguda_ = veuAguda;
    EfecteSessio efecte;
    efecte.VeuAgudaCanviada = true;
    return efecte;
}

ConfiguracioAnalisi Sessio::Configuracio() const {
    ConfiguracioAnalisi c;
    c.Preemfasis = grafics_.Preemfasis;
    c.EscalaAdaptadaOida = grafics_.EscalaAdaptadaOida;
    c.NormalitzarFFT = grafics_.NormalitzarFFT;
    c.VeureFFT = grafics_.VeureFFT;
    c.GraficsVisibles = grafics_.Visibles;
    c.VeuAguda = veuAguda_;
    c.Castella = idioma_ == Idioma::Castella;
    c.SeparadorDecimal = entorn_.SeparadorDecimal;
    c.TextOrdreLPC = grafics_.TextOrdreLPC;
    c.TextFrequenciaMinima = grafics_.TextFrequenciaMinima;
    return c;
}

EfecteSessio Sessio::EngegarParar() {
    EfecteSessio efecte;
    efecte.EscoltaCanviada = true;
    efecte.ErrorEngegar = bucle_.SpeedButtonEngegarPararClick();
    SeguirEscolta();
    return efecte;
}

void Sessio::SeguirEscolta() {
    if (!Escoltant()) linia_.Tallar();
}

bool Sessio::Escoltar(bool engegar, EfecteSessio& efecte) {
    if (engegar == Escoltant()) return true;
    efecte.EscoltaCanviada = true;
    const std::int32_t codi = bucle_.SpeedButtonEngegarPararClick();
    SeguirEscolta();
    if (codi == 0) return true;
    // A start that failed is toggled back, so that listening is off as the caller asked it to be on.
    efecte.ErrorEngegar = codi;
    bucle_.SpeedButtonEngegarPararClick();
    return false;
}

EfecteSessio Sessio::RebreBlocDeSo() {
    EfecteSessio efecte;
    if (tancada_) return efecte;
    const bool descartar = reproduint_ && !auriculars_;
    ControlsBucle controls{Configuracio(), grafics_.ReconeixementContinu, grafics_.TextLletra,
                           experiment_.EnMarxa() && experiment_.ExperimentDisponible(), descartar};
    const EfecteBloc bloc = bucle_.RebreBlocDeSo(controls);
    if (unitat_.BlocsPerduts() != perdutsDits_) efecte.BlocsPerduts = perdutsDits_ = unitat_.BlocsPerduts();
    if (bloc.EntradaPerduda) { // listening has stopped; a new start tries the device again
        efecte.EscoltaCanviada = efecte.EntradaPerduda = true;
        efecte.Interrupcio = entorn_.Dispositiu.Interrupcio();
        SeguirEscolta();
        return efecte;
    }
    if (descartar && Escoltant()) { // dropped: the meter falls to 0, the timeline's utterance ends
        efecte.Nivell = Mesurador{};
        linia_.Tallar();
    }
    if (!bloc.Escoltat) return efecte;
    std::optional<AnalisiBloc> analisi;
    if (bloc.Analisi)
        analisi = AnalisiBloc{0, bloc.Analisi->Vocal, estat_->FrequenciaFonamental, estat_->FrequenciaF1,
                              estat_->SeparacioF2F1};
    linia_.Afegir({estat_->MostresCrues.data(), kMidaBloc}, bloc.Nivell, analisi);
    efecte.LiniaTempsCanviada = true;
    if (bloc.Analisi) Analitzat(*bloc.Analisi, true, efecte);
    efecte.Nivell = Mesurador{bloc.Nivell, bloc.Color};
    efecte.ColorDeLletra = bloc.NouColorLletra;
    if (bloc.NouTitol)
        efecte.Titol = Text(idioma_, *bloc.NouTitol == TitolFinestra::AvisSaturacio ? IdText::AvisSaturacio
                                                                                    : IdText::TitolPrincipal);
    if (bloc.LletraCanviada) efecte.Lletra = bucle_.TextLletra();
    if (bloc.PasExperiment) {
        const EfecteSessio pas = DelExperiment(experiment_.ProcessarBlocExperiment(bucle_.UltimaVocal()));
        efecte.Experiment = pas.Experiment;
        efecte.EscoltaCanviada |= pas.EscoltaCanviada;
    }
    efecte.EscoltaCanviada |= bloc.AturadaAutomatica;
    SeguirEscolta();
    return efecte;
}

void Sessio::Analitzat(const ResultatReconeixement& r, bool carta, EfecteSessio& efecte) {
    if (r.NouTextFrequenciaMinima)
        grafics_.TextFrequenciaMinima = *(efecte.NouTextFrequenciaMinima = r.NouTextFrequenciaMinima);
    if (!r.Completa) return;
    efecte.LiniaDades = r.LiniaDades;
    if (r.Trets) {
        experiment_.EscriureBlocActual(*r.Trets);
        efecte.FilaBlocActual = true;
        const std::chrono::duration<double> temps = std::chrono::steady_clock::now() - inici_;
        if (carta && carta_.Afegir(r, temps.count())) efecte.NouPunt = carta_.Punts().back();
    }
    if (!grafics_.Visibles) return;
    efecte.Refresc = grafics_.NoRepintar ? RefrescGrafics::DibuixarDirecte : RefrescGrafics::Repintar;
    RedibuixarGrafics();
}

EfecteSessio Sessio::CommutarOpcio(OpcioGrafics opcio) {
    bool& marca = grafics_.*Marca(opcio);
    marca = !marca;
    // Pre-emphasis and the ear-adapted scale exclude each other; "No Repintar" and continuous recognition
    // change nothing in the block already analysed.
    if (opcio == OpcioGrafics::Preemfasis) grafics_.EscalaAdaptadaOida = false;
    if (opcio == OpcioGrafics::EscalaAdaptadaOida) grafics_.Preemfasis = false;
    if (opcio == OpcioGrafics::NoRepintar || opcio == OpcioGrafics::ReconeixementContinu) return {};
    // The new option shows at once: the block still in Mostres is analysed again, and its vowel shown.
    EfecteSessio efecte;
    const ResultatReconeixement r = CalcularReconeixement(*estat_, Configuracio());
    Analitzat(r, false, efecte);
    bucle_.MostrarLletra(r.Vocal);
    efecte.Lletra = r.Vocal;
    return efecte;
}

void Sessio::FixarTextsGrafics(std::string ordreLPC, std::string frequenciaMinima, std::string lletra) {
    grafics_.TextOrdreLPC = std::move(ordreLPC);
    grafics_.TextFrequenciaMinima = std::move(frequenciaMinima);
    grafics_.TextLletra = std::move(lletra);
}

void Sessio::RedibuixarGrafics() {
    if (!grafics_.Visibles) return;
    if (const std::optional<int> j = PuntMeitatEnvolupant(*estat_))
        estat_->MigLPC = ArrodonirLimitat(estat_->FrequenciesEspectre[static_cast<std::size_t>(*j)]);
}

std::int32_t Sessio::DesarEmissio(const std::filesystem::path& nom, int* error) const {
    if (const EmissioLinia* emissio = EmissioSeleccionada())
        return EscriureWav(nom, 0, linia_.So(emissio->PrimerBloc, emissio->DarrerBloc), error);
    return EscriureWav(nom, 0, std::as_const(*buffer_).Ranura(0), error);
}

std::filesystem::path CamiGraellaSessio(const std::filesystem::path& wav) {
    return std::filesystem::path(wav).replace_extension(".TextGrid");
}

int Sessio::DesarSessio(const std::filesystem::path& nom, std::filesystem::path& fitxer) const {
    int error = 0;
    fitxer = nom;
    if (EscriureWav(nom, 0, linia_.SoSencer(), &error) != kWavCorrecte) return error != 0 ? error : EIO;
    fitxer = CamiGraellaSessio(nom);
    if (!SubstituirFitxer(fitxer, EscriureTextGrid(linia_.Graella()), false, &error))
        return error != 0 ? error : EIO;
    return 0;
}

const EmissioLinia* Sessio::EmissioSeleccionada() const {
    const EmissioLinia* emissio = seleccio_ ? linia_.EmissioEn(*seleccio_) : nullptr;
    return emissio != nullptr && emissio->PrimerBloc == *seleccio_ ? emissio : nullptr;
}

EfecteSessio Sessio::Seleccionar(std::optional<std::int64_t> primerBloc) {
    const EmissioLinia* emissio = primerBloc ? linia_.EmissioEn(*primerBloc) : nullptr;
    if (emissio != nullptr && emissio->PrimerBloc != *primerBloc) emissio = nullptr;
    EfecteSessio efecte;
    const std::optional<std::int64_t> abans = seleccio_;
    seleccio_ = emissio != nullptr ? std::optional(emissio->PrimerBloc) : std::nullopt;
    efecte.SeleccioCanviada = seleccio_ != abans;
    if (emissio == nullptr) {
        if (entorn_.Sortida != nullptr) entorn_.Sortida->Aturar();
        SeguirReproduccio(efecte);
        return efecte;
    }
    // The graphs window shows the analysed block as the live loop saw it: its bytes through the capture's
    // copy, then the same analysis.
    const AnalisiBloc* analisi = emissio->AnalisiPrincipal();
    if (ModeExperimentador() && analisi != nullptr) {
        const std::vector<std::uint8_t> bloc = linia_.So(analisi->Bloc, analisi->Bloc);
        CopiarBlocCapturat(bloc.data(), kMidaBloc, *estat_);
        Analitzat(CalcularReconeixement(*estat_, Configuracio()), false, efecte);
    }
    const EfecteSessio so = Reproduir();
    efecte.ReproduccioCanviada = so.ReproduccioCanviada;
    efecte.ErrorReproduir = so.ErrorReproduir;
    return efecte;
}

EfecteSessio Sessio::Reproduir() {
    EfecteSessio efecte;
    const EmissioLinia* emissio = EmissioSeleccionada();
    if (emissio == nullptr || entorn_.Sortida == nullptr) return efecte;
    // The notice of the end keeps the count alive, since the output may call it after the session is gone.
    auto acabat = [enCurs = enCurs_, avis = entorn_.AvisFiReproduccio] {
        --*enCurs;
        if (avis) avis();
    };
    efecte.ErrorReproduir =
        entorn_.Sortida->Reproduir(linia_.So(emissio->PrimerBloc, emissio->DarrerBloc), acabat);
    if (efecte.ErrorReproduir == 0) ++*enCurs_;
    SeguirReproduccio(efecte);
    return efecte;
}

EfecteSessio Sessio::AcabarReproduccio() {
    EfecteSessio efecte;
    SeguirReproduccio(efecte);
    return efecte;
}

void Sessio::SeguirReproduccio(EfecteSessio& efecte) {
    const bool reproduint = *enCurs_ > 0;
    efecte.ReproduccioCanviada = reproduint != reproduint_;
    reproduint_ = reproduint;
}

EfecteSessio Sessio::FixarModel() {
    EfecteSessio efecte;
    const EmissioLinia* emissio = EmissioSeleccionada();
    const AnalisiBloc* analisi = emissio != nullptr ? emissio->AnalisiPrincipal() : nullptr;
    if (analisi == nullptr || emissio->Vocal.empty()) return efecte;
    // F2 as the chart's points have it.
    const ModelVocal model{analisi->F1, analisi->F1 + static_cast<float>(analisi->S2F)};
    efecte.ModelsCanviats = models_.Fixar(emissio->Vocal, model, &efecte.ErrorModels);
    return efecte;
}

EfecteSessio Sessio::BuidarModels() {
    EfecteSessio efecte;
    efecte.ModelsCanviats = models_.Buidar(&efecte.ErrorModels);
    return efecte;
}

EfecteSessio Sessio::FixarParlant(std::string nom) {
    nom = NomParlant(nom);
    EfecteSessio efecte;
    if (nom == parlant_) return efecte;
    parlant_ = std::move(nom);
    models_ = ModelsVocals(CamiModelsParlant(entorn_.ArxiuModels, parlant_));
    models_.Carregar();
    efecte.ParlantCanviat = efecte.ModelsCanviats = true;
    return efecte;
}

void Sessio::ObrirDiari() {
    if (std::exchange(diariProvat_, true)) return;
    if (ResultatDiari obert = diari_.Obrir(); !obert.Correcte()) avisDiari_ = std::move(obert);
}

Diari& Sessio::DiariSessio() {
    ObrirDiari();
    return diari_;
}

std::vector<std::string> Sessio::Parlants() {
    return DiariSessio().Parlants();
}

void Sessio::DirDiari(const std::optional<ResultatDiari>& resultat, EfecteSessio& efecte) {
    const auto dir = [&](const ResultatDiari& r) {
        if (r.Correcte()) { // the runs kept after a fault that was told are all stored now
            if (pendentsDits_ == 0 || diari_.Pendents() > 0) return;
        } else if (faltaDita_ == r.Estat) { // told already; the runs it keeps are told stored later
            pendentsDits_ = diari_.Pendents();
            return;
        }
        efecte.Diari = r;
        // A journal set aside is a new one that works: a fault no longer.
        faltaDita_ = r.Correcte() || r.Estat == EstatDiari::Apartat ? std::nullopt : std::optional(r.Estat);
        pendentsDits_ = diari_.Pendents();
    };
    if (avisDiari_) dir(*std::exchange(avisDiari_, std::nullopt));
    if (resultat) dir(*resultat);
}

EfecteSessio Sessio::ReintentarDiari() {
    EfecteSessio efecte;
    if (diari_.Pendents() > 0) DirDiari(diari_.ReintentarPendents(), efecte);
    return efecte;
}

EfecteSessio Sessio::PrepararExperiment() {
    experiment_.PrepararTaules(idioma_, ModeExperimentador(), entorn_.SeparadorDecimal);
    iniciCursa_.reset();
    ObrirDiari();
    EfecteSessio efecte;
    DirDiari(diari_.Pendents() > 0 ? std::optional(diari_.ReintentarPendents()) : std::nullopt, efecte);
    return efecte;
}

std::int64_t Sessio::Ara() const {
    if (entorn_.Rellotge) return entorn_.Rellotge();
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void Sessio::SeguirCursa(const EfecteExperiment& pas, EfecteSessio& efecte) {
    if (!pas.EnMarxa) return;
    const auto& proves = experiment_.ProvesFetes();
    if (*pas.EnMarxa) {
        iniciCursa_ = Ara();
        primeraProva_ = proves.size();
        return;
    }
    if (!iniciCursa_) return;
    CursaDiari cursa;
    cursa.Parlant = parlant_;
    cursa.Inici = *std::exchange(iniciCursa_, std::nullopt);
    cursa.Fi = Ara();
    cursa.Castella = idioma_ == Idioma::Castella;
    cursa.VeuAguda = veuAguda_;
    cursa.ModeExperimentador = ModeExperimentador();
    cursa.Parametres = ParametresCursa(grafics_);
    for (std::size_t i = primeraProva_; i < proves.size(); ++i)
        cursa.Proves.push_back(ProvaCursa(experiment_, proves[i]));
    ObrirDiari();
    if (!cursa.Proves.empty())
        DirDiari(diari_.Desar(cursa), efecte);
    else
        DirDiari(diari_.Pendents() > 0 ? std::optional(diari_.ReintentarPendents()) : std::nullopt, efecte);
}

EfecteSessio Sessio::DelExperiment(const EfecteExperiment& pas) {
    EfecteSessio efecte;
    if (pas.PararEscolta) Escoltar(false, efecte);
    efecte.Experiment = pas;
    SeguirCursa(pas, efecte);
    return efecte;
}

EfecteSessio Sessio::Experimentar() {
    EfecteSessio efecte;
    efecte.Experiment = experiment_.Experimentar([&] { return Escoltar(true, efecte); });
    SeguirCursa(efecte.Experiment, efecte);
    return efecte;
}

EfecteSessio Sessio::PararExperiment() {
    return DelExperiment(experiment_.Parar());
}

EfecteSessio Sessio::AcabarPausa() {
    return DelExperiment(experiment_.AcabarPausa());
}

std::string Sessio::TextResultats(std::string data, std::string hora) const {
    return tessora::TextResultats(experiment_, {std::move(data), std::move(hora), idioma_ == Idioma::Castella,
                                                veuAguda_, ModeExperimentador()});
}

ResultatExportacio Sessio::ExportarResultats(const NomsExportacio& noms, std::string_view textResultats,
                                             std::string_view imatge, const std::function<void()>& avisNom) {
    return tessora::ExportarResultats(noms, textResultats, imatge, *buffer_, experiment_.RanuresDesades(),
                                      avisNom);
}

void Sessio::PararCaptura() {
    unitat_.PararEntradaDeSo();
}

bool Sessio::Tancar() {
    tancada_ = true;
    unitat_.AlliberarEntradaDeSo();
    EfecteSessio efecte; // the caller reports what is still kept
    SeguirCursa(experiment_.Parar(), efecte);
    if (diari_.Pendents() > 0) diari_.ReintentarPendents();
    diari_.Tancar(); // the program ends without destructors: the journal is left whole, in one file
    ArxiuIni ini(entorn_.ArxiuIni);
    return EscriureConfiguracio(ini, veuAguda_, idioma_ == Idioma::Castella);
}

} // namespace tessora
