// SIGINT and SIGTERM as an ordinary event: while an object of this class lives, either signal runs
// `accio` from the event loop (never from the signal handler), so the program can stop its capture and
// save what it must, as a normal close does. One object at a time.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <functional>
#include <memory>

namespace tessora {

class SenyalsTerminacio {
public:
    explicit SenyalsTerminacio(std::function<void()> accio);
    ~SenyalsTerminacio();
    SenyalsTerminacio(const SenyalsTerminacio&) = delete;
    SenyalsTerminacio& operator=(const SenyalsTerminacio&) = delete;

private:
    bool actiu_ = false;
    struct sigaction anteriorInt_ {};
    struct sigaction anteriorTerm_ {};
    std::unique_ptr<QSocketNotifier> avis_;
};

} // namespace tessora
