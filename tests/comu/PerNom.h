// Names a TEST_P row after its `nom` or `Nom` field, or its first element.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tessora::proves {

struct PerNom {
    template <class Fila>
    std::string operator()(const ::testing::TestParamInfo<Fila>& info) const {
        if constexpr (requires { info.param.nom; })
            return info.param.nom;
        else if constexpr (requires { info.param.Nom; })
            return info.param.Nom;
        else
            return std::get<0>(info.param);
    }
};

} // namespace tessora::proves
