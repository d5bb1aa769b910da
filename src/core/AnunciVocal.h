// The recognised vowel said to a screen reader as a live region says a change: each new text of the big
// letter is announced, but never sooner than a second after the last announcement. A text that comes
// within that second waits until it is up, and only the latest one waiting is announced (the letters of
// continuous recognition, a block apart, would otherwise cut each other off).
//
// Times are milliseconds of any monotonic clock, handed in by the caller at each call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessora {

class AnunciVocal {
public:
    static constexpr std::int64_t kIntervalMs = 1000;

    // The letter's text is now `text`, at `araMs`. Returns the text to announce now; none when it is the
    // one announced already, or when the last announcement is less than a second old (it then waits:
    // call Vencer at Termini()).
    std::optional<std::string> Rebre(std::string text, std::int64_t araMs);
    // When the text waiting is due; none when none waits.
    std::optional<std::int64_t> Termini() const;
    // The text waiting, to announce now, once its time has come at `araMs`; none otherwise.
    std::optional<std::string> Vencer(std::int64_t araMs);

private:
    std::string anunciat_; // the letter starts empty, which needs no announcement
    std::optional<std::int64_t> darrer_;
    std::optional<std::string> pendent_;
};

} // namespace tessora
