#include "Dialegs.h"

#include "EinesFinestra.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>

namespace tessora {

namespace {

// Characters of a word after which a message may break it.
constexpr int kCaractersSenseSalt = 30;

// A message's label breaks lines only between words (and after a '/'); a long file name has none, and
// would be cut at the window's edge. It gets a zero-width space every so many characters, so it shows
// whole, on as many lines as it needs.
QString Partible(const QString& text) {
    QString partit;
    int seguits = 0;
    for (const QChar c : text) {
        if (c.isSpace() || c == QLatin1Char('/'))
            seguits = 0;
        else if (++seguits > kCaractersSenseSalt) {
            partit += QChar(0x200B);
            seguits = 1;
        }
        partit += c;
    }
    return partit;
}

} // namespace

std::optional<QString> Dialegs::DemanarNomDesar(QWidget* pare, const QString& filtre,
                                                const std::function<QStringList(const QString&)>& fitxers) {
    if (tancant_) return std::nullopt;
    QFileDialog dialeg(pare, QString(), QString(), filtre);
    dialeg.setAcceptMode(QFileDialog::AcceptSave);
    dialeg.setFileMode(QFileDialog::AnyFile);
    // The dialog would ask about the name as typed; the question is about the files that are written.
    dialeg.setOption(QFileDialog::DontConfirmOverwrite);
    // A close while the dialog or its question is open cancels it, and it is not shown again.
    while (!tancant_ && dialeg.exec() == QDialog::Accepted && !tancant_) {
        const QStringList triats = dialeg.selectedFiles();
        if (triats.isEmpty() || triats.first().isEmpty()) return std::nullopt;
        const QStringList escrits = fitxers(triats.first());
        QStringList existents;
        for (const QString& fitxer : escrits) // a folder is not replaced: the write says so
            if (const QFileInfo info(fitxer); info.exists() && !info.isDir()) existents << info.fileName();
        if (existents.isEmpty()) return escrits.first();
        const QString pregunta =
            existents.size() == 1
                ? QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(existents.first())
                : T(idioma_, IdText::SubstituirFitxers).arg(existents.join(QLatin1Char('\n')));
        if (QMessageBox::warning(&dialeg, dialeg.windowTitle(), pregunta, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes)
            return tancant_ ? std::nullopt : std::optional<QString>(escrits.first());
        dialeg.selectFile(QFileInfo(triats.first()).fileName());
    }
    return std::nullopt;
}

void Dialegs::Informar(QWidget* pare, const QString& titol, const QString& text) {
    if (tancant_) return;
    QMessageBox caixa(QMessageBox::NoIcon, titol, Partible(text), QMessageBox::Ok, pare);
    caixa.exec();
}

void Dialegs::Error(QWidget* pare, const QString& titol, const QString& text) {
    if (tancant_) {
        qWarning().noquote() << titol + QStringLiteral(": ") + text;
        return;
    }
    QMessageBox caixa(QMessageBox::Critical, titol, Partible(text), QMessageBox::Ok, pare);
    caixa.exec();
}

bool Dialegs::Preguntar(QWidget* pare, const QString& titol, const QString& text) {
    if (tancant_) return false;
    return QMessageBox::question(pare, titol, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void Dialegs::TancarOberts() {
    tancant_ = true;
    for (QWidget* finestra : QApplication::topLevelWidgets()) {
        if (!finestra->isVisible() || !finestra->isModal()) continue;
        if (auto* dialeg = qobject_cast<QDialog*>(finestra))
            dialeg->reject();
        else
            finestra->close();
    }
}

std::optional<qint64> Dialegs::IniciarPrograma(const QString& programa, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(programa).isEmpty()) return std::nullopt;
    qint64 pid = 0;
    if (!QProcess::startDetached(programa, arguments, QString(), &pid)) return std::nullopt;
    return pid;
}

bool Dialegs::ProgramaViu(qint64 pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

void Dialegs::ActivarPrograma(qint64 pid) {
    // "wmctrl -l -p" lists one window a line: its id, desktop, process id, machine and title.
    const std::optional<QString> finestres =
        SortidaPrograma(QStringLiteral("wmctrl"), {QStringLiteral("-l"), QStringLiteral("-p")});
    if (!finestres) return;
    for (const QString& linia : finestres->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList camps = linia.simplified().split(QLatin1Char(' '));
        if (camps.size() >= 3 && camps[2] == QString::number(pid))
            ExecutarPrograma(QStringLiteral("wmctrl"),
                             {QStringLiteral("-i"), QStringLiteral("-a"), camps[0]});
    }
}

std::optional<QString> Dialegs::SortidaPrograma(const QString& programa, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(programa).isEmpty()) return std::nullopt;
    QProcess proces;
    proces.start(programa, arguments);
    if (!proces.waitForFinished(3000)) {
        proces.kill();
        proces.waitForFinished(1000);
        return std::nullopt;
    }
    if (proces.exitStatus() != QProcess::NormalExit || proces.exitCode() != 0) return std::nullopt;
    return QString::fromLocal8Bit(proces.readAllStandardOutput());
}

int Dialegs::ExecutarPrograma(const QString& programa, const QStringList& arguments) {
    return SortidaPrograma(programa, arguments) ? 0 : -1;
}

bool Dialegs::ObrirEnllac(const QUrl& enllac) {
    return QDesktopServices::openUrl(enllac);
}

void EsperarMilisegons(int ms) {
    QEventLoop bucle;
    QTimer::singleShot(ms, Qt::PreciseTimer, &bucle, &QEventLoop::quit);
    bucle.exec();
}

} // namespace tessora
