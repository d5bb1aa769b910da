// SIGINT, SIGTERM and SIGHUP (the terminal closed, the session ended) as an ordinary event: while an
// object of this class lives, any of them runs `accio` from the event loop (never from the signal
// handler), so the program can stop its capture and save what it must, as a normal close does. A loop
// without events passes no `accio` and asks Rebut() at its own pace instead. One object at a time.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <functional>
#include <iterator>
#include <memory>

namespace tessora {

class SenyalsTerminacio {
public:
    explicit SenyalsTerminacio(std::function<void()> accio);
    ~SenyalsTerminacio();
    SenyalsTerminacio(const SenyalsTerminacio&) = delete;
    SenyalsTerminacio& operator=(const SenyalsTerminacio&) = delete;

    // Whether one of the signals came since this object was made. From any thread.
    bool Rebut() const;

    // The signals handled, in the order of `anteriors_`.
    static constexpr int kSenyals[] = {SIGINT, SIGTERM, SIGHUP};

private:
    bool actiu_ = false;
    struct sigaction anteriors_[std::size(kSenyals)]{};
    std::unique_ptr<QSocketNotifier> avis_;
};

} // namespace tessora
