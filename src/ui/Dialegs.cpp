#include "Dialegs.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace tessora {

std::optional<QString> Dialegs::DemanarNomDesar(QWidget* pare, const QString& filtre) {
    const QString nom = QFileDialog::getSaveFileName(pare, QString(), QString(), filtre);
    if (nom.isEmpty()) return std::nullopt;
    return nom;
}

void Dialegs::Informar(QWidget* pare, const QString& titol, const QString& text) {
    QMessageBox caixa(QMessageBox::NoIcon, titol, text, QMessageBox::Ok, pare);
    caixa.exec();
}

void Dialegs::Error(QWidget* pare, const QString& titol, const QString& text) {
    QMessageBox caixa(QMessageBox::Critical, titol, text, QMessageBox::Ok, pare);
    caixa.exec();
}

bool Dialegs::IniciarPrograma(const QString& programa, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(programa).isEmpty()) return false;
    return QProcess::startDetached(programa, arguments);
}

int Dialegs::ExecutarPrograma(const QString& programa, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(programa).isEmpty()) return -1;
    QProcess proces;
    proces.start(programa, arguments);
    if (!proces.waitForFinished(3000)) {
        proces.kill();
        proces.waitForFinished(1000);
        return -1;
    }
    return proces.exitStatus() == QProcess::NormalExit ? proces.exitCode() : -1;
}

void EsperarMilisegons(int ms) {
    QEventLoop bucle;
    QTimer::singleShot(ms, Qt::PreciseTimer, &bucle, &QEventLoop::quit);
    bucle.exec();
}

} // namespace tessora
