// The difference curve at every vector width this processor runs equals the plain loop's, value by value.
#include "Ajudes.h"
#include "CorbaDiferencies.h"

#include <random>

namespace tessora {
namespace {

// Name and the sample at position i = 0..511, as the capture stores it (byte - 127); element 512 stays 0.
using CasBloc = std::tuple<const char*, std::int32_t (*)(int)>;
class CorbaPerAmplada : public ::testing::TestWithParam<CasBloc> {};

TEST_P(CorbaPerAmplada, IgualALaPlana) {
    std::array<std::int32_t, kCapacitatMostres> x{};
    for (int bloc = 0; bloc < 20; ++bloc) { // a new block each time where the row draws random values
        for (int i = 0; i < 512; ++i)
            x[i] = std::get<1>(GetParam())(i);
        CorbaDiferencies plana{}, vectors{};
        CalcularCorba(x.data(), plana, AmpladaVectors::Cap);
        for (AmpladaVectors amplada : AmpladesDisponibles()) {
            vectors.fill(-1);
            CalcularCorba(x.data(), vectors, amplada);
            for (int t = 1; t <= kPuntsAnalisi; ++t)
                ASSERT_EQ(vectors[t], plana[t]) << "width " << static_cast<int>(amplada) << ", lag " << t;
        }
    }
}

std::mt19937 generador(22);
// Random bytes, the extremes, and a span wider than a byte (taken by the plain loop at every width).
INSTANTIATE_TEST_SUITE_P(
    Casos, CorbaPerAmplada,
    ::testing::Values(
        CasBloc{"Aleatori", [](int) { return static_cast<std::int32_t>(generador() % 256) - 127; }},
        CasBloc{"Tot0", [](int) { return -127; }}, CasBloc{"Tot255", [](int) { return 128; }},
        CasBloc{"Alternat", [](int i) { return i % 2 == 0 ? -127 : 128; }},
        CasBloc{"MesQueUnOctet", [](int) { return static_cast<std::int32_t>(generador() % 60001) - 30000; }}),
    proves::PerNom{});

} // namespace
} // namespace tessora
