// tessora-cli --microfon: the live loop on the real input device, in a Qt event loop of its own.
//
// Every filled capture buffer arrives as an event and is handled at once; lines come out as they
// happen. The run ends when the duration is over, on SIGINT, SIGTERM or SIGHUP, or when listening ends
// (the automatic stop, the loss of the input, standard output gone); then the capture is stopped as the
// window does at close (stop request, up to one second for the device to close, buffers released), the
// counts go to standard error and the files are saved.
#include "CapturaEntradaDeSo.h"
#include "DispositiuQt.h"
#include "EventBlocSo.h"
#include "SenyalsTerminacio.h"
#include "SessioCli.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <memory>
#include <ostream>

namespace tessora {

namespace {

// The window of the command line: it receives the capture's events and hands them to the session.
class FinestraCli final : public QObject {
public:
    std::function<void()> AlBloc;

protected:
    bool event(QEvent* e) override {
        if (e->type() == TipusEventBlocSo()) {
            if (AlBloc) AlBloc();
            return true;
        }
        return QObject::event(e);
    }
};

// Qt's own diagnostics (the sound server's backend is talkative) stay off standard error, which
// carries this program's messages only, while this object lives.
void SilenciarQt(QtMsgType, const QMessageLogContext&, const QString&) {}
class SilenciQt {
public:
    SilenciQt() : anterior_(qInstallMessageHandler(SilenciarQt)) {}
    ~SilenciQt() { qInstallMessageHandler(anterior_); }
    SilenciQt(const SilenciQt&) = delete;
    SilenciQt& operator=(const SilenciQt&) = delete;

private:
    QtMessageHandler anterior_;
};

} // namespace

int EscoltarMicrofon(int argc, const char* const* argv, const OpcionsCli& o, std::ostream& sortida,
                     std::ostream& errors, int& errorSortida) {
    const SilenciQt silenci; // outlives the application below, which talks as it goes
    std::vector<std::string> copia(argv, argv + argc);
    std::vector<char*> punters;
    punters.reserve(copia.size());
    for (auto& a : copia)
        punters.push_back(a.data());
    int nArguments = 1; // Qt gets the program name only: every option is ours
    QCoreApplication app(nArguments, punters.data());

    const std::vector<std::string> dispositius = LlistarDispositiusEntrada();
    if (dispositius.empty()) {
        errors << kNomPrograma
               << (HiHaServidorDeSo() ? ": no sound input device found\n"
                                      : ": no sound server answers (is one running?)\n");
        return 2;
    }
    if (o.Dispositius) {
        for (const auto& nom : dispositius)
            sortida << nom << '\n';
        return 0;
    }

    std::unique_ptr<GravacioWav> desada;
    if (!ObrirCaptura(o, desada, errors)) return 2;
    auto estat = std::make_unique<EstatAnalisi>();
    std::unique_ptr<BufferSo> buffer = CrearBufferSo(errors);
    if (!buffer) return 2;
    DispositiuQt dispositiu(o.Dispositiu);
    UnitEntradaDeSo unitat(*estat, dispositiu);
    unitat.InicialitzarEntradaDeSo(kMidaBloc);
    FinestraCli finestra;
    CapturaEntradaDeSo captura(unitat, NotificadorFinestra(&finestra));
    SessioCli sessio(o, *estat, *buffer, captura, sortida, errors, std::move(desada));

    bool acabant = false;
    auto acabar = [&] {
        if (acabant) return;
        acabant = true;
        sessio.Parar();
        // The stop takes effect on the next block; give the device one second, as the window does.
        auto limit = std::make_shared<QDeadlineTimer>(1000);
        auto comprovar = std::make_shared<QTimer>();
        QObject::connect(comprovar.get(), &QTimer::timeout, &app, [&unitat, limit, comprovar] {
            if (!unitat.DispositiuObert() || limit->hasExpired()) {
                comprovar->stop();
                QCoreApplication::quit();
            }
        });
        comprovar->start(10);
    };
    bool perduda = false;
    finestra.AlBloc = [&] {
        perduda = sessio.Bloc().EntradaPerduda || perduda;
        if (!sessio.Escoltant()) acabar(); // the automatic stop, the input lost, or the output gone
    };

    const SenyalsTerminacio senyals(acabar);

    const std::int32_t codi = sessio.Engegar();
    if (codi != 0) {
        errors << kNomPrograma << ": " << kTextErrorObrirEntrada << " ("
               << (codi == kErrorSenseDispositiu    ? "no input device named '" + o.Dispositiu + "'"
                   : codi == kErrorFormatNoSuportat ? std::string("8-bit mono at 11025 Hz not supported")
                                                    : std::string("the device would not start"))
               << ")\n";
        return 2;
    }
    if (o.Durada > 0) QTimer::singleShot(static_cast<int>(o.Durada * 1000.0), &app, acabar);
    app.exec();
    unitat.AlliberarEntradaDeSo();

    const std::string comptes = std::to_string(sessio.BlocsEscoltats()) + " blocks handled, " +
                                std::to_string(unitat.BlocsPerduts()) + " lost";
    if (perduda)
        errors << kNomPrograma << ": the sound input was lost after "
               << SegonsDeSo(unitat.BlocsProcessats() + unitat.BlocsPerduts()) << " s (" << comptes << ")\n";
    else
        errors << kNomPrograma << ": " << comptes << '\n';
    errorSortida = sessio.ErrorSortida();
    const int desat = DesarFitxers(o, *buffer, sessio, errors);
    return perduda ? kSortidaEntradaPerduda : desat;
}

} // namespace tessora
