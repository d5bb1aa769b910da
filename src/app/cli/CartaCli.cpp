#include "CartaCli.h"

#include "SessioCli.h"
#include "SubstitucioFitxer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QSvgGenerator>

#include <ostream>

namespace tessora {

namespace {

bool AcabaEn(const std::string& nom, const char* extensio) {
    return QString::fromStdString(nom).endsWith(QLatin1String(extensio), Qt::CaseInsensitive);
}

} // namespace

std::string ComprovarNomCarta(const std::string& fitxer) {
    if (AcabaEn(fitxer, ".svg") || AcabaEn(fitxer, ".png")) return {};
    return "the chart's file name must end in .svg or .png";
}

int DesarCarta(const std::string& fitxer, const CartaVocals& carta, const OpcionsDibuixCarta& opcions,
               std::ostream& errors) {
    // Text needs a graphical application; the offscreen platform asks nothing of any display. Its notes
    // (no runtime folder, say) are no business of the person reading our lines. Made once, it lives
    // until the process ends: Qt cannot make a second one after the first has gone.
    if (QCoreApplication::instance() == nullptr) {
        const QtMessageHandler anterior =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        static int argc = 3;
        static char arg0[] = "tessora-cli", arg1[] = "-platform", arg2[] = "offscreen";
        static char* argv[] = {arg0, arg1, arg2, nullptr};
        static QGuiApplication* aplicacio = new QGuiApplication(argc, argv);
        (void)aplicacio;
        qInstallMessageHandler(anterior);
    }

    // An application made elsewhere without the graphical part cannot give the fonts.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        errors << kNomPrograma << ": " << fitxer
               << ": the chart cannot be drawn without a graphical application\n";
        return 1;
    }

    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    if (AcabaEn(fitxer, ".svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&bytes);
        svg.setSize(kMidaImatgeCarta);
        svg.setViewBox(QRect(QPoint(0, 0), kMidaImatgeCarta));
        svg.setTitle(QString::fromStdString(Text(opcions.Llengua, IdText::TitolCarta)));
        QPainter pintor(&svg);
        DibuixarCarta(pintor, kMidaImatgeCarta, carta, opcions);
    } else {
        bytes.write(ImatgePng(kMidaImatgeCarta,
                              [&](QPainter& p) { DibuixarCarta(p, kMidaImatgeCarta, carta, opcions); }));
    }

    const QByteArray& dades = bytes.data();
    int error = 0;
    if (SubstituirFitxer(fitxer, std::string_view(dades.constData(), static_cast<std::size_t>(dades.size())),
                         false, &error))
        return 0;
    InformarFitxer(errors, opcions.Llengua, IdText::TextNoEsPotCrear, fitxer, DescripcioError(error));
    return 1;
}

} // namespace tessora
