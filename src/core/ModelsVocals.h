// Models to aim at: per vowel, one point (F1, F2) taken from an utterance the teacher chose, that the
// vowel charts draw as a ring, with a line from each new point of that vowel to it and the distance
// between them in Bark (the chart's own scale, Traunmüller 1990).
//
// Kept in a small UTF-8 text file, one model a line: "VOWEL<TAB>F1<TAB>F2" (Hz, as C writes numbers),
// in `$XDG_DATA_HOME/tessora/models.tsv` (`~/.local/share` when XDG_DATA_HOME is unset or not absolute).
// Read at the start; a file that is missing gives no models; lines that do not read are skipped (their
// number is given back), never a failure: the models are a help, not data that the lesson needs. Written
// whole or not at all at each change.
#pragma once

#include "CartaVocals.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tessora {

struct ModelVocal {
    float F1 = 0.0f; // Hz
    float F2 = 0.0f; // Hz
    bool operator==(const ModelVocal&) const = default;
};

// Distance between two points of the chart, in Bark: the Euclidean distance of (Bark(F1), Bark(F2)).
double DistanciaBark(double f1a, double f2a, double f1b, double f2b);

// The file's place: $XDG_DATA_HOME/tessora/models.tsv, or $HOME/.local/share/tessora/models.tsv.
std::filesystem::path CamiModelsPerDefecte();

class ModelsVocals {
public:
    // With no file: nothing is read or written (tests, tessora-cli).
    explicit ModelsVocals(std::filesystem::path fitxer = {});

    // Reads the file; returns how many lines were skipped.
    std::size_t Carregar();
    // Sets (or replaces) the model of `vocal`, or clears them all, and writes the file; false (with the
    // system's error number in `error`) when it could not be written: the models in memory stand.
    bool Fixar(const std::string& vocal, ModelVocal model, int* error = nullptr);
    bool Buidar(int* error = nullptr);

    std::optional<ModelVocal> Model(std::string_view vocal) const;
    const std::map<std::string, ModelVocal, std::less<>>& Tots() const { return models_; }
    bool Buit() const { return models_.empty(); }

private:
    bool Escriure(int* error) const;
    std::filesystem::path fitxer_;
    std::map<std::string, ModelVocal, std::less<>> models_;
};

} // namespace tessora
