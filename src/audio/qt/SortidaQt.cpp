#include "SortidaQt.h"

#include "Constants.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace tessora {

namespace {

// How often the sink is fed: well within the server's buffer.
constexpr int kPeriodeMs = 10;
// Beyond the sound's own length, how long a playback may take before the server counts as hung.
constexpr qint64 kMargeMaximaMs = 3000;
constexpr std::uint8_t kSilenci = 128;

} // namespace

SortidaQt::SortidaQt() {
    alimentador_.setInterval(kPeriodeMs);
    QObject::connect(&alimentador_, &QTimer::timeout, &context_, [this] { Alimentar(); });
}

SortidaQt::~SortidaQt() {
    acabat_ = nullptr;
    Aturar();
}

std::int32_t SortidaQt::Reproduir(std::vector<std::uint8_t> mostres, std::function<void()> acabat) {
    Aturar();
    const QAudioDevice dispositiu = QMediaDevices::defaultAudioOutput();
    if (dispositiu.isNull()) return kErrorSenseSortida;
    QAudioFormat format;
    format.setSampleRate(kFrequenciaMostreig);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    if (!dispositiu.isFormatSupported(format)) return kErrorFormatSortida;

    if (!sortida_ || dispositiu.id() != idSortida_) {
        if (sortida_) sortida_.release()->deleteLater();
        sortida_ = std::make_unique<QAudioSink>(dispositiu, format);
        idSortida_ = dispositiu.id();
    }
    QIODevice* entrada = sortida_->start();
    if (entrada == nullptr || sortida_->error() != QAudio::NoError) {
        sortida_->stop();
        return kErrorEnObrirSortida;
    }
    dispositiu_ = entrada;
    enMarxa_ = true;
    mostres_ = std::move(mostres);
    // Silence after the sound, as long as the server's buffer: a stream that leaves takes back from the
    // device what it had mixed ahead, which would cut the end of the sound otherwise.
    mostres_.resize(
        mostres_.size() + static_cast<std::size_t>(std::max<qsizetype>(0, sortida_->bufferSize())), kSilenci);
    escrites_ = 0;
    desDeInici_.start();
    acabat_ = std::move(acabat);
    alimentador_.start();
    return 0;
}

void SortidaQt::Alimentar() {
    // A server that went away stopped the sink.
    if (!enMarxa_) return;
    if (!dispositiu_ || sortida_->state() == QAudio::StoppedState) return Acabar();
    const qint64 durada = static_cast<qint64>(mostres_.size()) * 1000 / kFrequenciaMostreig;
    if (desDeInici_.elapsed() > durada + kMargeMaximaMs) return Acabar();
    const auto lliure = static_cast<std::size_t>(std::max<qsizetype>(0, sortida_->bytesFree()));
    if (escrites_ < mostres_.size()) {
        const std::size_t n = std::min(lliure, mostres_.size() - escrites_);
        const qint64 escrit = dispositiu_->write(reinterpret_cast<const char*>(mostres_.data() + escrites_),
                                                 static_cast<qint64>(n));
        if (escrit < 0) return Acabar();
        escrites_ += static_cast<std::size_t>(escrit);
        return;
    }
    // Everything is written: done when the server's queue has run empty, or when the sound and its
    // silence have had their time (a server may never report its queue wholly free).
    if (lliure >= static_cast<std::size_t>(sortida_->bufferSize()) || desDeInici_.elapsed() >= durada)
        Acabar();
}

void SortidaQt::Aturar() {
    if (enMarxa_) Acabar();
}

void SortidaQt::Acabar() {
    alimentador_.stop();
    if (enMarxa_) sortida_->stop();
    enMarxa_ = false;
    dispositiu_ = nullptr;
    mostres_.clear();
    if (std::function<void()> acabat = std::exchange(acabat_, nullptr))
        QMetaObject::invokeMethod(&context_, std::move(acabat), Qt::QueuedConnection);
}

} // namespace tessora
