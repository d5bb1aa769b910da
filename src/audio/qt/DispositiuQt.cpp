#include "DispositiuQt.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>

#include <QTimer>

#include <optional>

namespace tessora {

namespace {

std::optional<QAudioDevice> TrobarDispositiu(const std::string& nom) {
    if (nom.empty()) {
        const QAudioDevice perDefecte = QMediaDevices::defaultAudioInput();
        if (perDefecte.isNull()) return std::nullopt;
        return perDefecte;
    }
    const QString buscat = QString::fromStdString(nom);
    for (const QAudioDevice& d : QMediaDevices::audioInputs())
        if (d.description() == buscat || QString::fromUtf8(d.id()) == buscat) return d;
    return std::nullopt;
}

} // namespace

DispositiuQt::DispositiuQt(std::string nom) : nom_(std::move(nom)) {
    vigilant_.setInterval(250);
    QObject::connect(&vigilant_, &QTimer::timeout, [this] { Vigilar(); });
}

DispositiuQt::~DispositiuQt() {
    Tancar();
}

std::int32_t DispositiuQt::Obrir(std::int32_t frequencia, Receptor receptor) {
    Tancar();
    const std::optional<QAudioDevice> dispositiu = TrobarDispositiu(nom_);
    if (!dispositiu) return kErrorSenseDispositiu;

    QAudioFormat format;
    format.setSampleRate(frequencia);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    if (!dispositiu->isFormatSupported(format)) return kErrorFormatNoSuportat;

    auto font = std::make_unique<QAudioSource>(*dispositiu, format);
    QIODevice* entrada = font->start();
    if (entrada == nullptr || font->error() != QAudio::NoError) {
        font->stop();
        return kErrorEnObrir;
    }
    receptor_ = std::move(receptor);
    retencio_.Reiniciar();
    entrada_ = entrada;
    QObject::connect(entrada, &QIODevice::readyRead, font.get(), [this] { Llegir(); });
    QObject::connect(font.get(), &QAudioSource::stateChanged, font.get(), [this] {
        const QAudio::Error error = font_->error();
        if (error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError) {
            vigilant_.stop();
            Fallar();
        }
    });
    font_ = std::move(font);
    ambDades_ = false;
    desDeDades_.start();
    vigilant_.start();
    return 0;
}

void DispositiuQt::Llegir() {
    if (!entrada_) return;
    const QByteArray dades = entrada_->readAll();
    if (dades.isEmpty()) return;
    ambDades_ = true;
    desDeDades_.start();
    retencio_.Lliurar(
        {reinterpret_cast<const std::uint8_t*>(dades.constData()), static_cast<std::size_t>(dades.size())},
        receptor_);
}

void DispositiuQt::Vigilar() {
    if (!font_) return;
    Llegir(); // bytes that wait behind a busy event loop are not a silence
    if (desDeDades_.elapsed() < (ambDades_ ? kSilenciMaxim : kPrimeresDadesMaxim).count()) return;
    vigilant_.stop();
    Fallar();
}

void DispositiuQt::BufferAfegit(std::size_t mida) {
    if (!font_) return;
    retencio_.AmpliarCapacitat(mida);
    if (!retencio_.TeRetingut() || buidatPendent_) return;
    // Not from inside the ring's own call: from the event loop, right after.
    buidatPendent_ = true;
    QTimer::singleShot(0, font_.get(), [this] {
        buidatPendent_ = false;
        retencio_.Lliurar({}, receptor_);
    });
}

void DispositiuQt::Tancar() {
    retencio_.Reiniciar();
    buidatPendent_ = false;
    vigilant_.stop();
    if (!font_) return;
    font_->disconnect();
    font_->stop();
    font_.reset();
    entrada_ = nullptr;
}

std::vector<std::string> LlistarDispositiusEntrada() {
    std::vector<std::string> noms;
    const QAudioDevice perDefecte = QMediaDevices::defaultAudioInput();
    if (!perDefecte.isNull()) noms.push_back(perDefecte.description().toStdString());
    for (const QAudioDevice& d : QMediaDevices::audioInputs())
        if (d != perDefecte) noms.push_back(d.description().toStdString());
    return noms;
}

bool HiHaServidorDeSo() {
    return !QMediaDevices::audioInputs().isEmpty() || !QMediaDevices::audioOutputs().isEmpty();
}

} // namespace tessora
