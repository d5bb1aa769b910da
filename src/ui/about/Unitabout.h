// The About window, "Parlant de...": the program's name, version and a remark in the upper panel, and a
// set of pictures in the lower one that change every 3.5 seconds while the window is shown.
//
// Every component sits at a fixed place in a client area of 305 x 385 pixels; there are no layouts. The
// start-up splash shows the window without its button row: it hides OKButton, shortens the window with
// setFixedHeight(height() - 28), shows it, stops Timer1, and afterwards hides it and puts back the height
// and the button.
//
// Visibility below always means a component's own flag (QWidget::isHidden), which holds whether or not
// the window itself is shown. The picture cycle, the small icon, the memo and the panels-or-big-picture
// choice keep their state from one showing to the next.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <array>

namespace tessora {

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The components, owned by the window. Geometries are (left, top, width, height) in the parent.
    QFrame* Panel1;            // 16, 16, 273, 150 in the window
    QLabel* ImageOrella;       // 12, 20, 33, 33: the ear, shown at first
    QLabel* ImageOrdinador;    // same place: the computer, hidden at first
    QFrame* Bevel2;            // 8, 16, 40, 41: raised frame around the small icon
    QLabel* ProductName;       // 80, 2, 185, 48: opens the maker's web address
    QLabel* Version;           // 107, 58, 136, 16
    QLabel* Comments;          // 16, 94, 233, 52
    QLabel* Image4;            // 68, 6, 188, 51: over the name, transparent around its drawing
    QPushButton* OKButton;     // 111, 352, 77, 27 in the window: closes it with QDialog::Accepted
    QFrame* Panel2;            // 16, 180, 273, 161 in the window
    QLabel* Image1;            // 24, 16, 226, 131: cycle picture, hidden at first
    QLabel* Image2;            // 24, 16, 226, 131: cycle picture, shown at first
    QLabel* ImageInteligencia; // 0, 0, 273, 161: cycle picture, hidden at first
    QLabel* ImageQuadre;       // 8, 8, 257, 145: cycle picture, hidden at first
    QLabel* Label1;            // 24, 12, 233, 136: never shown
    QLabel* Label2;            // 56, 16, 185, 129: never shown
    QPlainTextEdit* Memo1;     // 0, 0, 273, 161: read-only texts over the whole lower panel, hidden
    QLabel* Image3;            // 70, 2, 172, 338 in the window: shown instead of both panels, hidden
    QTimer* Timer1;            // 3500 ms; runs only while the window is shown

    // The pictures of the cycle, in its order; after the last comes the first again.
    std::array<QLabel*, 4> Cicle() const { return {Image1, ImageInteligencia, ImageQuadre, Image2}; }

public slots:
    void FormCreate(); // makes Memo1 read-only; run by the constructor
    void FormShow();   // starts Timer1
    void FormClose();  // stops Timer1
    // One beat: the cycle moves on from its first visible picture (none visible: it stays as it is),
    // and the ear and the computer swap places.
    void Timer1Timer();
    void FormClick();    // toggles Memo1
    void Panel2Click();  // toggles Memo1
    void Panel1Click();  // both panels give way to Image3
    void Image4Click();  // as Panel1Click
    void VersionClick(); // as Panel1Click
    void Image3Click();  // Image3 gives way to both panels
    // A click on a picture of the cycle moves the cycle on from that picture.
    void Image1Click();
    void ImageInteligenciaClick();
    void ImageQuadreClick();
    void Image2Click();
    void Label1Click(); // as ImageInteligenciaClick
    void Label2Click(); // as ImageQuadreClick
    // Ask the system to open the maker's web address; whether it could is not our concern.
    void ProductNameClick();
    void CommentsClick(); // nothing: the remark only takes the click from the panel beneath

protected:
    // Shown: centred on the screen, then FormShow. Hidden by any means (OKButton, close, Escape,
    // hide): FormClose.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* objecte, QEvent* event) override;

private:
    using Gestor = void (TAboutBox::*)();
    void AvancarDesDe(QLabel* imatge);
    void MostrarPanells(bool mostrar);
    void CentrarALaPantalla();
    // Clicks on the window's background and on its components: each goes to its handler, or nowhere
    // (a null handler), and never on to the parent.
    void RebreClics(QWidget* component, Gestor gestor);

    QHash<QObject*, Gestor> clics_;
    bool dobleClic_ = false; // the last press was the second of a double click
};

} // namespace tessora
