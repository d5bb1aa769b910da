// What the windows ask of the person and of the desktop: file names, messages, other programs, waits.
// The windows go through one object of this kind, so tests can answer in the person's place.
#pragma once

#include "TextsIdioma.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

namespace tessora {

class Dialegs {
public:
    virtual ~Dialegs() = default;
    // The language of the questions of our own (Qt's follow its installed translation).
    void FixarIdioma(Idioma idioma) { idioma_ = idioma; }
    // A save dialog with one filter. `fitxers` gives the files a chosen name will write, the first being
    // the name to return (the ".wav" rule, and the files beside it); when any of them exists the person
    // is asked once, about the ones that exist, before they are replaced, and answering no goes back to
    // the dialog. The first file's name, or nullopt when cancelled.
    virtual std::optional<QString> DemanarNomDesar(QWidget* pare, const QString& filtre,
                                                   const std::function<QStringList(const QString&)>& fitxers);
    // A message with an OK button and no icon; returns when the person closes it.
    virtual void Informar(QWidget* pare, const QString& titol, const QString& text);
    // A message with the stop icon.
    virtual void Error(QWidget* pare, const QString& titol, const QString& text);
    // A question with Yes and No, No the default; true for Yes. Closed any other way, or asked while the
    // program closes, it counts as No.
    virtual bool Preguntar(QWidget* pare, const QString& titol, const QString& text);
    // The program is closing while a command waits for the person: closes every dialog and message that
    // is open (each as cancelled), so the command can finish. From then on nothing more is asked: a
    // save dialog counts as cancelled, a message as read, and an error goes to standard error.
    virtual void TancarOberts();
    // Starts a program detached; its process id, or nullopt when it cannot be started (not installed).
    virtual std::optional<qint64> IniciarPrograma(const QString& programa, const QStringList& arguments);
    // Whether a program started by IniciarPrograma still runs.
    virtual bool ProgramaViu(qint64 pid);
    // Brings the windows of a running program to the front (through wmctrl, when installed).
    virtual void ActivarPrograma(qint64 pid);
    // Runs a program to its end: 0 when it ran and succeeded, else -1 (not installed, failed, hung).
    virtual int ExecutarPrograma(const QString& programa, const QStringList& arguments);
    // Hands a link to the desktop's program for it (a mailto: link to the mail program); false when
    // none could be started.
    virtual bool ObrirEnllac(const QUrl& enllac);
    // The program is closing (TancarOberts has been called): nothing more is to be asked.
    bool Tancant() const { return tancant_; }

private:
    // Runs a program to its end; its standard output, or nullopt when it could not run or failed.
    std::optional<QString> SortidaPrograma(const QString& programa, const QStringList& arguments);

    bool tancant_ = false;
    Idioma idioma_ = Idioma::Catala;
};

// Waits `ms` milliseconds while the event loop keeps dispatching (sound blocks included), without
// keeping the processor busy.
void EsperarMilisegons(int ms);

} // namespace tessora
