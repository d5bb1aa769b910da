#include "FontFitxer.h"

#include <algorithm>

namespace tessora {

FontFitxer::FontFitxer(std::unique_ptr<FontMostres> so, Ritme ritme, std::int32_t midaBloc)
    : so_(std::move(so)), ritme_(ritme), midaBloc_(std::max(midaBloc, 1)),
      bloc_(static_cast<std::size_t>(midaBloc_)) {
    // One block is always read ahead, so the end is known as soon as the last one has gone out.
    final_ = so_->Llegir(bloc_) < bloc_.size();
    temporitzador_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&temporitzador_, &QTimer::timeout, [this] { Lliurar(); });
}

FontFitxer::~FontFitxer() {
    Tancar();
}

std::int32_t FontFitxer::Obrir(std::int32_t frequencia, Receptor receptor) {
    if (frequencia <= 0) return 1;
    frequencia_ = frequencia;
    receptor_ = std::move(receptor);
    obert_ = true;
    demanats_ = 0;
    lliuratsAra_ = 0;
    rellotge_.start();
    if (ritme_ == Ritme::TempsReal) {
        temporitzador_.setSingleShot(false);
        temporitzador_.start(10);
    }
    return 0;
}

void FontFitxer::BufferAfegit(std::size_t mida) {
    if (!obert_) return;
    demanats_ += mida / static_cast<std::size_t>(midaBloc_);
    // As fast as it is taken: delivered from the event loop, never from inside the ring's own call.
    if (ritme_ == Ritme::TanRapidComEsPugui && !temporitzador_.isActive()) {
        temporitzador_.setSingleShot(true);
        temporitzador_.start(0);
    }
}

void FontFitxer::Lliurar() {
    if (!obert_) return;
    std::size_t blocs = demanats_;
    if (ritme_ == Ritme::TempsReal) {
        // Blocks due by now, counted from the opening, so the rate does not drift with the timer; those
        // a late window had no room for are still due at the next turn.
        const auto degut = static_cast<std::size_t>(rellotge_.nsecsElapsed() * frequencia_ /
                                                    (static_cast<qint64>(midaBloc_) * 1000000000LL));
        blocs = std::min(blocs, degut - std::min(degut, lliuratsAra_));
    }
    for (; blocs > 0 && obert_ && !final_; --blocs) {
        ++seguent_;
        ++lliuratsAra_;
        --demanats_;
        receptor_(bloc_); // copied into the ring
        final_ = so_->Llegir(bloc_) < bloc_.size();
    }
    if (final_ && obert_) Acabar();
}

void FontFitxer::Acabar() {
    temporitzador_.stop();
    if (!interrupcio_ && motiuFinal_) {
        std::string motiu = motiuFinal_();
        if (!motiu.empty()) interrupcio_ = LecturaInterrompuda{fitxer_, std::move(motiu)};
    }
    if (interrupcio_) Fallar();
}

void FontFitxer::Tancar() {
    obert_ = false;
    temporitzador_.stop();
    receptor_ = nullptr;
}

} // namespace tessora
