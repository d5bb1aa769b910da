// What the windows ask of the person and of the desktop: file names, messages, other programs, waits.
// The windows go through one object of this kind, so tests can answer in the person's place.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace tessora {

class Dialegs {
public:
    virtual ~Dialegs() = default;
    // A save dialog with one filter ("Archivos de sonido (*.wav)"); nullopt when cancelled.
    virtual std::optional<QString> DemanarNomDesar(QWidget* pare, const QString& filtre);
    // A message with an OK button and no icon; returns when the person closes it.
    virtual void Informar(QWidget* pare, const QString& titol, const QString& text);
    // A message with the stop icon.
    virtual void Error(QWidget* pare, const QString& titol, const QString& text);
    // Starts a program detached; false when it cannot be started (not installed).
    virtual bool IniciarPrograma(const QString& programa, const QStringList& arguments);
    // Runs a program to its end; its exit status, or -1 when it could not run.
    virtual int ExecutarPrograma(const QString& programa, const QStringList& arguments);
};

// Waits `ms` milliseconds while the event loop keeps dispatching (sound blocks included), without
// keeping the processor busy.
void EsperarMilisegons(int ms);

} // namespace tessora
