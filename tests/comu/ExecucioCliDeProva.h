// tessora-cli run in the test's own process, its output and messages caught.
#pragma once

#include "ExecucioCli.h"

#include <sstream>
#include <string>
#include <vector>

namespace tessora::proves {

struct Execucio {
    int codi;
    std::string sortida, errors;
};

// Runs the CLI on `arguments`; standard output goes to `desti` when given.
inline Execucio Executar(std::vector<std::string> arguments, std::streambuf* desti = nullptr) {
    arguments.insert(arguments.begin(), "tessora-cli");
    std::vector<const char*> argv;
    argv.reserve(arguments.size());
    for (const auto& a : arguments)
        argv.push_back(a.c_str());
    std::ostringstream text, errors;
    std::ostream sortida(desti != nullptr ? desti : text.rdbuf());
    const int codi = ExecutarCli(static_cast<int>(argv.size()), argv.data(), sortida, errors);
    return {codi, text.str(), errors.str()};
}

} // namespace tessora::proves
