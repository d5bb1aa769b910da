#include "UnitFormCarta.h"

#include <QPainter>
#include <QVBoxLayout>

namespace tessora {

void ClientCarta::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibuixarCarta(p, size(), carta_, opcions_);
}

TFormCarta::TFormCarta(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormCarta"));
    BotoBuidar = new QPushButton(this);
    BotoBuidar->setObjectName(QStringLiteral("BotoBuidar"));
    connect(BotoBuidar, &QPushButton::clicked, this, &TFormCarta::BotoBuidarClick);
    Client = new ClientCarta(this, carta_, opcions_);
    Client->setMinimumSize(360, 300);
    auto* capsa = new QVBoxLayout(this);
    capsa->setContentsMargins(4, 4, 4, 4);
    capsa->addWidget(BotoBuidar, 0, Qt::AlignLeft);
    capsa->addWidget(Client, 1);
    resize(520, 460);
    AplicarTexts(Idioma::Catala);
    rellotge_.start();
}

void TFormCarta::MostrarAnalisi(const ResultatReconeixement& r, bool veuAguda) {
    const bool punt = carta_.Afegir(r, static_cast<double>(rellotge_.elapsed()) / 1000.0);
    if (!punt && veuAguda == opcions_.VeuAguda) return;
    opcions_.VeuAguda = veuAguda;
    if (isVisible()) Client->update();
}

void TFormCarta::AplicarTexts(Idioma idioma) {
    opcions_.Llengua = idioma;
    setWindowTitle(QString::fromStdString(Text(idioma, IdText::TitolCarta)));
    BotoBuidar->setText(QString::fromStdString(Text(idioma, IdText::BotoBuidarCarta)));
    Client->update();
}

void TFormCarta::BotoBuidarClick() {
    carta_.Buidar();
    Client->update();
}

void TFormCarta::FixarVeuAguda(bool veuAguda) {
    opcions_.VeuAguda = veuAguda;
    Client->update();
}

} // namespace tessora
