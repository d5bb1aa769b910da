#include "ExecucioCli.h"

#include "BucleEscolta.h"
#include "BufferSo.h"
#include "CopiaBloc.h"
#include "LecturaSo.h"
#include "UnitWave.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tessora {

namespace {

constexpr const char* kNomPrograma = "tessora-cli";
constexpr const char* kVersio = "0.1.0";

// Plays the file's blocks into the loop: block n is copied out at the n-th capture message.
class CapturaFitxer final : public ControlCaptura {
public:
    CapturaFitxer(const std::vector<std::uint8_t>& so, EstatAnalisi& estat) : so_(so), estat_(estat) {}

    std::int32_t EngegarEntradaDeSo() override { return 0; }
    void PararEntradaDeSo() override {}
    bool ProcessarBufferEntrada() override {
        CopiarBlocCapturat(so_.data() + seguent_ * kMidaBloc, kMidaBloc, estat_);
        ++seguent_;
        return true;
    }
    std::size_t Blocs() const { return so_.size() / kMidaBloc; }
    std::size_t Seguent() const { return seguent_; }

private:
    const std::vector<std::uint8_t>& so_;
    EstatAnalisi& estat_;
    std::size_t seguent_ = 0;
};

struct OpcionsCli {
    std::string Fitxer;
    bool Continu = false;
    bool VeuAguda = false;
    std::string Llengua = "es";
    std::string Ordre = "11";
    std::string FrequenciaMinima = "60";
    bool SensePreemfasi = false;
    bool Oida = false;
    std::string Lletra;
    std::string Desa;
    bool Csv = false;
};

std::string Segons(std::size_t bloc) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f",
                  static_cast<double>(bloc) * kMidaBloc / static_cast<double>(kFrequenciaMostreig));
    return text;
}

} // namespace

int ExecutarCli(int argc, const char* const* argv, std::ostream& sortida, std::ostream& errors) {
    OpcionsCli o;
    CLI::App app{"Recognises the vowels of a sound file with the live loop of Tessora.", kNomPrograma};
    app.set_version_flag("--version", std::string(kNomPrograma) + " " + kVersio);
    app.add_option("FILE", o.Fitxer, "Sound file (any format libsndfile reads)")->required();
    app.add_flag("--continu", o.Continu, "Continuous recognition: analyse every block");
    app.add_flag("--veu-aguda", o.VeuAguda, "High-voice decision table");
    app.add_option("--llengua", o.Llengua, "Interface language: ca or es (es folds onto five vowels)")
        ->check(CLI::IsMember({"ca", "es"}))
        ->capture_default_str();
    app.add_option("--ordre", o.Ordre, "Text of the LPC order edit")->capture_default_str();
    app.add_option("--fmin", o.FrequenciaMinima, "Text of the minimum-pitch edit, Hz")->capture_default_str();
    app.add_flag("--sense-preemfasis", o.SensePreemfasi, "Uncheck pre-emphasis");
    app.add_flag("--oida", o.Oida, "Ear-adapted weighting (unchecks pre-emphasis)");
    app.add_option("--lletra", o.Lletra,
                   "Stop listening at the first recognised letter that differs from this");
    app.add_option("--desa", o.Desa, "After the file, save the last utterance (1536 bytes) to this WAV file");
    app.add_flag("--csv", o.Csv, "Print a CSV table instead of the analysis lines");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        sortida << app.help();
        return 0;
    } catch (const CLI::CallForVersion&) {
        sortida << kNomPrograma << ' ' << kVersio << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        errors << kNomPrograma << ": " << e.what() << " (see --help)\n";
        return 2;
    }

    SoLlegit so = LlegirFitxerSo(o.Fitxer);
    if (!so.Correcte) {
        errors << kNomPrograma << ": " << o.Fitxer << ": " << so.Error << '\n';
        return 2;
    }

    auto estat = std::make_unique<EstatAnalisi>();
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    if (!buffer) {
        errors << kNomPrograma << ": Memoria insuficiente\n";
        return 2;
    }
    CapturaFitxer captura(so.Mostres, *estat);
    BucleEscolta bucle(*estat, *buffer, captura);

    ControlsBucle controls;
    controls.ReconeixementContinu = o.Continu;
    controls.TextLletra = o.Lletra;
    controls.Analisi.VeuAguda = o.VeuAguda;
    controls.Analisi.Castella = o.Llengua == "es";
    controls.Analisi.TextOrdreLPC = o.Ordre;
    controls.Analisi.TextFrequenciaMinima = o.FrequenciaMinima;
    controls.Analisi.Preemfasis = !o.SensePreemfasi && !o.Oida;
    controls.Analisi.EscalaAdaptadaOida = o.Oida;

    if (o.Csv) sortida << "block,time,vowel,pitch,F1,MigLPC,S2F,AF1,Y\n";
    std::string liniaDades; // caption of LabelDades1: empty until a first complete analysis
    bucle.SpeedButtonEngegarPararClick();
    for (std::size_t bloc = 0; bloc < captura.Blocs() && bucle.Engegat(); ++bloc) {
        const EfecteBloc efecte = bucle.RebreBlocDeSo(controls);
        if (!efecte.Analisi) continue;
        const ResultatReconeixement& r = *efecte.Analisi;
        if (r.Completa) liniaDades = r.LiniaDades;
        if (o.Csv) {
            sortida << bloc << ',' << Segons(bloc) << ',' << r.Vocal << ',' << estat->FrequenciaFonamental
                    << ',' << FormatFix(estat->FrequenciaF1, 0) << ',' << estat->MigLPC << ','
                    << estat->SeparacioF2F1 << ',' << estat->AmpladaF1 << ',' << FormatFix(estat->YF1YF2, 2)
                    << '\n';
        } else {
            sortida << bloc << '\t' << r.Vocal << '\t' << liniaDades << '\n';
        }
    }
    sortida.flush();

    if (!o.Desa.empty()) {
        const std::int32_t codi = EscriureWav(o.Desa, 0, buffer->Ranura(0));
        if (codi != kWavCorrecte) {
            errors << kNomPrograma << ": " << o.Desa << ": " << MissatgeEscriureWav(codi) << '\n';
            return 1;
        }
    }
    return 0;
}

} // namespace tessora
