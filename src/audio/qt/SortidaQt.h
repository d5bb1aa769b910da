// Playback through Qt Multimedia: the system's default output device (the sound server), 8-bit unsigned
// mono at 11025 Hz.
//
// The sink runs in push mode: a timer on the user-interface thread writes what the sound server has room
// for, the sound and then a buffer's length of silence, and the playback ends once every byte is written
// and the server's queue has run empty (the room free is the whole buffer again) or the sound and its
// silence have had their time, so that the last sample has been heard and not only handed over. A server
// that goes away, or hangs well past the sound's length, ends the playback too. The end is told from the
// event loop: `acabat` never runs inside Reproduir or Aturar.
//
// One sink serves every playback (it is stopped and started again): the sound server's thread may still
// tell a sink of a state change just after it was stopped, so a sink is never destroyed while the program
// plays, only when the default output changes (later, from the event loop) or with this object.
#pragma once

#include "SortidaDeSo.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class QAudioSink;

namespace tessora {

// Result codes of SortidaQt::Reproduir besides 0.
inline constexpr std::int32_t kErrorSenseSortida = 1;   // no output device
inline constexpr std::int32_t kErrorFormatSortida = 2;  // the device refuses 8-bit mono at 11025 Hz
inline constexpr std::int32_t kErrorEnObrirSortida = 3; // the device would not start

class SortidaQt final : public SortidaDeSo {
public:
    SortidaQt();
    // A playback under way is stopped; its `acabat` is not called any more.
    ~SortidaQt() override;

    std::int32_t Reproduir(std::vector<std::uint8_t> mostres, std::function<void()> acabat) override;
    void Aturar() override;
    bool Reproduint() const override { return enMarxa_; }

private:
    void Alimentar();
    // Closes the sink and tells `acabat_` from the event loop.
    void Acabar();

    QObject context_; // the receiver of the posted ends: none arrives after the destructor
    std::unique_ptr<QAudioSink> sortida_;
    QByteArray idSortida_;           // the output device the sink plays to
    QPointer<QIODevice> dispositiu_; // the sink's own, while it plays
    bool enMarxa_ = false;           // from a start that worked to Acabar
    QTimer alimentador_;
    std::vector<std::uint8_t> mostres_;
    std::size_t escrites_ = 0;
    QElapsedTimer desDeInici_;
    std::function<void()> acabat_;
};

} // namespace tessora
