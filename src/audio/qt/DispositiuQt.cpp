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

DispositiuQt::DispositiuQt(std::string nom) : nom_(std::move(nom)) {}

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
    QObject::connect(entrada, &QIODevice::readyRead, font.get(), [this, entrada] {
        const QByteArray dades = entrada->readAll();
        retencio_.Lliurar({reinterpret_cast<const std::uint8_t*>(dades.constData()),
                           static_cast<std::size_t>(dades.size())},
                          receptor_);
    });
    font_ = std::move(font);
    return 0;
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
    if (!font_) return;
    font_->disconnect();
    font_->stop();
    font_.reset();
}

std::vector<std::string> LlistarDispositiusEntrada() {
    std::vector<std::string> noms;
    const QAudioDevice perDefecte = QMediaDevices::defaultAudioInput();
    if (!perDefecte.isNull()) noms.push_back(perDefecte.description().toStdString());
    for (const QAudioDevice& d : QMediaDevices::audioInputs())
        if (d != perDefecte) noms.push_back(d.description().toStdString());
    return noms;
}

} // namespace tessora
