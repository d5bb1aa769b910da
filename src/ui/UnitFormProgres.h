// The progress window: one speaker's runs kept in the journal, drawn by DibuixarProgres (the hit rates
// across the runs' dates, the first and the latest run's vowel charts), and a list of the journal's
// speakers to look at another. It reads the journal afresh whenever it is shown for a speaker, another is
// chosen or the language changes; a journal that cannot be read is said above an empty picture, and one
// that was set aside (not a database, or damaged) is said with the name it was given.
// The experimentation window's menu opens it, modeless, for the speaker chosen there.
#pragma once

#include "Diari.h"
#include "TextsIdioma.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;

namespace tessora {

class TFormProgres : public QWidget {
    Q_OBJECT
public:
    // Reads from `diari`, which outlives the window, and shows `parlant` ("" the anonymous one).
    TFormProgres(Diari& diari, Idioma idioma, const std::string& parlant, QWidget* parent = nullptr);

    // Lists the journal's speakers again, chooses `parlant` (listed even when it has no run yet) and shows
    // its runs in the texts and the vowel set of `idioma`.
    void Mostrar(const std::string& parlant, Idioma idioma);
    // The speaker shown ("" the anonymous one).
    std::string Parlant() const;

public slots:
    void ComboParlantChange();

private:
    void AplicarTexts();
    // The chosen speaker's runs; what went wrong in reading them, or `avis` before, in LabelError.
    void Llegir(ResultatDiari avis);

    Diari& diari_;
    Idioma idioma_;
    std::vector<CursaDiari> curses_;
    QLabel* LabelParlant;
    QComboBox* ComboParlant;
    QLabel* LabelError;
    QWidget* Client;
};

} // namespace tessora
