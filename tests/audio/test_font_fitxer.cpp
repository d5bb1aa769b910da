// A recording played into the ring: as fast as the window takes it (every block, none lost, then the
// end), and at the block rate (not all at once).
#include "EventBlocSo.h"
#include "FontFitxer.h"
#include "UnitEntradaDeSo.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <memory>

namespace tessora {
namespace {

class Finestra final : public QObject {
public:
    UnitEntradaDeSo* Unitat = nullptr;
    EstatAnalisi* Estat = nullptr;
    std::vector<std::uint8_t> Rebut;

protected:
    bool event(QEvent* e) override {
        if (e->type() != TipusEventBlocSo()) return QObject::event(e);
        if (Unitat->ProcessarBufferEntrada())
            Rebut.insert(Rebut.end(), Estat->MostresCrues.begin(), Estat->MostresCrues.begin() + 512);
        return true;
    }
};

struct Font : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char nom[] = "test_font_fitxer";
        static char* argv[] = {nom, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    Finestra finestra;

    static std::vector<std::uint8_t> So(std::size_t mida) {
        std::vector<std::uint8_t> s(mida);
        for (std::size_t i = 0; i < mida; ++i)
            s[i] = static_cast<std::uint8_t>(i * 13 + i / 512);
        return s;
    }
};

TEST_F(Font, TanRapidComEsPuguiLliuraCadaBlocSencerSensePerdreNiUn) {
    const auto so = So(512 * 40 + 100); // the trailing partial block is not played
    FontFitxer font(so, FontFitxer::Ritme::TanRapidComEsPugui);
    bool final = false;
    font.AlFinal([&] { final = true; });
    UnitEntradaDeSo unitat(*estat, font);
    unitat.InicialitzarEntradaDeSo(512);
    finestra.Unitat = &unitat;
    finestra.Estat = estat.get();
    ASSERT_EQ(unitat.EngegarEntradaDeSo(NotificadorFinestra(&finestra)), 0);
    EXPECT_TRUE(finestra.Rebut.empty()); // nothing from inside the start
    QDeadlineTimer limit(10000);
    while (finestra.Rebut.size() < 40 * 512 && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(final);
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
    ASSERT_EQ(finestra.Rebut.size(), 40u * 512);
    EXPECT_TRUE(std::equal(finestra.Rebut.begin(), finestra.Rebut.end(), so.begin()));
}

TEST_F(Font, TempsRealVaAlRitmeDelsBlocs) {
    FontFitxer font(So(512 * 100), FontFitxer::Ritme::TempsReal);
    UnitEntradaDeSo unitat(*estat, font);
    unitat.InicialitzarEntradaDeSo(512);
    finestra.Unitat = &unitat;
    finestra.Estat = estat.get();
    ASSERT_EQ(unitat.EngegarEntradaDeSo(NotificadorFinestra(&finestra)), 0);
    QDeadlineTimer limit(470); // ten block periods
    while (!limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // About ten blocks: well short of the hundred a source that ignored the rate would have sent,
    // with room for a loaded machine's late timers.
    EXPECT_GE(font.BlocsLliurats(), 3u);
    EXPECT_LE(font.BlocsLliurats(), 12u);
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
}

} // namespace
} // namespace tessora
