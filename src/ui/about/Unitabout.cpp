#include "Unitabout.h"

#include "Fabricant.h"

#include <QDesktopServices>
#include <QFont>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QUrl>

#include <cstddef>
#include <initializer_list>

// The pictures are compiled into this static library; naming them here keeps the linker from leaving
// them out. The macro cannot be used inside a namespace.
static void CarregarImatges() {
    Q_INIT_RESOURCE(imatges);
}

namespace tessora {
namespace {

constexpr int kAmplada = 305;
constexpr int kAlcada = 385;
constexpr int kIntervalTimer1 = 3500; // ms

// Named colours of the classic 16-colour palette.
const QColor kVerd(0x00, 0x80, 0x00);
const QColor kBlauMari(0x00, 0x00, 0x80);
const QColor kGris(0x80, 0x80, 0x80);
const QColor kPlata(0xC0, 0xC0, 0xC0);
const QColor kNegre(0x00, 0x00, 0x00);

QFont Lletra(const char* familia, int pixels, bool negreta) {
    QFont lletra(QString::fromLatin1(familia));
    lletra.setPixelSize(pixels);
    lletra.setBold(negreta);
    return lletra;
}

void PosarColor(QWidget* component, QPalette::ColorRole rol, const QColor& color) {
    QPalette paleta = component->palette();
    paleta.setColor(rol, color);
    component->setPalette(paleta);
}

QLabel* Imatge(QWidget* pare, const char* nom, QRect lloc, const char* fitxer, Qt::Alignment alineacio) {
    auto* imatge = new QLabel(pare);
    imatge->setObjectName(QString::fromLatin1(nom));
    imatge->setGeometry(lloc);
    imatge->setPixmap(QPixmap(QStringLiteral(":/imatges/") + QString::fromLatin1(fitxer)));
    imatge->setAlignment(alineacio);
    return imatge;
}

QLabel* Etiqueta(QWidget* pare, const char* nom, QRect lloc, const QString& text, const QFont& lletra,
                 Qt::Alignment alineacio, bool ajustar) {
    auto* etiqueta = new QLabel(text, pare);
    etiqueta->setObjectName(QString::fromLatin1(nom));
    etiqueta->setGeometry(lloc);
    etiqueta->setFont(lletra);
    etiqueta->setAlignment(alineacio);
    etiqueta->setWordWrap(ajustar);
    return etiqueta;
}

QFrame* Panell(QWidget* pare, const char* nom, QRect lloc) {
    auto* panell = new QFrame(pare);
    panell->setObjectName(QString::fromLatin1(nom));
    panell->setGeometry(lloc);
    panell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panell->setLineWidth(1);
    return panell;
}

const Qt::Alignment kDaltEsquerra = Qt::AlignLeft | Qt::AlignTop;

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    CarregarImatges();
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Parlant de..."));
    setFixedSize(kAmplada, kAlcada);
    setFont(Lletra("System", 13, false));
    setCursor(Qt::PointingHandCursor);

    // The upper panel. The window's hand cursor would pass to every child, so the components that
    // have none of their own get the arrow back.
    Panel1 = Panell(this, "Panel1", QRect(16, 16, 273, 150));
    Panel1->setCursor(Qt::PointingHandCursor);
    ImageOrella = Imatge(Panel1, "ImageOrella", QRect(12, 20, 33, 33), "orella.png", kDaltEsquerra);
    ImageOrdinador = Imatge(Panel1, "ImageOrdinador", QRect(12, 20, 33, 33), "ordinador.png", kDaltEsquerra);
    ImageOrdinador->hide();
    Bevel2 = new QFrame(Panel1);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setGeometry(8, 16, 40, 41);
    Bevel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel2->setLineWidth(1);
    ProductName = Etiqueta(Panel1, "ProductName", QRect(80, 2, 185, 48), QStringLiteral("Tessora"),
                           Lletra("Comic Sans MS", 32, true), Qt::AlignCenter, true);
    PosarColor(ProductName, QPalette::WindowText, kVerd);
    ProductName->setToolTip(QStringLiteral("Pàgina web de Tessora"));
    Version = Etiqueta(Panel1, "Version", QRect(107, 58, 136, 16), QStringLiteral("Versió 18 - 05/01/2004"),
                       Lletra("Comic Sans MS", 11, true), kDaltEsquerra, false);
    PosarColor(Version, QPalette::WindowText, kNegre);
    Comments = Etiqueta(Panel1, "Comments", QRect(16, 94, 233, 52),
                        QStringLiteral("Reconeixement de vocals cantades o parlades, en temps real"),
                        Lletra("Comic Sans MS", 11, true), Qt::AlignRight | Qt::AlignTop, true);
    PosarColor(Comments, QPalette::WindowText, kGris);
    Image4 = Imatge(Panel1, "Image4", QRect(68, 6, 188, 51), "titol.png", kDaltEsquerra);
    for (QWidget* fletxa :
         std::initializer_list<QWidget*>{ImageOrella, ImageOrdinador, Bevel2, Version, Image4})
        fletxa->setCursor(Qt::ArrowCursor);

    OKButton = new QPushButton(QStringLiteral("D'acord"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 352, 77, 27);
    OKButton->setFont(Lletra("MS Sans Serif", 11, true));
    OKButton->setCursor(Qt::ArrowCursor);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    // The lower panel: the four pictures of the cycle, two labels and the memo over everything.
    Panel2 = Panell(this, "Panel2", QRect(16, 180, 273, 161));
    Panel2->setCursor(Qt::ArrowCursor);
    Image1 = Imatge(Panel2, "Image1", QRect(24, 16, 226, 131), "cantant.png", kDaltEsquerra);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->hide();
    Image2 = Imatge(Panel2, "Image2", QRect(24, 16, 226, 131), "ona.png", Qt::AlignCenter);
    Image2->setCursor(Qt::PointingHandCursor);
    ImageInteligencia =
        Imatge(Panel2, "ImageInteligencia", QRect(0, 0, 273, 161), "espectre.png", Qt::AlignCenter);
    ImageInteligencia->hide();
    ImageQuadre = Imatge(Panel2, "ImageQuadre", QRect(8, 8, 257, 145), "quadre.png", Qt::AlignCenter);
    ImageQuadre->hide();
    Label1 = Etiqueta(Panel2, "Label1", QRect(24, 12, 233, 136),
                      QStringLiteral("Digueu o canteu una vocal ben sostinguda, i Tessora us dirà quina és."),
                      Lletra("Comic Sans MS", 19, false), kDaltEsquerra, true);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->hide();
    Label2 = Etiqueta(Panel2, "Label2", QRect(56, 16, 185, 129), QStringLiteral("A  AE  È  É  I  O  U"),
                      Lletra("Comic Sans MS", 27, true), Qt::AlignHCenter | Qt::AlignTop, true);
    PosarColor(Label2, QPalette::WindowText, kBlauMari);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->hide();
    Memo1 = new QPlainTextEdit(Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, 273, 161);
    Memo1->setFont(Lletra("Comic Sans MS", 13, true));
    PosarColor(Memo1, QPalette::Base, kPlata);
    PosarColor(Memo1, QPalette::Text, kNegre);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(
        QStringLiteral("Tessora reconeix en temps real les vocals cantades o parlades.\n"
                       "\n"
                       "D'un bloc de cada emissió, un model LPC en dóna l'envolupant; els pics "
                       "de l'envolupant són els formants.\n"
                       "\n"
                       "El primer formant i la distància fins al segon decideixen la vocal."));
    Memo1->hide();

    Image3 = Imatge(this, "Image3", QRect(70, 2, 172, 338), "gran.png", Qt::AlignCenter);
    Image3->setCursor(Qt::ArrowCursor);
    Image3->setToolTip(QStringLiteral("Feu-hi clic per tornar"));
    Image3->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kIntervalTimer1);
    connect(Timer1, &QTimer::timeout, this, &TAboutBox::Timer1Timer);

    RebreClics(this, &TAboutBox::FormClick);
    RebreClics(Panel1, &TAboutBox::Panel1Click);
    RebreClics(ImageOrella, nullptr);
    RebreClics(ImageOrdinador, nullptr);
    RebreClics(Bevel2, nullptr);
    RebreClics(ProductName, &TAboutBox::ProductNameClick);
    RebreClics(Version, &TAboutBox::VersionClick);
    RebreClics(Comments, &TAboutBox::CommentsClick);
    RebreClics(Image4, &TAboutBox::Image4Click);
    RebreClics(Panel2, &TAboutBox::Panel2Click);
    RebreClics(Image1, &TAboutBox::Image1Click);
    RebreClics(Image2, &TAboutBox::Image2Click);
    RebreClics(ImageInteligencia, &TAboutBox::ImageInteligenciaClick);
    RebreClics(ImageQuadre, &TAboutBox::ImageQuadreClick);
    RebreClics(Label1, &TAboutBox::Label1Click);
    RebreClics(Label2, &TAboutBox::Label2Click);
    RebreClics(Image3, &TAboutBox::Image3Click);

    OKButton->setFocus();
    FormCreate();
}

void TAboutBox::FormCreate() {
    Memo1->setReadOnly(true);
}

void TAboutBox::FormShow() {
    Timer1->start();
}

void TAboutBox::FormClose() {
    Timer1->stop();
}

void TAboutBox::Timer1Timer() {
    for (QLabel* imatge : Cicle()) {
        if (!imatge->isHidden()) {
            AvancarDesDe(imatge);
            break;
        }
    }
    const bool ordinadorAmagat = ImageOrdinador->isHidden();
    ImageOrdinador->setVisible(ordinadorAmagat);
    ImageOrella->setVisible(!ordinadorAmagat);
}

void TAboutBox::FormClick() {
    Memo1->setVisible(Memo1->isHidden());
}

void TAboutBox::Panel2Click() {
    FormClick();
}

void TAboutBox::Panel1Click() {
    MostrarPanells(false);
}

void TAboutBox::Image4Click() {
    MostrarPanells(false);
}

void TAboutBox::VersionClick() {
    MostrarPanells(false);
}

void TAboutBox::Image3Click() {
    MostrarPanells(true);
}

void TAboutBox::Image1Click() {
    AvancarDesDe(Image1);
}

void TAboutBox::ImageInteligenciaClick() {
    AvancarDesDe(ImageInteligencia);
}

void TAboutBox::ImageQuadreClick() {
    AvancarDesDe(ImageQuadre);
}

void TAboutBox::Image2Click() {
    AvancarDesDe(Image2);
}

void TAboutBox::Label1Click() {
    AvancarDesDe(ImageInteligencia);
}

void TAboutBox::Label2Click() {
    AvancarDesDe(ImageQuadre);
}

void TAboutBox::ProductNameClick() {
    QDesktopServices::openUrl(
        QUrl(QString::fromUtf8(kAdrecaWeb.data(), static_cast<qsizetype>(kAdrecaWeb.size()))));
}

void TAboutBox::CommentsClick() {}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return; // the window coming back from the task bar
    CentrarALaPantalla();
    FormShow();
}

void TAboutBox::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) FormClose();
}

bool TAboutBox::eventFilter(QObject* objecte, QEvent* event) {
    const auto clic = clics_.constFind(objecte);
    if (clic == clics_.constEnd()) return QDialog::eventFilter(objecte, event);
    const QEvent::Type tipus = event->type();
    if (tipus != QEvent::MouseButtonPress && tipus != QEvent::MouseButtonDblClick &&
        tipus != QEvent::MouseButtonRelease)
        return false;
    // A click is a left-button release over the component that took the press, except the release that
    // ends a double click. No button event goes on to the parent, so a click on a component never counts
    // as one on the panel or the window beneath.
    const auto* ratoli = static_cast<QMouseEvent*>(event);
    if (ratoli->button() != Qt::LeftButton) return true;
    if (tipus == QEvent::MouseButtonPress) {
        dobleClic_ = false;
    } else if (tipus == QEvent::MouseButtonDblClick) {
        dobleClic_ = true;
    } else {
        const bool clicat =
            !dobleClic_ && static_cast<QWidget*>(objecte)->rect().contains(ratoli->position().toPoint());
        dobleClic_ = false;
        if (clicat && *clic != nullptr) (this->**clic)();
    }
    return true;
}

void TAboutBox::AvancarDesDe(QLabel* imatge) {
    const auto cicle = Cicle();
    for (std::size_t i = 0; i < cicle.size(); ++i) {
        if (cicle[i] == imatge) {
            cicle[i]->hide();
            cicle[(i + 1) % cicle.size()]->show();
            return;
        }
    }
}

void TAboutBox::MostrarPanells(bool mostrar) {
    Panel1->setVisible(mostrar);
    Panel2->setVisible(mostrar);
    Image3->setVisible(!mostrar);
}

void TAboutBox::CentrarALaPantalla() {
    const QScreen* pantalla = screen();
    if (pantalla == nullptr) return;
    QRect marc = frameGeometry();
    marc.moveCenter(pantalla->availableGeometry().center());
    move(marc.topLeft());
}

void TAboutBox::RebreClics(QWidget* component, Gestor gestor) {
    clics_.insert(component, gestor);
    component->installEventFilter(this);
}

} // namespace tessora
