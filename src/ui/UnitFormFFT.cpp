#include "UnitFormFFT.h"

#include "Numeric.h"
#include "TextsIdioma.h"
#include "Tools.h"

#include <QApplication>
#include <QFrame>
#include <QLocale>
#include <QMenuBar>
#include <QPaintEvent>

#include <cmath>

namespace tessora {

namespace {

// The window's texts are the same in both languages.
QString T(IdText id) {
    return QString::fromStdString(Text(Idioma::Catala, id));
}

QLineEdit* Edit(QWidget* pare, const char* nom, int x, int y, int w, int h, const char* text, IdText hint) {
    auto* edit = new QLineEdit(QString::fromUtf8(text), pare);
    edit->setObjectName(QString::fromLatin1(nom));
    edit->setGeometry(x, y, w, h);
    edit->setToolTip(T(hint));
    return edit;
}

QAction* Opcio(QMenu* menu, const char* nom, IdText text, bool marcada) {
    QAction* a = menu->addAction(T(text));
    a->setObjectName(QString::fromLatin1(nom));
    a->setCheckable(true);
    a->setChecked(marcada);
    return a;
}

// The decimal separator of the user's locale, where it is one plain character.
char SeparadorDecimalLocal() {
    const QString separador = QLocale().decimalPoint();
    return separador.size() == 1 && separador[0].unicode() < 128 ? static_cast<char>(separador[0].unicode())
                                                                 : '.';
}

} // namespace

TFormFFT::TFormFFT(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(T(IdText::TitolFFT));
    move(335, 234);
    setFont(QFont(QStringLiteral("MS Sans Serif"), -1));
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);

    Client = new ClientFFT(this, [this](QPainter& pintor, QSize client) { FormPaint(pintor, client); });
    auto* client = Client;
    QPalette paleta = client->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    client->setPalette(paleta);
    setCentralWidget(client);

    Opcions1 = menuBar()->addMenu(T(IdText::Opcions1));
    MenuVeureLPC = Opcio(Opcions1, "MenuVeureLPC", IdText::MenuVeureLPC, true);
    MenuVeureMarquesLPC = Opcio(Opcions1, "MenuVeureMarquesLPC", IdText::MenuVeureMarquesLPC, true);
    Opcions1->addSeparator();
    MenuVeureFFT = Opcio(Opcions1, "MenuVeureFFT", IdText::MenuVeureFFT, true);
    MenuNormalitzarFFT = Opcio(Opcions1, "MenuNormalitzarFFT", IdText::MenuNormalitzarFFT, false);
    Opcions1->addSeparator();
    MenuPreemfasis = Opcio(Opcions1, "MenuPreemfasis", IdText::MenuPreemfasis, true);
    MenuFFTEscalaAdaptadaALOida =
        Opcio(Opcions1, "MenuFFTEscalaAdaptadaALOida", IdText::MenuFFTEscalaAdaptadaALOida, false);
    Opcions1->addSeparator();
    MenuNoRepintar = Opcio(Opcions1, "MenuNoRepintar", IdText::MenuNoRepintar, false);
    Opcions1->addSeparator();
    MenuReconeixementContinu =
        Opcio(Opcions1, "MenuReconeixementContinu", IdText::MenuReconeixementContinu, false);

    LabelDades1 = new QLabel(client);
    LabelDades1->setObjectName(QStringLiteral("LabelDades1"));
    LabelDades1->setGeometry(0, 249, 537, 16);
    LabelDades1->setAutoFillBackground(true); // opaque on the white of the window, over piled curves

    auto* panell = new QFrame(client);
    panell->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panell->setPalette(QApplication::palette());
    panell->setAutoFillBackground(true);
    panell->setGeometry(0, 0, width(), 34);
    PanelBarraDeEinesFFT = panell;
    EditUnitatX = Edit(panell, "EditUnitatX", 5, 6, 49, 21, "1000", IdText::HintUnitatX);
    EditUnitatY = Edit(panell, "EditUnitatY", 61, 6, 49, 21, "1", IdText::HintUnitatY);
    EditLletra = Edit(panell, "EditLletra", 195, 5, 33, 21, "", IdText::HintLletra);
    EditNumeroQuoeficientsLPC =
        Edit(panell, "EditNumeroQuoeficientsLPC", 236, 5, 57, 21, "11", IdText::HintQuoeficientsLPC);
    EditFrequenciaMinima =
        Edit(panell, "EditFrequenciaMinima", 300, 5, 57, 21, "60", IdText::HintFrequenciaMinima);

    // The initial client area of 569 x 265 pixels, with the data line at its bottom.
    resize(569, 265 + menuBar()->sizeHint().height());

    // FormCreate
    UnitatX = EditUnitatX->text().toInt();
    UnitatY = QLocale().toFloat(EditUnitatY->text());

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

void TFormFFT::EnllacarAnalisi(EstatAnalisi& estat, std::function<void()> reanalitzarBloc) {
    estat_ = &estat;
    ReanalitzarBloc = std::move(reanalitzarBloc);
    Repintar();
}

void TFormFFT::FormPaint(QPainter& pintor, QSize client) {
    if (estat_ == nullptr) return;
    if (const std::optional<int> j = PuntMeitatEnvolupant(*estat_))
        estat_->MigLPC = ArrodonirLimitat(estat_->FrequenciesEspectre[*j]);
    DibuixarFFT(pintor, client, *estat_, OpcionsDibuix());
}

OpcionsDibuixFFT TFormFFT::OpcionsDibuix() const {
    OpcionsDibuixFFT o;
    o.UnitatX = UnitatX;
    o.UnitatY = UnitatY;
    o.VeureLPC = MenuVeureLPC->isChecked();
    o.VeureMarquesLPC = MenuVeureMarquesLPC->isChecked();
    o.VeureFFT = MenuVeureFFT->isChecked();
    o.SeparadorDecimal = SeparadorDecimalLocal();
    return o;
}

bool TFormFFT::ReconeixementContinu() const {
    return MenuReconeixementContinu->isChecked();
}

std::string TFormFFT::LletraAComparar() const {
    return EditLletra->text().toStdString();
}

void TFormFFT::MostrarResultat(const ResultatReconeixement& r) {
    if (r.NouTextFrequenciaMinima)
        EditFrequenciaMinima->setText(QString::fromStdString(*r.NouTextFrequenciaMinima));
    if (!r.Completa) return;
    LabelDades1->setText(QString::fromStdString(r.LiniaDades));
    if (!isVisible()) return;
    if (MenuNoRepintar->isChecked()) {
        Client->DibuixarDamunt();
    } else {
        Client->Invalidar();
        Client->repaint();
    }
}

void TFormFFT::Repintar() {
    Client->Invalidar();
    Client->update();
}

void TFormFFT::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    Repintar();
}

ConfiguracioAnalisi TFormFFT::LlegirConfiguracio(bool veuAguda, bool castella) const {
    ConfiguracioAnalisi c;
    c.Preemfasis = MenuPreemfasis->isChecked();
    c.EscalaAdaptadaOida = MenuFFTEscalaAdaptadaALOida->isChecked();
    c.NormalitzarFFT = MenuNormalitzarFFT->isChecked();
    c.VeureFFT = MenuVeureFFT->isChecked();
    c.GraficsVisibles = isVisible();
    c.TextOrdreLPC = EditNumeroQuoeficientsLPC->text().toStdString();
    c.TextFrequenciaMinima = EditFrequenciaMinima->text().toStdString();
    c.VeuAguda = veuAguda;
    c.Castella = castella;
    c.SeparadorDecimal = SeparadorDecimalLocal();
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

void TFormFFT::Reanalitzar() {
    if (ReanalitzarBloc) ReanalitzarBloc();
}

} // namespace tessora
