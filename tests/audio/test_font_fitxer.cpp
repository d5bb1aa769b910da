// A recording played into the ring: as fast as the window takes it (every whole block, in order, then
// the end), and at the block rate (never ahead of the clock).
#include "EventBlocSo.h"
#include "FontFitxer.h"
#include "UnitEntradaDeSo.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

namespace tessora {
namespace {

struct Font : ::testing::Test, QObject {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char nom[] = "test_font_fitxer";
        static char* argv[] = {nom, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    std::vector<std::uint8_t> so = std::vector<std::uint8_t>(512 * 40 + 100); // a partial block at the end
    std::vector<std::uint8_t> rebut;
    std::unique_ptr<FontFitxer> font;
    std::unique_ptr<UnitEntradaDeSo> unitat;

    void Engegar(FontFitxer::Ritme ritme) {
        for (std::size_t i = 0; i < so.size(); ++i)
            so[i] = static_cast<std::uint8_t>(i * 13 + i / 512);
        font = std::make_unique<FontFitxer>(so, ritme);
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
    // Runs the event loop until `blocs` blocks have reached the window (or a generous limit passes).
    void EsperarBlocs(std::size_t blocs) {
        for (QDeadlineTimer limit(20000); rebut.size() < blocs * 512 && !limit.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        ASSERT_GE(rebut.size(), blocs * 512);
    }
    bool RebutEsElPrincipi() const { return std::equal(rebut.begin(), rebut.end(), so.begin()); }
};

TEST_F(Font, TanRapidComEsPuguiLliuraCadaBlocSencerSensePerdreNiUn) {
    bool final = false;
    ASSERT_NO_FATAL_FAILURE(Engegar(FontFitxer::Ritme::TanRapidComEsPugui));
    font->AlFinal([&] { final = true; });
    ASSERT_NO_FATAL_FAILURE(EsperarBlocs(40));
    EXPECT_TRUE(final);
    EXPECT_EQ(rebut.size(), 40u * 512);
    EXPECT_TRUE(RebutEsElPrincipi());
}

// What the source has played by any moment is at most what the time since its opening allows; a clock
// started before the opening bounds it from above. A source that ignored the rate would play all forty
// blocks at its first turn.
TEST_F(Font, TempsRealNoVaMaiPerDavantDelRellotge) {
    QElapsedTimer rellotge;
    rellotge.start();
    ASSERT_NO_FATAL_FAILURE(Engegar(FontFitxer::Ritme::TempsReal));
    for (std::size_t blocs = 1; blocs <= 4; ++blocs) {
        ASSERT_NO_FATAL_FAILURE(EsperarBlocs(blocs));
        const auto permesos =
            static_cast<std::size_t>(rellotge.nsecsElapsed() * 11025 / (512 * 1000000000LL));
        ASSERT_LE(font->BlocsLliurats(), permesos);
    }
    // Every block played reached the window or was counted lost (a late timer plays several at once).
    QCoreApplication::sendPostedEvents(this, TipusEventBlocSo());
    EXPECT_EQ(rebut.size() / 512 + unitat->BlocsPerduts(), font->BlocsLliurats());
}

} // namespace
} // namespace tessora
