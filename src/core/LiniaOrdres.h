// The command line: our own options taken out of it, the rest joined into LiniaOrdres, and the
// experimenter-mode test on the joined text.
//
// Qt removes its own arguments (-platform, -style, ...) when the application object is built, so what
// reaches SepararArguments holds only the program path, our options and the words for LiniaOrdres.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessora {

// The word that switches the experimenter mode on.
inline constexpr std::string_view kParaulaExperimentador = "qevrun";

// Arguments 1 to N joined with no separator; element 0, the program path, is left out.
std::string UnirLiniaOrdres(const std::vector<std::string>& arguments);

// True when the joined command line is exactly "qevrun" (letter case counts).
bool ModeExperimentador(std::string_view liniaOrdres);

inline constexpr std::string_view kOpcioEntrada = "--entrada";       // sound file played into the loop
inline constexpr std::string_view kOpcioDispositiu = "--dispositiu"; // input device, by name

struct SeparacioArguments {
    std::string Error;      // empty when the command line is usable; else one English sentence naming the
                            // option, and the other members are empty
    std::string Entrada;    // --entrada: empty when not given
    std::string Dispositiu; // --dispositiu: empty when not given
    // Element 0 is the program path (absent when argc is 0), then every argument that is not ours, in
    // order: what UnirLiniaOrdres joins.
    std::vector<std::string> Restants;
};

// Takes out "--entrada FILE", "--entrada=FILE", "--dispositiu NAME" and "--dispositiu=NAME". An option
// whose value is missing or empty (the last argument, "--entrada=", or followed by an argument that
// starts with "--") and an option given twice are errors. Anything else, even a near miss such as
// "--Entrada" or "--entradaX", is not ours and stays in Restants. A null argv entry counts as empty.
SeparacioArguments SepararArguments(int argc, const char* const* argv);

} // namespace tessora
