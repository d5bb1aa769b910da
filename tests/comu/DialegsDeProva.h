// The windows' dialogs with the person's answers given by the test, and what was asked kept. With
// `Reals`, the file dialog and the messages are the real ones (a test then answers them itself).
#pragma once

#include "Dialegs.h"

namespace tessora::proves {

class DialegsDeProva final : public Dialegs {
public:
    std::optional<QString>
    DemanarNomDesar(QWidget* pare, const QString& filtre,
                    const std::function<QStringList(const QString&)>& fitxers) override {
        Filtre = filtre;
        if (Reals) return Dialegs::DemanarNomDesar(pare, filtre, fitxers);
        if (NomsDesar.isEmpty()) return std::nullopt;
        return fitxers(NomsDesar.takeFirst()).first();
    }
    bool Preguntar(QWidget*, const QString&, const QString& text) override {
        Preguntes << text;
        return RespostaSi;
    }
    bool ObrirEnllac(const QUrl& enllac) override {
        Enllacos << enllac.toString();
        return EnllacObert;
    }
    void Informar(QWidget* pare, const QString& titol, const QString& text) override {
        Informacions << titol + QStringLiteral("|") + text;
        if (Reals) Dialegs::Informar(pare, titol, text);
    }
    void Error(QWidget*, const QString& titol, const QString& text) override {
        Errors << titol + QStringLiteral("|") + text;
    }
    std::optional<qint64> IniciarPrograma(const QString& programa, const QStringList& arguments) override {
        Iniciats << programa + QStringLiteral(" ") + arguments.join(QLatin1Char(' '));
        return ProgramaInstallat ? std::optional<qint64>(4321) : std::nullopt;
    }
    bool ProgramaViu(qint64) override { return Viu; }
    void ActivarPrograma(qint64 pid) override { Activats << pid; }
    int ExecutarPrograma(const QString& programa, const QStringList& arguments) override {
        Executats << programa + QStringLiteral(" ") + arguments.join(QLatin1Char(' '));
        return ResultatExecutar;
    }

    bool Reals = false;
    QStringList NomsDesar; // answered in turn; cancelled once they run out
    QString Filtre;
    QStringList Informacions, Errors, Iniciats, Executats, Preguntes, Enllacos;
    bool RespostaSi = false;
    bool EnllacObert = true;
    QList<qint64> Activats;
    bool ProgramaInstallat = true;
    bool Viu = true;
    int ResultatExecutar = -1;
};

} // namespace tessora::proves
