#include "UnitFormProgres.h"

#include "DibuixProgres.h"
#include "EinesFinestra.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace tessora {

namespace {

// The picture, drawn afresh at each paint from the runs last read.
class ClientProgres : public QWidget {
public:
    ClientProgres(QWidget* pare, const std::vector<CursaDiari>& curses, const Idioma& idioma)
        : QWidget(pare), curses_(curses), idioma_(idioma) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        DibuixarProgres(p, size(), curses_, idioma_);
    }

private:
    const std::vector<CursaDiari>& curses_;
    const Idioma& idioma_;
};

// What the person reads of a journal that could not be read, or was set aside.
QString TextDiari(Idioma idioma, const ResultatDiari& resultat) {
    if (resultat.Estat == EstatDiari::Apartat)
        return T(idioma, IdText::DiariApartat) + Q(resultat.Apartat.string());
    return T(idioma, IdText::ErrorLlegirDiari) + Q(resultat.Detall);
}

} // namespace

TFormProgres::TFormProgres(Diari& diari, Idioma idioma, const std::string& parlant, QWidget* parent)
    : QWidget(parent, Qt::Window), diari_(diari), idioma_(idioma) {
    setObjectName(QStringLiteral("FormProgres"));
    PosarLletraFinestra(*this);
    LabelParlant = new QLabel(this);
    LabelParlant->setObjectName(QStringLiteral("LabelParlant"));
    ComboParlant = new QComboBox(this);
    ComboParlant->setObjectName(QStringLiteral("ComboParlant"));
    ComboParlant->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    LabelParlant->setBuddy(ComboParlant);
    connect(ComboParlant, &QComboBox::currentIndexChanged, this, &TFormProgres::ComboParlantChange);
    LabelError = new QLabel(this);
    LabelError->setObjectName(QStringLiteral("LabelError"));
    LabelError->setWordWrap(true);
    LabelError->hide();
    Client = new ClientProgres(this, curses_, idioma_);
    Client->setObjectName(QStringLiteral("ClientProgres"));
    Client->setMinimumSize(600, 440);
    auto* fila = new QHBoxLayout;
    fila->addWidget(LabelParlant);
    fila->addWidget(ComboParlant);
    fila->addStretch(1);
    auto* capsa = new QVBoxLayout(this);
    capsa->setContentsMargins(4, 4, 4, 4);
    capsa->addLayout(fila);
    capsa->addWidget(LabelError);
    capsa->addWidget(Client, 1);
    resize(860, 640);
    Mostrar(parlant, idioma);
}

void TFormProgres::AplicarTexts() {
    setWindowTitle(T(idioma_, IdText::TitolProgres));
    LabelParlant->setText(T(idioma_, IdText::EtiquetaParlant));
    ComboParlant->setAccessibleName(T(idioma_, IdText::NomParlant));
    ComboParlant->view()->setAccessibleName(ComboParlant->accessibleName()); // its list of names
    Client->setAccessibleName(T(idioma_, IdText::TitolProgres));
    if (ComboParlant->count() > 0) ComboParlant->setItemText(0, T(idioma_, IdText::ParlantAnonim));
}

void TFormProgres::Mostrar(const std::string& parlant, Idioma idioma) {
    idioma_ = idioma;
    ResultatDiari resultat;
    std::vector<std::string> noms = diari_.Parlants(&resultat);
    if (!parlant.empty() && !std::binary_search(noms.begin(), noms.end(), parlant))
        noms.insert(std::upper_bound(noms.begin(), noms.end(), parlant), parlant);
    {
        const QSignalBlocker bloqueig(ComboParlant);
        ComboParlant->clear();
        ComboParlant->addItem(QString(), QString());
        for (const std::string& nom : noms)
            ComboParlant->addItem(Q(nom), Q(nom));
        ComboParlant->setCurrentIndex(ComboParlant->findData(Q(parlant)));
    }
    AplicarTexts();
    Llegir(resultat);
}

std::string TFormProgres::Parlant() const {
    return ComboParlant->currentData().toString().toStdString();
}

void TFormProgres::ComboParlantChange() {
    Llegir({});
}

void TFormProgres::Llegir(ResultatDiari avis) {
    ResultatDiari resultat;
    curses_ = diari_.Curses({Parlant(), idioma_ == Idioma::Castella}, &resultat);
    if (avis.Correcte()) avis = resultat;
    LabelError->setVisible(!avis.Correcte());
    if (!avis.Correcte()) LabelError->setText(TextDiari(idioma_, avis));
    Client->update();
}

} // namespace tessora
