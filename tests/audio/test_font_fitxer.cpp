// A recording played into the ring: as fast as the window takes it (every whole block, in order, then
// the end), and at the block rate (never ahead of the clock).
#include "AplicacioQt.h"
#include "EventBlocSo.h"
#include "FontFitxer.h"
#include "MostresEnMemoria.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace tessora {
namespace {

using proves::MostresEnMemoria;

struct Font : ::testing::Test, QObject {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    std::vector<std::uint8_t> so = std::vector<std::uint8_t>(512 * 40 + 100),
                              rebut; // a partial block at the end
    std::unique_ptr<FontFitxer> font;
    std::unique_ptr<UnitEntradaDeSo> unitat;

    void Engegar(FontFitxer::Ritme ritme) {
        proves::CrearAplicacioQt();
        for (std::size_t i = 0; i < so.size(); ++i)
            so[i] = static_cast<std::uint8_t>(i * 13 + i / 512);
        font = std::make_unique<FontFitxer>(std::make_unique<MostresEnMemoria>(so), ritme);
        unitat = std::make_unique<UnitEntradaDeSo>(*estat, *font);
        unitat->InicialitzarEntradaDeSo(512);
        ASSERT_EQ(unitat->EngegarEntradaDeSo(NotificadorFinestra(this)), 0);
        EXPECT_TRUE(rebut.empty()); // nothing from inside the start
    }
    bool event(QEvent* e) override { // the window
        if (e->type() != TipusEventBlocSo()) return QObject::event(e);
        if (unitat->ProcessarBufferEntrada())
            rebut.insert(rebut.end(), estat->MostresCrues.begin(), estat->MostresCrues.begin() + 512);
        return true;
    }
    void EsperarBlocs(std::size_t blocs) { // with a generous limit for a loaded machine
        for (QDeadlineTimer limit(20000); rebut.size() < blocs * 512 && !limit.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        ASSERT_GE(rebut.size(), blocs * 512);
    }
};

TEST_F(Font, TanRapidComEsPuguiLliuraCadaBlocSencerSensePerdreNiUn) {
    bool final = false;
    ASSERT_NO_FATAL_FAILURE(Engegar(FontFitxer::Ritme::TanRapidComEsPugui));
    font->AlFinal([&] { final = true; });
    ASSERT_NO_FATAL_FAILURE(EsperarBlocs(40));
    EXPECT_EQ(std::pair(final, rebut.size()), std::pair(true, std::size_t{40 * 512}));
    EXPECT_TRUE(std::equal(rebut.begin(), rebut.end(), so.begin()));
}

// What the source has played by any moment is at most what the time since its opening allows, which a
// clock started before the opening bounds; a source that ignored the rate would play all forty blocks
// at its first turn. Every block played reaches the window or is counted lost (a late timer plays
// several at once).
TEST_F(Font, TempsRealNoVaMaiPerDavantDelRellotge) {
    QElapsedTimer rellotge;
    rellotge.start();
    ASSERT_NO_FATAL_FAILURE(Engegar(FontFitxer::Ritme::TempsReal));
    for (std::size_t blocs = 1; blocs <= 4; ++blocs) {
        ASSERT_NO_FATAL_FAILURE(EsperarBlocs(blocs));
        ASSERT_LE(font->BlocsLliurats(), rellotge.nsecsElapsed() * 11025 / (512 * 1000000000LL));
    }
    QCoreApplication::sendPostedEvents(this, TipusEventBlocSo());
    EXPECT_EQ(rebut.size() / 512 + unitat->BlocsPerduts(), font->BlocsLliurats());
}

} // namespace
} // namespace tessora
