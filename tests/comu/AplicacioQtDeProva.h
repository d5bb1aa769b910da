// The Qt application of the window tests: the offscreen platform unless another is asked for, the
// windows' controls by name, and a way to act on a modal window (a message, a file dialog, the About box)
// from inside its own loop.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <exception>
#include <functional>

namespace tessora::proves {

// The control of `finestra` under its design name; the test stops when there is none.
template <class Control>
Control* Fill(const QObject* finestra, const char* nom) {
    auto* control = finestra->findChild<Control*>(QLatin1String(nom));
    if (control == nullptr) qFatal("no control %s", nom);
    return control;
}

// Runs `accio` on the next modal window, once it is shown, as a person would.
inline void QuanSObriUnModal(std::function<void(QWidget*)> accio) {
    auto* rellotge = new QTimer;
    rellotge->setInterval(10);
    QObject::connect(rellotge, &QTimer::timeout, [rellotge, accio = std::move(accio)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        rellotge->stop();
        rellotge->deleteLater();
        accio(modal);
    });
    rellotge->start();
}

} // namespace tessora::proves

// QTEST_MAIN on the offscreen platform; an exception that escapes the tests fails them with its message.
#define TESSORA_QTEST_MAIN(Classe)                                                                           \
    int main(int argc, char** argv) try {                                                                    \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");         \
        QApplication aplicacio(argc, argv);                                                                  \
        Classe prova;                                                                                        \
        return QTest::qExec(&prova, argc, argv);                                                             \
    } catch (const std::exception& e) {                                                                      \
        qCritical("%s", e.what());                                                                           \
        return 1;                                                                                            \
    }
