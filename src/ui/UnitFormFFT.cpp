#include "UnitFormFFT.h"

#include "EinesFinestra.h"
#include "Numeric.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>

#include <cmath>

namespace tessora {

namespace {

// The window's texts are the same in both languages.
constexpr Idioma kIdiomaFFT = Idioma::Catala;

QLineEdit* Edit(QWidget* pare, const char* nom, int x, int y, int w, int h, const std::string& text,
                IdText hint) {
    auto* edit = new QLineEdit(Q(text), pare);
    edit->setObjectName(QString::fromLatin1(nom));
    edit->setGeometry(x, y, w, h);
    edit->setToolTip(T(kIdiomaFFT, hint));
    edit->setAccessibleName(T(kIdiomaFFT, hint));
    return edit;
}

} // namespace

TFormFFT::TFormFFT(Sessio& sessio, QWidget* parent) : QMainWindow(parent), sessio_(sessio) {
    setObjectName(QStringLiteral("FormFFT"));
    setWindowTitle(T(kIdiomaFFT, IdText::TitolFFT));
    move(335, 234);
    PosarLletraFinestra(*this);

    Client = new ClientFFT(this, [this](QPainter& pintor, QSize client) { FormPaint(pintor, client); });
    QPalette paleta = Client->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    Client->setPalette(paleta);
    setCentralWidget(Client);

    QMenu* opcions = menuBar()->addMenu(T(kIdiomaFFT, IdText::Opcions1));
    const auto opcio = [&](const char* nom, IdText text, OpcioGrafics o) {
        QAction* a = opcions->addAction(T(kIdiomaFFT, text));
        a->setObjectName(QString::fromLatin1(nom));
        a->setCheckable(true);
        // QAction's own toggle has already inverted the check mark; the session's is the one shown.
        connect(a, &QAction::triggered, this, [this, o] {
            const EfecteSessio efecte = sessio_.CommutarOpcio(o);
            MostrarOpcions();
            emit Efecte(efecte);
        });
        Opcions1.emplace_back(a, o);
    };
    opcio("MenuVeureLPC", IdText::MenuVeureLPC, OpcioGrafics::VeureLPC);
    opcio("MenuVeureMarquesLPC", IdText::MenuVeureMarquesLPC, OpcioGrafics::VeureMarquesLPC);
    opcions->addSeparator();
    opcio("MenuVeureFFT", IdText::MenuVeureFFT, OpcioGrafics::VeureFFT);
    opcio("MenuNormalitzarFFT", IdText::MenuNormalitzarFFT, OpcioGrafics::NormalitzarFFT);
    opcions->addSeparator();
    opcio("MenuPreemfasis", IdText::MenuPreemfasis, OpcioGrafics::Preemfasis);
    opcio("MenuFFTEscalaAdaptadaALOida", IdText::MenuFFTEscalaAdaptadaALOida,
          OpcioGrafics::EscalaAdaptadaOida);
    opcions->addSeparator();
    opcio("MenuNoRepintar", IdText::MenuNoRepintar, OpcioGrafics::NoRepintar);
    opcions->addSeparator();
    opcio("MenuReconeixementContinu", IdText::MenuReconeixementContinu, OpcioGrafics::ReconeixementContinu);
    MostrarOpcions();
    Nomenar(*Client, kIdiomaFFT, IdText::AccGrafic, IdText::AccGraficDescripcio);
    NomenarMenus(*this, kIdiomaFFT);

    LabelDades1 = new QLabel(Client);
    LabelDades1->setObjectName(QStringLiteral("LabelDades1"));
    LabelDades1->setGeometry(0, 249, 537, 16);
    LabelDades1->setAutoFillBackground(true); // opaque on the white of the window, over piled curves

    auto* panell = new QFrame(Client);
    panell->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panell->setPalette(QApplication::palette());
    panell->setAutoFillBackground(true);
    panell->setGeometry(0, 0, width(), 34);
    PanelBarraDeEinesFFT = panell;
    const ConfiguracioGrafics& g = sessio_.Grafics();
    EditUnitatX = Edit(panell, "EditUnitatX", 5, 6, 49, 21, "1000", IdText::HintUnitatX);
    EditUnitatY = Edit(panell, "EditUnitatY", 61, 6, 49, 21, "1", IdText::HintUnitatY);
    EditLletra = Edit(panell, "EditLletra", 195, 5, 33, 21, g.TextLletra, IdText::HintLletra);
    EditNumeroQuoeficientsLPC = Edit(panell, "EditNumeroQuoeficientsLPC", 236, 5, 57, 21, g.TextOrdreLPC,
                                     IdText::HintQuoeficientsLPC);
    EditFrequenciaMinima = Edit(panell, "EditFrequenciaMinima", 300, 5, 57, 21, g.TextFrequenciaMinima,
                                IdText::HintFrequenciaMinima);

    // The initial client area of 569 x 265 pixels, with the data line at its bottom.
    resize(569, 265 + menuBar()->sizeHint().height());

    // FormCreate
    UnitatX = EditUnitatX->text().toInt();
    UnitatY = QLocale().toFloat(EditUnitatY->text());

    connect(EditUnitatX, &QLineEdit::editingFinished, this, &TFormFFT::EditUnitatXExit);
    connect(EditUnitatY, &QLineEdit::editingFinished, this, &TFormFFT::EditUnitatYExit);
    // Every analysis reads the edits as they are at that moment.
    for (QLineEdit* edit : {EditLletra, EditNumeroQuoeficientsLPC, EditFrequenciaMinima})
        connect(edit, &QLineEdit::textChanged, this, [this] {
            sessio_.FixarTextsGrafics(EditNumeroQuoeficientsLPC->text().toStdString(),
                                      EditFrequenciaMinima->text().toStdString(),
                                      EditLletra->text().toStdString());
        });
}

void TFormFFT::MostrarOpcions() {
    for (const auto& [accio, opcio] : Opcions1)
        accio->setChecked(sessio_.Grafics().Marcada(opcio));
}

void ClientFFT::Preparar() {
    if (imatge_.size() == size() && !afresc_) return;
    imatge_ = QImage(size(), QImage::Format_RGB32);
    imatge_.fill(palette().color(QPalette::Window));
    QPainter pintor(&imatge_);
    pintor.setFont(font());
    dibuix_(pintor, size());
    afresc_ = false;
}

void ClientFFT::paintEvent(QPaintEvent* event) {
    Preparar();
    QPainter pintor(this);
    pintor.drawImage(event->rect(), imatge_, event->rect());
}

void ClientFFT::DibuixarDamunt() {
    if (imatge_.size() == size() && !afresc_) {
        QPainter pintor(&imatge_);
        pintor.setFont(font());
        dibuix_(pintor, size());
    } // else the picture is drawn afresh anyway
    repaint();
}

void TFormFFT::FormPaint(QPainter& pintor, QSize client) {
    const ConfiguracioGrafics& g = sessio_.Grafics();
    OpcionsDibuixFFT o;
    o.UnitatX = UnitatX;
    o.UnitatY = UnitatY;
    o.VeureLPC = g.VeureLPC;
    o.VeureMarquesLPC = g.VeureMarquesLPC;
    o.VeureFFT = g.VeureFFT;
    o.SeparadorDecimal = SeparadorDecimal();
    DibuixarFFT(pintor, client, sessio_.Estat(), o);
}

void TFormFFT::Mostrar(const EfecteSessio& e) {
    if (e.NouTextFrequenciaMinima) EditFrequenciaMinima->setText(Q(*e.NouTextFrequenciaMinima));
    if (e.LiniaDades) LabelDades1->setText(Q(*e.LiniaDades));
    if (e.Refresc == RefrescGrafics::Repintar) {
        Client->Invalidar();
        Client->repaint();
    } else if (e.Refresc == RefrescGrafics::DibuixarDirecte) {
        Client->DibuixarDamunt();
    }
}

void TFormFFT::Repintar() {
    sessio_.RedibuixarGrafics();
    Client->Invalidar();
    Client->update();
}

void TFormFFT::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    sessio_.FixarGraficsVisibles(isVisible());
    Repintar();
}

void TFormFFT::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    sessio_.FixarGraficsVisibles(isVisible()); // still shown when it was only minimised
}

void TFormFFT::EditUnitatXExit() {
    std::int32_t valor = 0;
    if (LlegirEnter(EditUnitatX->text().toStdString().c_str(), valor) && valor > 0) {
        UnitatX = valor;
    } else {
        EditUnitatX->setText(QStringLiteral("1000"));
        UnitatX = 1000;
    }
    Repintar();
}

void TFormFFT::EditUnitatYExit() {
    bool correcte = false;
    const float valor = QLocale::c().toFloat(EditUnitatY->text(), &correcte);
    // Qt also reads "inf"; a unit must be a number.
    if (correcte && std::isfinite(valor) && valor > 0.0f) {
        UnitatY = valor;
    } else {
        EditUnitatY->setText(QStringLiteral("5"));
        UnitatY = 5.0f;
    }
    Repintar();
}

void TFormFFT::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (centralWidget() != nullptr) {
        LabelDades1->move(0, centralWidget()->height() - LabelDades1->height());
        PanelBarraDeEinesFFT->resize(centralWidget()->width(), PanelBarraDeEinesFFT->height());
    }
    Repintar();
}

} // namespace tessora
