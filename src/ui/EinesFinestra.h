// What every window needs alike: our UTF-8 texts as Qt strings and the texts of the language table (also
// for the pictures, which tessora-cli draws too), the decimal separator of the user's locale, the
// windows' own font, and the names a screen reader reads.
#pragma once

#include "TextsIdioma.h"

#include <QString>

#include <string_view>

class QWidget;

namespace tessora {

// A UTF-8 text of ours as a Qt string.
inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The text `id` of the language table in `idioma`.
inline QString T(Idioma idioma, IdText id) {
    return Q(Text(idioma, id));
}

// The decimal separator of the user's locale (QLocale(), the system's unless the program sets another),
// for the data line and the hit percentage; '.' where it is not one plain ASCII character.
char SeparadorDecimal();

// The font the windows were designed in, "MS Sans Serif" of 11 pixels, for everything not stated
// otherwise.
void PosarLletraFinestra(QWidget& finestra);

// The name and description a screen reader gives `control` (through Qt's accessibility layer), from the
// language table in `idioma`: for the controls whose visible text, if any, does not say what they are.
// A window calls it with its other texts, so that a change of language renames them.
void Nomenar(QWidget& control, Idioma idioma, IdText nom, IdText descripcio);

// Every menu bar of `finestra` named, and every menu named by its title as shown (without its access
// key): called after the titles are set.
void NomenarMenus(QWidget& finestra, Idioma idioma);

} // namespace tessora
