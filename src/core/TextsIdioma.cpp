#include "TextsIdioma.h"

#include "Fabricant.h"

#include <array>
#include <cstdlib>

namespace tessora {

namespace {

struct FilaText {
    IdText Id;
    std::string Catala;
    std::string Castella;
};

std::string AmbAdrecaWeb(std::string_view titol) {
    return std::string(titol) + " - " + std::string(kAdrecaWeb);
}

using Taula = std::array<FilaText, kNombreTexts>;

constexpr const char* kInstruccionsCorreu =
    "Para ello abrir programa de correo (Outlook por ejemplo) pulsando el botón \"Abrir programa de correo "
    "electrònico\" y adjuntar los dos archivos mencionados.";
constexpr const char* kCorreuManual =
    "Si no arranca automàticamente el programa de correo mediante dicho botón, "
    "crear el mensaje manualmente con el programa de correo.";

// In the order of IdText; Fila() checks it once.
Taula FerTaula() {
    using enum IdText;
    return {{
        {MenuLlenguaInicial, "Llengua", "Llengua"},
        {MenuLlengua, "&Llengua", "&Lenguaje"},
        {MenuFitxer, "&Fitxer", "&Archivo"},
        {MenuCatala, "Català", "Català"},
        {MenuCastellano, "Castellano", "Castellano"},
        {MenuGuardar, "&Guardar", "&Guardar"},
        {MenuExperimentar, "&Experimentar", "&Experimentar"},
        {MenuSortir, "&Sortir", "&Salir"},
        {MenuEngegarParar, "&Engegar/Parar", "&Empezar/Parar"},
        {MenuGrafics, "&Gràfics", "&Gráficos"},
        {MenuParlant, "P&arlant de...", "Acerca &de..."},
        {MenuControlDeVolumen, "Control de volumen del micròfon...", "Control de volumen del micrófono..."},
        {CheckBoxVeuAguda, "Veu aguda", "Voz aguda"},
        {LabelVocals, "A - AE - È - É - I - O - U", "A - E - I - O - U"},
        {HintGuardar, "Guardar so a disc", "Guardar so a disc"},
        {ParlantBarraNormal, "&Parlant de...", "&Acerca &de..."},
        {ParlantBarraExperimentador, "&Parlant de...", "Acerca &de..."},
        {TitolPrincipal, AmbAdrecaWeb(kTitolAplicacio), AmbAdrecaWeb(kTitolAplicacio)},
        {AvisSaturacio, "Sisplau BAIXEU el volum del micròfon", "Por favor BAJAR el volumen del micrófono"},
        {TitolDiguesParaula, "Digues la vocal:", "Di la vocal:"},
        {TitolExperimentacio, AmbAdrecaWeb("Tessora - Mòdul d'experimentació - Projecte Nivara 2003"),
         AmbAdrecaWeb("Tessora - Módulo de experimentación - Projecte Nivara 2003")},
        {ExperimentacioMenuFitxer, "&Fitxer", "&Archivo"},
        {ExperimentacioMenuExperimentar, "&Experimentar", "&Experimentar"},
        {ExperimentacioMenuCopiar, "Copiar a la carpeta els &resultats",
         "Copiar al portapalpeles los &resultados"},
        {ExperimentacioMenuParar, "&Parar", "&Parar"},
        {TitolFFT, "FFT", "FFT"},
        {Opcions1, "Opcions", "Opcions"},
        {MenuVeureLPC, "Veure LPC", "Veure LPC"},
        {MenuVeureMarquesLPC, "Veure marques LPC", "Veure marques LPC"},
        {MenuVeureFFT, "Veure FFT", "Veure FFT"},
        {MenuNormalitzarFFT, "Normalitzar FFT", "Normalitzar FFT"},
        {MenuPreemfasis, "Preemfasis", "Preemfasis"},
        {MenuFFTEscalaAdaptadaALOida, "Adaptada a l'&oïda", "Adaptada a l'&oïda"},
        {MenuNoRepintar, "No Repintar", "No Repintar"},
        {MenuReconeixementContinu, "Reconeixement continu", "Reconeixement continu"},
        {HintUnitatX, "Valor unitat eix X", "Valor unitat eix X"},
        {HintUnitatY, "Valor unitat eix Y", "Valor unitat eix Y"},
        {HintLletra, "Vocal a comparar", "Vocal a comparar"},
        {HintQuoeficientsLPC, "Número de quoeficients LPC", "Número de quoeficients LPC"},
        {HintFrequenciaMinima, "Frequència mínima a tenir en compte", "Frequència mínima a tenir en compte"},
        {FiltreSo, "Archivos de sonido (*.wav)", "Archivos de sonido (*.wav)"},
        {NomDelFitxer, "Nombre del fichero: ", "Nombre del fichero: "},
        {SenseControlVolum, "No hi ha cap control de volum instal·lat (pavucontrol).",
         "No hay ningún control de volumen instalado (pavucontrol)."},
        {TitolMemoria, "Mirvane - ERROR", "Mirvane - ERROR"},
        {MemoriaInsuficient, "Memoria insuficiente", "Memoria insuficiente"},
        {TitolErrorEntrada, "Valor màxim detectat en el micròfon", "Valor màxim detectat en el micròfon"},
        {ErrorObrirEntrada, "NO puc obrir els dispositiu d'entrada", "NO puc obrir els dispositiu d'entrada"},
        {EntradaPerduda, "S'ha perdut el dispositiu d'entrada", "Se ha perdido el dispositivo de entrada"},
        {TitolErrorWav, "ERROR", "ERROR"},
        {WavNoEsPotCrear, "Imposible crear el archivo indicado", "Imposible crear el archivo indicado"},
        {WavErrorAvis, "Se produce un error durante el proceso de escritura",
         "Se produce un error durante el proceso de escritura"},
        {WavErrorFormat, "Se produce un error durante el proceso de escritura del TPCMFormato",
         "Se produce un error durante el proceso de escritura del TPCMFormato"},
        {WavErrorDades, "Se produce un error durante el proceso de escritura",
         "Se produce un error durante el proceso de escritura"},
        {GridSurt, "Surt", "Surt"},
        {GridTotal, "total", "total"},
        {GridEncerts, "encerts", "encerts"},
        {GridPercentEncerts, "% enc.", "% enc."},
        {GridError, "Error", "Error"},
        {GridNum, "Núm.", "Núm."},
        {GridFreq, "Freq.", "Freq."},
        {GridF1, "F1", "F1"},
        {GridMigLPC, "MigLPC", "MigLPC"},
        {GridS2F, "S2F", "S2F"},
        {GridAF1, "AF1", "AF1"},
        {GridSituacio, "Situació", "Situació"},
        {TextNoEsPotCrear, "No es pot crear el fitxer ", "No se puede crear el archivo "},
        {TitolCarta, "Carta de vocals", "Carta de vocales"},
        {MenuCarta, "&Carta de vocals", "&Carta de vocales"},
        {BotoBuidarCarta, "&Esborrar", "&Borrar"},
        {EixF1Carta, "F1 (Hz)", "F1 (Hz)"},
        {EixF2Carta, "F2 (Hz)", "F2 (Hz)"},
        {TabErrors, "Errors", "Errors"},
        {TabDiferencies, "Diferències", "Diferències"},
        {LlegendaEncerts, "Encerts", "Aciertos"},
        {LlegendaErrors, "Errors", "Errores"},
        {TitolEmail, "Por favor enviar a " + std::string(kAdrecaCorreu),
         "Por favor enviar a " + std::string(kAdrecaCorreu)},
        {BotoObrirCorreu, "Abrir programa de correo electrónico", "Abrir programa de correo electrónico"},
        {BotoTancarCorreu, "Cerrar", "Cerrar"},
        {CorreuEnviar,
         "Por favor enviar los dos siguientes archivos:", "Por favor enviar los dos siguientes archivos:"},
        {CorreuAdreca, "A la siguiente dirección:", "A la siguiente dirección:"},
        {CorreuInstruccions, kInstruccionsCorreu, kInstruccionsCorreu},
        {CorreuManual, kCorreuManual, kCorreuManual},
        {CorreuGracies, "Muchas gracias por su colaboración en la mejora de este programa.",
         "Muchas gracias por su colaboración en la mejora de este programa."},
        {CorreuSignatura, AmbAdrecaWeb("Tessora - Projecte Nivara 2003"),
         AmbAdrecaWeb("Tessora - Projecte Nivara 2003")},
        {CapturaAturada, "La captura s'atura i desa el que s'ha escoltat fins aquí al fitxer ",
         "La captura se detiene y guarda lo escuchado hasta aquí en el archivo "},
        {LimitWav, "el límit de 4 GiB del format WAV", "el límite de 4 GiB del formato WAV"},
        {BlocsPerduts,
         "Blocs de so perduts per sobrecàrrega: ", "Bloques de sonido perdidos por sobrecarga: "},
        {LecturaInterrompuda, "No es pot llegir més el fitxer ", "No se puede leer más el archivo "},
        {DescartarResultats, "Descartar els resultats?", "¿Descartar los resultados?"},
        {ExportacioAltreNom, "Els resultats es conserven: trieu un altre nom.",
         "Los resultados se conservan: elija otro nombre."},
        {SubstituirFitxers, "Aquests fitxers ja existeixen:\n%1\nVoleu substituir-los?",
         "Estos archivos ya existen:\n%1\n¿Desea reemplazarlos?"},
        {ExperimentsDesats,
         "El programa es va tancar amb un experiment sense exportar, i el va desar en aquests fitxers:",
         "El programa se cerró con un experimento sin exportar, y lo guardó en estos archivos:"},
        {CorreuNoArrenca,
         "No s'ha pogut obrir el programa de correu. Creeu el missatge amb el vostre programa de correu i "
         "adjunteu-hi els fitxers.",
         "No se ha podido abrir el programa de correo. Cree el mensaje con su programa de correo y adjunte "
         "los archivos."},
        {BotoEngegar, "E", "E"},
        {BotoParar, "P", "P"},
        {HintBotoInicial, "Botó engegar/parar. Fa el mateix que el menú Engegar",
         "Botó engegar/parar. Fa el mateix que el menú Engegar"},
        {HintBotoEngegar, "Engegar", "Engegar"},
        {HintBotoParar, "Parar", "Parar"},
        {AvaluacioSenseResposta, "sense resposta", "sin respuesta"},
        {AvaluacioInsercions, "insercions", "inserciones"},
        {AvaluacioNoPuntuats, "no puntuats", "no puntuados"},
        {AvaluacioEtiquetaBuida, "etiqueta buida", "etiqueta vacía"},
        {AvaluacioEtiquetaDesconeguda, "etiqueta desconeguda", "etiqueta desconocida"},
        {TitolSessio, "Sessió", "Sesión"},
        {MenuSessio, "Sess&ió...", "Ses&ión..."},
        {MenuDesarSessio, "&Desa la sessió...", "Guardar la sesió&n..."},
        {BotoCongelar, "Congela", "Congelar"},
        {BotoContinuar, "Continua", "Continuar"},
        {EscalaTotaSessio, "Tota la sessió", "Toda la sesión"},
        {HintEscala, "Temps que es veu", "Tiempo que se ve"},
        {BotoModel, "Model", "Modelo"},
        {BotoBuidarModels, "Esborra els models", "Borrar los modelos"},
        {CheckAuriculars, "Auriculars", "Auriculares"},
        {HintSessio,
         "Clic en una emissió: la tria i l'escolta. Espai: congela o continua. Amb la imatge congelada, "
         "roda o fletxes esquerra/dreta: endarrere i endavant. Fletxes amunt/avall: emissió anterior o "
         "següent. Ctrl+roda o +/-: escala del temps. Esc: cap emissió triada.",
         "Clic en una emisión: la elige y la escucha. Espacio: congela o continúa. Con la imagen "
         "congelada, rueda o flechas izquierda/derecha: atrás y adelante. Flechas arriba/abajo: emisión "
         "anterior o siguiente. Ctrl+rueda o +/-: escala del tiempo. Esc: ninguna emisión elegida."},
        {Reproduint, "Reproduint: mentrestant el micròfon no s'escolta.",
         "Reproduciendo: mientras tanto el micrófono no se escucha."},
        {ReproduintAuriculars, "Reproduint amb auriculars: el micròfon se segueix escoltant.",
         "Reproduciendo con auriculares: el micrófono se sigue escuchando."},
        {ErrorReproduir, "No es pot reproduir el so. Codi: ", "No se puede reproducir el sonido. Código: "},
        {ErrorModels, "No es poden desar els models: ", "No se pueden guardar los modelos: "},
        {ErrorDesarSessio, "No s'ha pogut desar la sessió al fitxer ",
         "No se ha podido guardar la sesión en el archivo "},
        {NotaDo, "Do", "Do"},
        {NotaLa, "La", "La"},
        // The vowel charts' models.
        {DistanciaModel, "%1 Bark", "%1 Bark"},
        // The experiment's journal.
        {EtiquetaParlant, "&Parlant:", "&Hablante:"},
        {NomParlant, "Parlant", "Hablante"},
        {TitolDiari, "Diari d'experiments", "Diario de experimentos"},
        {DiariOcupat,
         "Un altre Tessora té el diari d'experiments ocupat. Les tandes es guarden en memòria i s'hi "
         "desaran més tard.",
         "Otro Tessora tiene el diario de experimentos ocupado. Las tandas se guardan en memoria y se "
         "guardarán en él más tarde."},
        {DiariPle,
         "El disc és ple. Les tandes es guarden en memòria i es desaran al diari d'experiments més tard.",
         "El disco está lleno. Las tandas se guardan en memoria y se guardarán en el diario de experimentos "
         "más tarde."},
        {DiariNomesLectura,
         "No es pot escriure al diari d'experiments (carpeta o fitxer només de lectura). Les tandes es "
         "guarden en memòria i s'hi desaran més tard.",
         "No se puede escribir en el diario de experimentos (carpeta o archivo de solo lectura). Las tandas "
         "se guardan en memoria y se guardarán en él más tarde."},
        {DiariApartat,
         "El diari d'experiments no es podia llegir: s'ha apartat, sense esborrar-lo, i se n'ha començat un "
         "de nou. L'antic és a ",
         "El diario de experimentos no se podía leer: se ha apartado, sin borrarlo, y se ha empezado uno "
         "nuevo. El antiguo está en "},
        {DiariNoObert,
         "No s'ha pogut obrir el diari d'experiments. Les tandes es guarden en memòria i s'hi desaran quan "
         "es pugui.",
         "No se ha podido abrir el diario de experimentos. Las tandas se guardan en memoria y se guardarán "
         "en él cuando se pueda."},
        {DiariDesatTard, "Les tandes que esperaven ja són al diari d'experiments.",
         "Las tandas que esperaban ya están en el diario de experimentos."},
        {DiariPendentsTancament, "Tandes que no s'han pogut desar al diari d'experiments: ",
         "Tandas que no se han podido guardar en el diario de experimentos: "},
        // A speaker's progress across runs.
        {TitolProgres, "Progrés", "Progreso"},
        {ParlantAnonim, "(anònim)", "(anónimo)"},
        {EixEncertsProgres, "% encerts", "% aciertos"},
        {TotalProgres, "Total", "Total"},
        {PrimeraCursa, "Primera sèrie: %1", "Primera serie: %1"},
        {DarreraCursa, "Darrera sèrie: %1", "Última serie: %1"},
        {ProvesSenseFormants, "Proves sense formants (no dibuixades): %1",
         "Pruebas sin formantes (no dibujadas): %1"},
        {CapCursaProgres, "Aquest parlant no té cap sèrie amb les vocals del català.",
         "Este hablante no tiene ninguna serie con las vocales del castellano."},
        {ErrorLlegirDiari, "No es pot llegir el diari: ", "No se puede leer el diario: "},
        // The journal's pooled results.
        {DiariParlant, "parlant", "hablante"},
        {DiariCurses, "sessions", "sesiones"},
        {DiariProves, "proves", "pruebas"},
        // Accessibility.
        {AccLletra, "Vocal reconeguda", "Vocal reconocida"},
        {AccLletraDescripcio, "La darrera vocal que s'ha sentit; es diu cada vocal nova",
         "La última vocal que se ha oído; se dice cada vocal nueva"},
        {AccNivell, "Nivell del micròfon", "Nivel del micrófono"},
        {AccNivellDescripcio, "Nivell del darrer bloc de so, de 0 a 128",
         "Nivel del último bloque de sonido, de 0 a 128"},
        {AccBarraMenus, "Menú", "Menú"},
        {AccGrafic, "Gràfic del bloc", "Gràfic del bloc"},
        {AccGraficDescripcio, "Espectre i envolupant LPC del darrer bloc analitzat, amb les dades a sota",
         "Espectre i envolupant LPC del darrer bloc analitzat, amb les dades a sota"},
        {AccGridErrors, "Taula d'errors", "Tabla de errores"},
        {AccGridErrorsDescripcio,
         "Vocals demanades i reconegudes, encerts, el darrer intent, el bloc actual i la llista d'errors",
         "Vocales pedidas y reconocidas, aciertos, el último intento, el bloque actual y la lista de "
         "errores"},
        {AccGridDiferencies, "Taula de diferències", "Tabla de diferencias"},
        {AccGridDiferenciesDescripcio, "Les vocals de l'experiment", "Las vocales del experimento"},
        {AccCartaDescripcio, "Cada vocal sentida com un punt segons els seus formants F1 i F2",
         "Cada vocal oída como un punto según sus formantes F1 y F2"},
        {AccLiniaTemps, "Emissions de la sessió", "Emisiones de la sesión"},
        {AccIndicacioDescripcio, "La vocal que cal dir. Espai, Retorn o Esc: parar l'experiment",
         "La vocal que hay que decir. Espacio, Intro o Esc: parar el experimento"},
        {AccMissatgeCorreu, "Texto del mensaje", "Texto del mensaje"},
    }};
}

const FilaText& Fila(IdText id) {
    static const Taula taula = [] {
        Taula t = FerTaula();
        for (int i = 0; i < kNombreTexts; ++i)
            if (t[static_cast<std::size_t>(i)].Id != static_cast<IdText>(i)) std::abort();
        return t;
    }();
    return taula[static_cast<std::size_t>(id)];
}

} // namespace

const std::string& Text(Idioma idioma, IdText id) {
    const FilaText& fila = Fila(id);
    return idioma == Idioma::Castella ? fila.Castella : fila.Catala;
}

const std::string& TextParlantBarra(Idioma idioma, bool modeExperimentador) {
    return Text(idioma, modeExperimentador ? IdText::ParlantBarraExperimentador : IdText::ParlantBarraNormal);
}

std::string_view MissatgeEscriureWav(std::int32_t codi) {
    if (codi < 1 || codi > 4) return {};
    return Text(Idioma::Castella, static_cast<IdText>(static_cast<int>(IdText::WavNoEsPotCrear) + codi - 1));
}

} // namespace tessora
