#include "UnitFormFFT.h"

#include "Numeric.h"
#include "TextsIdioma.h"

#include <QFrame>
#include <QLocale>
#include <QMenuBar>

namespace tessora {

namespace {

// The window's texts are the same in both languages.
QString T(IdText id) {
    return QString::fromStdString(Text(Idioma::Catala, id));
}

QLineEdit* Edit(QWidget* pare, int x, int y, int w, int h, const char* text, IdText hint) {
    auto* edit = new QLineEdit(QString::fromUtf8(text), pare);
    edit->setGeometry(x, y, w, h);
    edit->setToolTip(T(hint));
    return edit;
}

QAction* Opcio(QMenu* menu, IdText text, bool marcada) {
    QAction* a = menu->addAction(T(text));
    a->setCheckable(true);
    a->setChecked(marcada);
    return a;
}

} // namespace

TFormFFT::TFormFFT(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(T(IdText::TitolFFT));
    move(335, 234);
    resize(577, 316);
    setFont(QFont(QStringLiteral("MS Sans Serif"), -1));
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette paleta = client->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    client->setPalette(paleta);
    setCentralWidget(client);

    Opcions1 = menuBar()->addMenu(T(IdText::Opcions1));
    MenuVeureLPC = Opcio(Opcions1, IdText::MenuVeureLPC, true);
    MenuVeureMarquesLPC = Opcio(Opcions1, IdText::MenuVeureMarquesLPC, true);
    Opcions1->addSeparator();
    MenuVeureFFT = Opcio(Opcions1, IdText::MenuVeureFFT, true);
    MenuNormalitzarFFT = Opcio(Opcions1, IdText::MenuNormalitzarFFT, false);
    Opcions1->addSeparator();
    MenuPreemfasis = Opcio(Opcions1, IdText::MenuPreemfasis, true);
    MenuFFTEscalaAdaptadaALOida = Opcio(Opcions1, IdText::MenuFFTEscalaAdaptadaALOida, false);
    Opcions1->addSeparator();
    MenuNoRepintar = Opcio(Opcions1, IdText::MenuNoRepintar, false);
    Opcions1->addSeparator();
    MenuReconeixementContinu = Opcio(Opcions1, IdText::MenuReconeixementContinu, false);

    LabelDades1 = new QLabel(client);
    LabelDades1->setGeometry(0, 249, 537, 16);

    auto* panell = new QFrame(client);
    panell->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panell->setGeometry(0, 0, width(), 34);
    PanelBarraDeEinesFFT = panell;
    EditUnitatX = Edit(panell, 5, 6, 49, 21, "1000", IdText::HintUnitatX);
    EditUnitatY = Edit(panell, 61, 6, 49, 21, "1", IdText::HintUnitatY);
    EditLletra = Edit(panell, 195, 5, 33, 21, "", IdText::HintLletra);
    EditNumeroQuoeficientsLPC = Edit(panell, 236, 5, 57, 21, "11", IdText::HintQuoeficientsLPC);
    EditFrequenciaMinima = Edit(panell, 300, 5, 57, 21, "60", IdText::HintFrequenciaMinima);

    // FormCreate
    UnitatX = EditUnitatX->text().toInt();
    UnitatY = QLocale::system().toFloat(EditUnitatY->text());

    connect(MenuVeureLPC, &QAction::triggered, this, &TFormFFT::MenuVeureLPCClick);
    connect(MenuVeureMarquesLPC, &QAction::triggered, this, &TFormFFT::MenuVeureMarquesLPCClick);
    connect(MenuVeureFFT, &QAction::triggered, this, &TFormFFT::MenuVeureFFTClick);
    connect(MenuNormalitzarFFT, &QAction::triggered, this, &TFormFFT::MenuNormalitzarFFTClick);
    connect(MenuPreemfasis, &QAction::triggered, this, &TFormFFT::MenuPreemfasisClick);
    connect(MenuFFTEscalaAdaptadaALOida, &QAction::triggered, this,
            &TFormFFT::MenuFFTEscalaAdaptadaALOidaClick);
    connect(MenuNoRepintar, &QAction::triggered, this, &TFormFFT::MenuNoRepintarClick);
    connect(MenuReconeixementContinu, &QAction::triggered, this, &TFormFFT::MenuReconeixementContinuClick);
    connect(EditUnitatX, &QLineEdit::editingFinished, this, &TFormFFT::EditUnitatXExit);
    connect(EditUnitatY, &QLineEdit::editingFinished, this, &TFormFFT::EditUnitatYExit);
}

ConfiguracioAnalisi TFormFFT::LlegirConfiguracio(bool veuAguda, bool castella) const {
    ConfiguracioAnalisi c;
    c.Preemfasis = MenuPreemfasis->isChecked();
    c.EscalaAdaptadaOida = MenuFFTEscalaAdaptadaALOida->isChecked();
    c.NormalitzarFFT = MenuNormalitzarFFT->isChecked();
    c.VeureFFT = MenuVeureFFT->isChecked();
    c.NoRepintar = MenuNoRepintar->isChecked();
    c.GraficsVisibles = isVisible();
    c.TextOrdreLPC = EditNumeroQuoeficientsLPC->text().toStdString();
    c.TextFrequenciaMinima = EditFrequenciaMinima->text().toStdString();
    c.VeuAguda = veuAguda;
    c.Castella = castella;
    const QString separador = QLocale::system().decimalPoint();
    c.SeparadorDecimal = separador.size() == 1 && separador[0].unicode() < 128
                             ? static_cast<char>(separador[0].unicode())
                             : '.';
    return c;
}

// QAction's own toggle has already inverted the check mark when triggered arrives.
void TFormFFT::MenuVeureLPCClick() {
    Reanalitzar();
}
void TFormFFT::MenuVeureMarquesLPCClick() {
    Reanalitzar();
}
void TFormFFT::MenuVeureFFTClick() {
    Reanalitzar();
}
void TFormFFT::MenuNormalitzarFFTClick() {
    Reanalitzar();
}

void TFormFFT::MenuPreemfasisClick() {
    MenuFFTEscalaAdaptadaALOida->setChecked(false);
    Reanalitzar();
}

void TFormFFT::MenuFFTEscalaAdaptadaALOidaClick() {
    MenuPreemfasis->setChecked(false);
    Reanalitzar();
}

void TFormFFT::MenuNoRepintarClick() {}
void TFormFFT::MenuReconeixementContinuClick() {}

void TFormFFT::EditUnitatXExit() {
    std::int32_t valor = 0;
    if (LlegirEnter(EditUnitatX->text().toStdString().c_str(), valor) && valor > 0) {
        UnitatX = valor;
    } else {
        EditUnitatX->setText(QStringLiteral("1000"));
        UnitatX = 1000;
    }
    update();
}

void TFormFFT::EditUnitatYExit() {
    bool correcte = false;
    const float valor = QLocale::c().toFloat(EditUnitatY->text(), &correcte);
    if (correcte && valor > 0.0f) {
        UnitatY = valor;
    } else {
        EditUnitatY->setText(QStringLiteral("5"));
        UnitatY = 5.0f;
    }
    update();
}

void TFormFFT::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (centralWidget() != nullptr) {
        LabelDades1->move(0, centralWidget()->height() - LabelDades1->height());
        PanelBarraDeEinesFFT->resize(centralWidget()->width(), PanelBarraDeEinesFFT->height());
    }
    update();
}

void TFormFFT::Reanalitzar() {
    if (ReanalitzarBloc) ReanalitzarBloc();
}

} // namespace tessora
