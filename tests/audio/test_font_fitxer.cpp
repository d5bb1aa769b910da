// A recording played into the ring, at either rhythm: every whole block, in order, however late the window.
#include "AplicacioQt.h"
#include "EventBlocSo.h"
#include "FontFitxer.h"
#include "MostresEnMemoria.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace tessora {
namespace {

struct Font : ::testing::TestWithParam<FontFitxer::Ritme>, QObject {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    std::vector<std::uint8_t> so = std::vector<std::uint8_t>(512 * 40 + 100),
                              rebut; // a partial block at the end
    std::unique_ptr<FontFitxer> font;
    std::unique_ptr<UnitEntradaDeSo> unitat;
    QElapsedTimer rellotge; // started before the opening

    void Engegar(FontFitxer::Ritme ritme) {
        proves::CrearAplicacioQt();
        for (std::size_t i = 0; i < so.size(); ++i)
            so[i] = static_cast<std::uint8_t>(i * 13 + i / 512);
        font = std::make_unique<FontFitxer>(std::make_unique<proves::MostresEnMemoria>(so), ritme);
        font->Identificar("so", [] { return std::string(); }); // it ends as it should
        unitat = std::make_unique<UnitEntradaDeSo>(*estat, *font);
        unitat->InicialitzarEntradaDeSo(512);
        rellotge.start();
        ASSERT_EQ(unitat->EngegarEntradaDeSo(NotificadorFinestra(this)), 0);
        EXPECT_TRUE(rebut.empty()); // nothing from inside the start
    }
    bool event(QEvent* e) override { // the window
        if (e->type() != TipusEventBlocSo()) return QObject::event(e);
        if (!unitat->ProcessarBufferEntrada()) return true;
        rebut.insert(rebut.end(), estat->MostresCrues.begin(), estat->MostresCrues.begin() + 512);
        EXPECT_TRUE(GetParam() == FontFitxer::Ritme::TanRapidComEsPugui || // never ahead of the clock
                    static_cast<qint64>(font->BlocsLliurats() * 512 * 1000000000) <=
                        rellotge.nsecsElapsed() * 11025);
        if (rebut.size() % (512 * 10) == 512 * 3) QThread::msleep(150); // stuck longer than 2 buffers last
        return true;
    }
};

TEST_P(Font, CadaBlocSencerEnOrdreSensePerdreNiUnEncaraQueLaFinestraVagiTard) {
    ASSERT_NO_FATAL_FAILURE(Engegar(GetParam()));
    for (QDeadlineTimer limit(20000); font->BlocsLliurats() < 40 && !limit.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::sendPostedEvents(this, TipusEventBlocSo());
    EXPECT_EQ(
        std::tuple(rebut.size(), font->BlocsLliurats(), unitat->BlocsPerduts(), unitat->DispositiuObert()),
        std::tuple(std::size_t{40 * 512}, std::size_t{40}, std::uint64_t{0}, true));
    EXPECT_TRUE(std::equal(rebut.begin(), rebut.end(), so.begin()));
}

INSTANTIATE_TEST_SUITE_P(
    Ritmes, Font, ::testing::Values(FontFitxer::Ritme::TanRapidComEsPugui, FontFitxer::Ritme::TempsReal),
    [](const auto& i) { return i.param == FontFitxer::Ritme::TempsReal ? "TempsReal" : "TanRapid"; });

} // namespace
} // namespace tessora
