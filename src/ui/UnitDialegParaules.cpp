#include "UnitDialegParaules.h"

#include "EinesFinestra.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tessora {

TFormDiguesParaula::TFormDiguesParaula(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    LabelParaula = new EtiquetaLletra(this);
    LabelParaula->setObjectName(QStringLiteral("LabelParaula"));
    QFont lletra(QStringLiteral("Arial"));
    lletra.setPixelSize(96);
    lletra.setBold(true);
    LabelParaula->setFont(lletra);
    // The designed 213 x 100 is the least: the window grows where the font in use needs more room for
    // the ink of a vowel, accents included, with a small margin.
    const QSizeF tinta = EtiquetaLletra::Tinta(lletra);
    setFixedSize(std::max(213, static_cast<int>(std::ceil(tinta.width())) + 8),
                 std::max(100, static_cast<int>(std::ceil(tinta.height())) + 8));
    QPalette paleta = LabelParaula->palette();
    paleta.setColor(QPalette::WindowText, Qt::blue);
    LabelParaula->setPalette(paleta);
    LabelParaula->setFocusPolicy(Qt::StrongFocus);
    LabelParaula->installEventFilter(this);
    auto* disposicio = new QVBoxLayout(this);
    disposicio->setContentsMargins(0, 0, 0, 0);
    disposicio->addWidget(LabelParaula);
    AplicarTexts(Idioma::Catala);
}

void TFormDiguesParaula::AplicarTexts(Idioma idioma) {
    setWindowTitle(T(idioma, IdText::TitolDiguesParaula));
    LabelParaula->setAccessibleDescription(T(idioma, IdText::AccIndicacioDescripcio));
}

void TFormDiguesParaula::Indicar(const QString& vocal) {
    LabelParaula->setText(vocal);
    if (const QScreen* pantalla = screen() != nullptr ? screen() : QGuiApplication::primaryScreen()) {
        QRect lloc = frameGeometry();
        lloc.moveCenter(pantalla->availableGeometry().center());
        move(lloc.topLeft());
    }
    show();
    raise();
    activateWindow();
    LabelParaula->setFocus(Qt::OtherFocusReason);
}

bool TFormDiguesParaula::eventFilter(QObject* objecte, QEvent* event) {
    if (objecte != LabelParaula) return QDialog::eventFilter(objecte, event);
    const int tecla = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event)->key() : 0;
    if (tecla == Qt::Key_Space || tecla == Qt::Key_Return || tecla == Qt::Key_Enter ||
        event->type() == QEvent::MouseButtonPress) {
        emit LabelParaulaClick();
        return true;
    }
    return QDialog::eventFilter(objecte, event);
}

void TFormDiguesParaula::reject() {
    // Escape, or a close from the desktop: hiding the prompt alone would leave a run without one.
    emit LabelParaulaClick();
}

} // namespace tessora
