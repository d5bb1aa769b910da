#include "UnitEntradaDeSo.h"

#include "CopiaBloc.h"

#include <algorithm>
#include <cstring>

namespace tessora {

namespace {
constexpr std::int32_t kCapacitatBuffer = 8193;
constexpr std::uint8_t kSilenciBuffer = 127;
} // namespace

UnitEntradaDeSo::~UnitEntradaDeSo() {
    AlliberarEntradaDeSo();
}

bool UnitEntradaDeSo::InicialitzarEntradaDeSo(std::int32_t midaBloc) {
    midaBloc_ = std::clamp(midaBloc, 1, kCapacitatBuffer);
    for (int n = 1; n <= 2; ++n) {
        if (!buffers_[n].Dades) buffers_[n].Dades = std::make_unique<std::uint8_t[]>(kCapacitatBuffer);
        buffers_[n].BytesGravats = 0;
        buffers_[n].EnCua = false;
    }
    analisi_.FrequenciaMostreig = kFrequenciaMostreig;
    if (estat_ != Estat::Aturada) estat_ = Estat::Tancada;
    return true;
}

std::int32_t UnitEntradaDeSo::EngegarEntradaDeSo(std::function<void()> finestra) {
    if (DispositiuObert()) {
        peticioAturada_ = false;
        return 0;
    }
    if (!buffers_[1].Dades) return -1; // not initialised, or already released
    dispositiu_.AvisarFallada([this] { RebreFallada(); });
    const std::int32_t codi = dispositiu_.Obrir(
        analisi_.FrequenciaMostreig, [this](std::span<const std::uint8_t> dades) { RebreDades(dades); });
    if (codi != 0) return codi;

    finestra_ = std::move(finestra);
    Reiniciar();
    for (int n = 1; n <= 2; ++n)
        std::memset(buffers_[n].Dades.get(), kSilenciBuffer, kCapacitatBuffer);
    peticioAturada_ = false;
    estat_ = Estat::Oberta;
    Afegir(1);
    ultimBufferAfegit_ = 1;
    Afegir(2);
    ultimBufferAfegit_ = 2;
    return 0;
}

void UnitEntradaDeSo::Reiniciar() {
    nCua_ = 0;
    bytesPerduts_ = 0;
    avisosPendents_ = 0;
    for (int n = 1; n <= 2; ++n) {
        buffers_[n].BytesGravats = 0;
        buffers_[n].EnCua = false;
    }
}

void UnitEntradaDeSo::Afegir(int numero) {
    // Bytes already dropped of a block that will not complete are a lost block too.
    if (bytesPerduts_ > 0) {
        ++blocsPerduts_;
        bytesPerduts_ = 0;
    }
    buffers_[numero].BytesGravats = 0;
    buffers_[numero].EnCua = true;
    cua_[nCua_++] = numero;
    dispositiu_.BufferAfegit(static_cast<std::size_t>(midaBloc_));
}

void UnitEntradaDeSo::RebreFallada() {
    if (estat_ != Estat::Oberta) return;
    estat_ = Estat::Fallida;
    if (finestra_) finestra_();
}

void UnitEntradaDeSo::RebreDades(std::span<const std::uint8_t> dades) {
    if (estat_ != Estat::Oberta) return;
    while (!dades.empty()) {
        if (nCua_ == 0) {
            const auto n =
                std::min<std::size_t>(dades.size(), static_cast<std::size_t>(midaBloc_ - bytesPerduts_));
            bytesPerduts_ += static_cast<std::int32_t>(n);
            if (bytesPerduts_ == midaBloc_) {
                ++blocsPerduts_;
                bytesPerduts_ = 0;
            }
            dades = dades.subspan(n);
            continue;
        }
        Buffer& b = buffers_[cua_[0]];
        const auto n =
            std::min<std::size_t>(dades.size(), static_cast<std::size_t>(midaBloc_ - b.BytesGravats));
        std::memcpy(b.Dades.get() + b.BytesGravats, dades.data(), n);
        b.BytesGravats += static_cast<std::int32_t>(n);
        dades = dades.subspan(n);
        if (b.BytesGravats == midaBloc_) {
            b.EnCua = false;
            cua_[0] = cua_[1];
            --nCua_;
            ++avisosPendents_;
            if (finestra_) finestra_();
        }
    }
}

bool UnitEntradaDeSo::ProcessarBufferEntrada() {
    perduda_ = false;
    if (Aturat()) return false; // buffers handed back during and after the reset
    if (avisosPendents_ == 0) {
        if (estat_ != Estat::Fallida) return false; // a notification from an earlier recording
        // The device stopped delivering for good; the blocks it filled before have been taken.
        perduda_ = true;
        Tancar();
        return false;
    }
    --avisosPendents_;

    const int ple = ultimBufferAfegit_ == 2 ? 1 : 2;
    CopiarBlocCapturat(buffers_[ple].Dades.get(), midaBloc_, analisi_);
    ++blocsProcessats_;

    if (peticioAturada_) {
        peticioAturada_ = false;
        estat_ = Estat::Aturant;
        // The reset hands back the buffer still queued, with one more notification, which carries no block.
        for (int i = 0; i < nCua_; ++i)
            if (finestra_) finestra_();
        Tancar();
        return true;
    }
    if (ultimBufferAfegit_ == 2) {
        Afegir(1);
        ultimBufferAfegit_ = 1;
    } else {
        Afegir(2);
        ultimBufferAfegit_ = 2;
    }
    return true;
}

void UnitEntradaDeSo::Tancar() {
    estat_ = Estat::Aturant;
    nCua_ = 0;
    for (int n = 1; n <= 2; ++n)
        buffers_[n].EnCua = false;
    dispositiu_.Tancar();
    estat_ = Estat::Aturada;
}

void UnitEntradaDeSo::PararEntradaDeSo() {
    peticioAturada_ = true;
}

void UnitEntradaDeSo::AlliberarEntradaDeSo() {
    if (DispositiuObert()) {
        dispositiu_.Tancar();
        estat_ = Estat::Tancada;
    }
    Reiniciar();
    buffers_[2].Dades.reset();
    buffers_[1].Dades.reset();
}

} // namespace tessora
