#include "UnitFormCarta.h"

#include "EinesFinestra.h"

#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessora {

namespace {

// The plot, drawn afresh at each paint from what the session holds then.
class ClientCarta : public QWidget {
public:
    ClientCarta(QWidget* pare, const Sessio& sessio) : QWidget(pare), sessio_(sessio) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        DibuixarCarta(p, size(), sessio_.Carta(), OpcionsCartaSessio(sessio_));
    }

private:
    const Sessio& sessio_;
};

} // namespace

TFormCarta::TFormCarta(Sessio& sessio, QWidget* parent) : QWidget(parent, Qt::Window), sessio_(sessio) {
    setObjectName(QStringLiteral("FormCarta"));
    BotoBuidar = new QPushButton(this);
    BotoBuidar->setObjectName(QStringLiteral("BotoBuidar"));
    connect(BotoBuidar, &QPushButton::clicked, this, &TFormCarta::BotoBuidarClick);
    Client = new ClientCarta(this, sessio_);
    Client->setMinimumSize(360, 300);
    auto* capsa = new QVBoxLayout(this);
    capsa->setContentsMargins(4, 4, 4, 4);
    capsa->addWidget(BotoBuidar, 0, Qt::AlignLeft);
    capsa->addWidget(Client, 1);
    resize(520, 460);
    AplicarTexts();
}

void TFormCarta::Mostrar(const EfecteSessio& e) {
    if (e.IdiomaCanviat) AplicarTexts();
    // The loop never waits for the drawing: it comes at the next paint, while the window is shown.
    if (e.NouPunt || e.VeuAgudaCanviada || e.IdiomaCanviat || e.SeleccioCanviada || e.ModelsCanviats)
        Client->update();
}

void TFormCarta::AplicarTexts() {
    setWindowTitle(T(sessio_.Llengua(), IdText::TitolCarta));
    BotoBuidar->setText(T(sessio_.Llengua(), IdText::BotoBuidarCarta));
    Nomenar(*Client, sessio_.Llengua(), IdText::TitolCarta, IdText::AccCartaDescripcio);
}

void TFormCarta::BotoBuidarClick() {
    sessio_.BuidarCarta();
    Client->update();
}

} // namespace tessora
