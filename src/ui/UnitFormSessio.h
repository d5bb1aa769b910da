// The session's timeline window (Sessió): the picture of DibuixSessio.h over the last seconds heard,
// scrolling with the sound, and what a lesson needs around it.
//
// - Freeze (its button, or the space bar) stops the picture while listening goes on underneath; going on
//   jumps back to now. While frozen, the wheel and the left/right arrows move back and forth through
//   what the session holds (asking to move while live freezes first).
// - The time scale (its list, Ctrl+wheel, or the + and - keys) spans from the last 10 s to the whole
//   session held.
// - A click on an utterance, or the up/down arrows (the one before, the one after), selects it: the
//   session plays it. A click beside every utterance, or Escape, selects none. While it plays, a note
//   says whether the microphone is listened to meanwhile (with headphones) or not.
// - "Model" makes the selected utterance its vowel's model; the other button clears every model.
// - F5 asks for the main window's Save, which writes the selected utterance whole.
//
// Built on the session: it calls it for what the person asks, hands back what each call changed
// (Efecte), and shows the values of every step (Mostrar). Its controls carry their names as object
// names, for the tests.
#pragma once

#include "DibuixSessio.h"
#include "Sessio.h"

#include <QWidget>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tessora {

class TFormSessio : public QWidget {
    Q_OBJECT
public:
    TFormSessio(Sessio& sessio, QWidget* parent = nullptr);

    // Shows what a step of the session changed here: the picture (unless frozen), the selection, the
    // playback's note and its troubles, the models' button, the texts of a new language.
    void Mostrar(const EfecteSessio& efecte);

    // What the picture shows now, for a picture of its client's size.
    VistaSessio Vista() const;

signals:
    // What a command of this window changed in the session, for every window to show.
    void Efecte(const tessora::EfecteSessio& efecte);
    void DesarDemanat(); // F5

public slots:
    void BotoCongelarClick();
    void BotoModelClick();
    void BotoBuidarModelsClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* objecte, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void AplicarTexts();
    void Congelar(bool congelada);
    // Moves a frozen view by `blocs` (back when negative), within what the session holds.
    void Desplacar(std::int64_t blocs);
    // One step of the time scale: shorter (a smaller span) when `mesCurta`.
    void CanviarEscala(bool mesCurta);
    // Selects the utterance at `x` of the picture (none when no bar is within a few pixels).
    void TriarA(double x);
    // Selects the utterance before (`pas` -1) or after (+1) the selected one; with none, the last in view.
    void TriarVeina(int pas);
    void Triar(std::optional<std::int64_t> primerBloc);
    // Frozen: the view moves to hold the selection.
    void MostrarSeleccio();
    void MostrarBotons();
    void MostrarNota();

    Sessio& sessio_;
    bool congelada_ = false;
    std::int64_t finalCongelat_ = 0; // the view's end while frozen
    QString error_;                  // the last trouble of the playback or the models, until the next play

    QPushButton* BotoCongelar;
    QComboBox* ComboEscala;
    QPushButton* BotoModel;
    QPushButton* BotoBuidarModels;
    QCheckBox* CheckAuriculars;
    QLabel* LabelNota;
    QWidget* Client;
};

} // namespace tessora
