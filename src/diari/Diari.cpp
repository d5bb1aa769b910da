// The journal on SQLite's C interface: a statement owner that keeps the first failure of its bindings,
// the schema's steps, the opening (checks, setting aside, migration), the storing transaction and the
// reads.
#include "Diari.h"

#include "CarpetesUsuari.h"
#include "SubstitucioFitxer.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <type_traits>
#include <unistd.h>

namespace tessora {

namespace {

namespace fs = std::filesystem;

// Each step takes a file from the version before it to its own, and is kept exactly as it was first
// written: files of every earlier version go through the same steps. A new file starts at version 0.
constexpr std::array<std::string_view, kVersioDiari> kMigracions = {
    // 1: speakers, runs with their settings, trials.
    R"(CREATE TABLE parlants (
    id INTEGER PRIMARY KEY,
    nom TEXT NOT NULL UNIQUE
);
CREATE TABLE curses (
    id INTEGER PRIMARY KEY,
    parlant INTEGER REFERENCES parlants(id),
    inici INTEGER NOT NULL,
    fi INTEGER NOT NULL,
    castella INTEGER NOT NULL,
    veu_aguda INTEGER NOT NULL,
    mode_experimentador INTEGER NOT NULL
);
CREATE TABLE parametres (
    cursa INTEGER NOT NULL REFERENCES curses(id) ON DELETE CASCADE,
    posicio INTEGER NOT NULL,
    nom TEXT NOT NULL,
    valor TEXT NOT NULL,
    PRIMARY KEY (cursa, posicio)
) WITHOUT ROWID;
CREATE TABLE proves (
    cursa INTEGER NOT NULL REFERENCES curses(id) ON DELETE CASCADE,
    posicio INTEGER NOT NULL,
    demanada TEXT NOT NULL,
    reconeguda TEXT,
    frequencia REAL,
    f1 REAL,
    s2f REAL,
    situacio INTEGER,
    PRIMARY KEY (cursa, posicio)
) WITHOUT ROWID;
PRAGMA user_version = 1;)",
    // 2: where an imported run came from and the bytes of its results text (each text once), and a
    // speaker's runs listed by time.
    R"(ALTER TABLE curses ADD COLUMN origen TEXT NOT NULL DEFAULT '';
CREATE TABLE importacions (
    cursa INTEGER PRIMARY KEY REFERENCES curses(id) ON DELETE CASCADE,
    bytes BLOB NOT NULL UNIQUE
);
CREATE INDEX curses_per_parlant ON curses(parlant, inici);
PRAGMA user_version = 2;)",
};

// A prepared statement, finalised when it goes out of scope. The first failure (of the preparation or of
// a binding) is kept and returned by Pas, so a chain of bindings needs one check.
class Sentencia {
public:
    Sentencia(sqlite3* db, std::string_view sql)
        : rc_(sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &s_, nullptr)) {}
    ~Sentencia() { sqlite3_finalize(s_); }
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;

    // Parameters count from 1.
    void Enter(int i, std::int64_t valor) { Anotar(sqlite3_bind_int64(s_, i, valor)); }
    void Nul(int i) { Anotar(sqlite3_bind_null(s_, i)); }
    void Text(int i, std::string_view text) {
        Anotar(sqlite3_bind_text64(s_, i, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8));
    }
    void Blob(int i, std::string_view bytes) {
        Anotar(sqlite3_bind_blob64(s_, i, bytes.data(), bytes.size(), SQLITE_STATIC));
    }
    template <class T>
    void Opcional(int i, const std::optional<T>& valor) {
        if (!valor) return Nul(i);
        if constexpr (std::is_same_v<T, std::string>)
            Text(i, *valor);
        else if constexpr (std::is_same_v<T, float>)
            Anotar(sqlite3_bind_double(s_, i, *valor));
        else
            Enter(i, *valor);
    }

    // SQLITE_ROW, SQLITE_DONE or the failure.
    int Pas() { return rc_ != SQLITE_OK ? rc_ : sqlite3_step(s_); }
    // Ready to run again with new bindings.
    void Reiniciar() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }

    // Columns count from 0.
    std::int64_t Enter(int i) const { return sqlite3_column_int64(s_, i); }
    bool Nul(int i) const { return sqlite3_column_type(s_, i) == SQLITE_NULL; }
    std::string Text(int i) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s_, i));
        return text == nullptr ? std::string() : std::string(text, sqlite3_column_bytes(s_, i));
    }
    template <class T>
    std::optional<T> Opcional(int i) const {
        if (Nul(i)) return std::nullopt;
        if constexpr (std::is_same_v<T, std::string>)
            return Text(i);
        else if constexpr (std::is_same_v<T, float>)
            return static_cast<float>(sqlite3_column_double(s_, i));
        else
            return Enter(i);
    }

private:
    void Anotar(int rc) {
        if (rc_ == SQLITE_OK) rc_ = rc;
    }

    sqlite3_stmt* s_ = nullptr;
    int rc_;
};

// Runs one statement that returns no rows (or whose rows do not matter); SQLITE_OK or the failure.
int Executar(sqlite3* db, std::string_view sql) {
    Sentencia sentencia(db, sql);
    int rc = sentencia.Pas();
    while (rc == SQLITE_ROW)
        rc = sentencia.Pas();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// The texts in the first column of the rows of `sql` (a pragma's answer), joined by "; ".
int Consultar(sqlite3* db, std::string_view sql, std::string& valor) {
    Sentencia sentencia(db, sql);
    valor.clear();
    int rc = SQLITE_ROW;
    while ((rc = sentencia.Pas()) == SQLITE_ROW)
        valor += (valor.empty() ? "" : "; ") + sentencia.Text(0);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Undoes a transaction left open by a failure (SQLite may have ended it already).
void Desfer(sqlite3* db) {
    if (db != nullptr && sqlite3_get_autocommit(db) == 0) Executar(db, "ROLLBACK");
}

bool EsMalmes(int rc) {
    return (rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB;
}

// What a system error number means for the journal: the disk, the permissions or something else.
EstatDiari EstatDeSistema(int error) {
    if (error == ENOSPC || error == EDQUOT) return EstatDiari::Ple;
    if (error == EACCES || error == EPERM || error == EROFS) return EstatDiari::NomesLectura;
    return EstatDiari::NoObert;
}

ResultatDiari Resultat(EstatDiari estat, std::string detall) {
    return {estat, std::move(detall), {}};
}

// A failure of SQLite, as the caller reports it. The system's error number counts only for the codes
// that come from a system call, since SQLite keeps the last one it saw.
ResultatDiari Fallada(sqlite3* db, int rc) {
    std::string detall = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const int sistema = db != nullptr ? sqlite3_system_errno(db) : 0;
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Resultat(EstatDiari::Ocupat, std::move(detall));
    case SQLITE_FULL:
        return Resultat(EstatDiari::Ple, std::move(detall));
    case SQLITE_READONLY:
        return Resultat(EstatDiari::NomesLectura, std::move(detall));
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        if (sistema != 0) return Resultat(EstatDeSistema(sistema), detall + ": " + DescripcioError(sistema));
        break;
    default:
        break;
    }
    return Resultat(EstatDiari::NoObert, std::move(detall));
}

// The name a damaged journal is set aside under, with `n` > 1 for a second one in the same second.
fs::path NomApartat(const fs::path& fitxer, const std::tm& moment, int n) {
    char segell[32];
    std::strftime(segell, sizeof segell, "%Y%m%d-%H%M%S", &moment);
    std::string nom = fitxer.filename().string() + ".malmes-" + segell;
    if (n > 1) nom += "-" + std::to_string(n);
    return fitxer.parent_path() / nom;
}

// Renames `origen` to `desti` unless `desti` exists; false with errno set otherwise.
bool ReanomenarSiLliure(const fs::path& origen, const fs::path& desti) {
    if (::renameat2(AT_FDCWD, origen.c_str(), AT_FDCWD, desti.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL) return false;
    // A file system that cannot refuse to replace: look first.
    if (::access(desti.c_str(), F_OK) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(origen.c_str(), desti.c_str()) == 0;
}

} // namespace

std::string_view MigracioDiari(int versio) {
    return kMigracions.at(static_cast<std::size_t>(versio - 1));
}

std::string NomParlant(std::string_view nom) {
    constexpr std::string_view kBlancs = " \t\n\v\f\r";
    const std::size_t inici = nom.find_first_not_of(kBlancs);
    if (inici == std::string_view::npos) return {};
    return std::string(nom.substr(inici, nom.find_last_not_of(kBlancs) - inici + 1));
}

fs::path CamiDiariPerDefecte() {
    const fs::path dades = CarpetaXdg("XDG_DATA_HOME", fs::path(".local") / "share");
    return dades.empty() ? dades : dades / "tessora" / "diari.sqlite";
}

struct Diari::Impl {
    fs::path Fitxer;
    std::chrono::milliseconds Espera;
    sqlite3* Db = nullptr;
    std::vector<CursaDiari> Pendents;

    ~Impl() { Tancar(); }

    void Tancar() {
        sqlite3_close_v2(Db);
        Db = nullptr;
    }

    // Opens the file and brings it to this version; Db stays open only when it went well. `malmes` tells
    // a file that is not a database or is damaged apart from the other failures.
    ResultatDiari Connectar(bool& malmes);
    ResultatDiari Migrar();
    // Sets the file (and its write-ahead log and index, when there) aside; where to, or why not.
    ResultatDiari Apartar(const std::string& motiu);
    // Opens the journal when it is shut; Correcte or Apartat (a new one begun) when it is open after it.
    ResultatDiari Assegurar();
    // Stores `cursa` in one transaction, with the bytes of its results text when it is imported.
    ResultatDiari Inserir(const CursaDiari& cursa, const std::string_view* bytes, std::int64_t* id);
    // Stores the waiting runs in order; the last one's Id goes to `id`.
    ResultatDiari DesarPendents(std::int64_t* id);
    // A failure in the middle of the work: the journal is shut, to be opened again at the next chance.
    ResultatDiari Fallar(int rc) {
        ResultatDiari resultat = Fallada(Db, rc);
        Desfer(Db);
        Tancar();
        return resultat;
    }
};

ResultatDiari Diari::Impl::Connectar(bool& malmes) {
    malmes = false;
    const fs::path carpeta = Fitxer.has_parent_path() ? Fitxer.parent_path() : fs::path(".");
    std::error_code error;
    fs::create_directories(carpeta, error);
    if (error) return Resultat(EstatDeSistema(error.value()), DescripcioError(error.value()));
    int rc = sqlite3_open_v2(Fitxer.c_str(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // SQLite keeps the error of its last try (reading a file that is not there); the folder tells why.
    if (rc != SQLITE_OK && ::access(carpeta.c_str(), W_OK) != 0) {
        const int sistema = errno;
        Tancar();
        return Resultat(EstatDeSistema(sistema),
                        std::string(sqlite3_errstr(rc)) + ": " + DescripcioError(sistema));
    }
    if (rc != SQLITE_OK) return Fallar(rc);
    sqlite3_extended_result_codes(Db, 1);
    sqlite3_busy_timeout(Db, static_cast<int>(std::min<std::int64_t>(Espera.count(), INT_MAX)));
    // A file that cannot be written opens for reading only; say so now rather than at the first run.
    if (sqlite3_db_readonly(Db, "main") == 1) {
        Tancar();
        return Resultat(EstatDiari::NomesLectura, sqlite3_errstr(SQLITE_READONLY));
    }
    std::string resposta;
    rc = Executar(Db, "PRAGMA foreign_keys = ON");
    if (rc == SQLITE_OK) rc = Consultar(Db, "PRAGMA quick_check(3)", resposta);
    if (EsMalmes(rc) || (rc == SQLITE_OK && resposta != "ok")) {
        malmes = true;
        ResultatDiari resultat =
            Resultat(EstatDiari::Apartat, rc != SQLITE_OK ? sqlite3_errmsg(Db) : resposta);
        Tancar();
        return resultat;
    }
    if (rc == SQLITE_OK) rc = Consultar(Db, "PRAGMA journal_mode = WAL", resposta);
    if (rc != SQLITE_OK) return Fallar(rc);
    if (resposta != "wal") {
        Tancar();
        return Resultat(EstatDiari::NoObert, "the journal cannot be put in write-ahead-log mode");
    }
    return Migrar();
}

ResultatDiari Diari::Impl::Migrar() {
    std::string versio;
    int rc = Consultar(Db, "PRAGMA user_version", versio);
    if (rc == SQLITE_OK && std::stoi(versio) < kVersioDiari) {
        // Read again inside the transaction: another program may have migrated it meanwhile.
        rc = Executar(Db, "BEGIN IMMEDIATE");
        if (rc == SQLITE_OK) rc = Consultar(Db, "PRAGMA user_version", versio);
        for (int pas = std::stoi(versio) + 1; rc == SQLITE_OK && pas <= kVersioDiari; ++pas)
            rc = sqlite3_exec(Db, std::string(MigracioDiari(pas)).c_str(), nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) rc = Executar(Db, "COMMIT");
    }
    if (rc != SQLITE_OK) return Fallar(rc);
    if (std::stoi(versio) > kVersioDiari) {
        Tancar();
        return Resultat(EstatDiari::NoObert, "the journal is of version " + versio +
                                                 ", newer than this program's (" +
                                                 std::to_string(kVersioDiari) + ")");
    }
    return {};
}

ResultatDiari Diari::Impl::Apartar(const std::string& motiu) {
    const std::time_t ara = std::time(nullptr);
    std::tm moment{};
    ::localtime_r(&ara, &moment);
    for (int n = 1;; ++n) {
        const fs::path desti = NomApartat(Fitxer, moment, n);
        if (ReanomenarSiLliure(Fitxer, desti)) {
            // Beside its new name, SQLite finds its log again when the set-aside file is opened.
            for (const char* cua : {"-wal", "-shm"})
                ::rename((Fitxer.string() + cua).c_str(), (desti.string() + cua).c_str());
            return {EstatDiari::Apartat, motiu, desti};
        }
        const int error = errno;
        if (error != EEXIST)
            return Resultat(EstatDeSistema(error),
                            motiu + "; it could not be set aside: " + DescripcioError(error));
    }
}

ResultatDiari Diari::Impl::Assegurar() {
    if (Db != nullptr) return {};
    bool malmes = false;
    ResultatDiari resultat = Connectar(malmes);
    if (!malmes) return resultat;
    resultat = Apartar(resultat.Detall);
    if (resultat.Estat != EstatDiari::Apartat) return resultat;
    ResultatDiari nou = Connectar(malmes);
    if (!nou.Correcte()) {
        nou.Apartat = resultat.Apartat;
        return nou;
    }
    return resultat;
}

ResultatDiari Diari::Impl::Inserir(const CursaDiari& cursa, const std::string_view* bytes, std::int64_t* id) {
    int rc = Executar(Db, "BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return Fallar(rc);
    if (bytes != nullptr) {
        Sentencia ja(Db, "SELECT cursa FROM importacions WHERE bytes = ?1");
        ja.Blob(1, *bytes);
        rc = ja.Pas();
        if (rc == SQLITE_ROW) {
            if (id != nullptr) *id = ja.Enter(0);
            Desfer(Db);
            return Resultat(EstatDiari::JaImportat, "already imported as run " + std::to_string(ja.Enter(0)));
        }
        if (rc != SQLITE_DONE) return Fallar(rc);
    }
    std::optional<std::int64_t> parlant;
    if (!cursa.Parlant.empty()) {
        Sentencia nou(Db, "INSERT OR IGNORE INTO parlants(nom) VALUES (?1)");
        nou.Text(1, cursa.Parlant);
        rc = nou.Pas();
        Sentencia cerca(Db, "SELECT id FROM parlants WHERE nom = ?1");
        cerca.Text(1, cursa.Parlant);
        if (rc == SQLITE_DONE && (rc = cerca.Pas()) == SQLITE_ROW) parlant = cerca.Enter(0);
        if (rc != SQLITE_ROW) return Fallar(rc);
    }
    Sentencia run(Db,
                  "INSERT INTO curses(parlant, inici, fi, castella, veu_aguda, mode_experimentador, origen) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    run.Opcional(1, parlant);
    run.Enter(2, cursa.Inici);
    run.Enter(3, cursa.Fi);
    run.Enter(4, cursa.Castella);
    run.Enter(5, cursa.VeuAguda);
    run.Enter(6, cursa.ModeExperimentador);
    run.Text(7, cursa.Origen);
    if ((rc = run.Pas()) != SQLITE_DONE) return Fallar(rc);
    const std::int64_t nouId = sqlite3_last_insert_rowid(Db);

    Sentencia parametre(Db, "INSERT INTO parametres(cursa, posicio, nom, valor) VALUES (?1, ?2, ?3, ?4)");
    for (std::size_t i = 0; i < cursa.Parametres.size(); ++i) {
        parametre.Reiniciar();
        parametre.Enter(1, nouId);
        parametre.Enter(2, static_cast<std::int64_t>(i));
        parametre.Text(3, cursa.Parametres[i].first);
        parametre.Text(4, cursa.Parametres[i].second);
        if ((rc = parametre.Pas()) != SQLITE_DONE) return Fallar(rc);
    }
    Sentencia prova(Db,
                    "INSERT INTO proves(cursa, posicio, demanada, reconeguda, frequencia, f1, s2f, situacio) "
                    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (std::size_t i = 0; i < cursa.Proves.size(); ++i) {
        const ProvaDiari& p = cursa.Proves[i];
        prova.Reiniciar();
        prova.Enter(1, nouId);
        prova.Enter(2, static_cast<std::int64_t>(i));
        prova.Text(3, p.Demanada);
        prova.Opcional(4, p.Reconeguda);
        prova.Opcional(5, p.Frequencia);
        prova.Opcional(6, p.F1);
        prova.Opcional(7, p.S2F);
        prova.Opcional(8, p.Situacio);
        if ((rc = prova.Pas()) != SQLITE_DONE) return Fallar(rc);
    }
    if (bytes != nullptr) {
        Sentencia importacio(Db, "INSERT INTO importacions(cursa, bytes) VALUES (?1, ?2)");
        importacio.Enter(1, nouId);
        importacio.Blob(2, *bytes);
        if ((rc = importacio.Pas()) != SQLITE_DONE) return Fallar(rc);
    }
    if ((rc = Executar(Db, "COMMIT")) != SQLITE_OK) return Fallar(rc);
    if (id != nullptr) *id = nouId;
    return {};
}

ResultatDiari Diari::Impl::DesarPendents(std::int64_t* id) {
    ResultatDiari obertura = Assegurar();
    if (Db == nullptr) return obertura;
    while (!Pendents.empty()) {
        ResultatDiari resultat = Inserir(Pendents.front(), nullptr, id);
        if (!resultat.Correcte()) return resultat;
        Pendents.erase(Pendents.begin());
    }
    return obertura;
}

Diari::Diari(fs::path fitxer, std::chrono::milliseconds espera) : impl_(std::make_unique<Impl>()) {
    impl_->Fitxer = std::move(fitxer);
    impl_->Espera = espera;
}

Diari::~Diari() = default;

ResultatDiari Diari::Obrir() {
    impl_->Tancar();
    if (impl_->Fitxer.empty()) return {};
    return impl_->Assegurar();
}

bool Diari::Obert() const {
    return impl_->Db != nullptr;
}

void Diari::Tancar() {
    impl_->Tancar();
}

ResultatDiari Diari::Desar(const CursaDiari& cursa, std::int64_t* id) {
    if (impl_->Fitxer.empty()) return {};
    impl_->Pendents.push_back(cursa);
    return impl_->DesarPendents(id);
}

ResultatDiari Diari::Importar(const CursaDiari& cursa, std::string_view bytes, std::int64_t* id) {
    if (impl_->Fitxer.empty()) return {};
    ResultatDiari resultat = impl_->DesarPendents(nullptr);
    if (impl_->Db == nullptr || !impl_->Pendents.empty()) return resultat;
    ResultatDiari importacio = impl_->Inserir(cursa, &bytes, id);
    return importacio.Correcte() ? resultat : importacio;
}

ResultatDiari Diari::ReintentarPendents() {
    if (impl_->Fitxer.empty() || impl_->Pendents.empty()) return {};
    return impl_->DesarPendents(nullptr);
}

std::size_t Diari::Pendents() const {
    return impl_->Pendents.size();
}

std::vector<std::string> Diari::Parlants(ResultatDiari* resultat) {
    std::vector<std::string> noms;
    ResultatDiari estat = impl_->Fitxer.empty() ? ResultatDiari{} : impl_->Assegurar();
    if (impl_->Db != nullptr) {
        Sentencia llista(impl_->Db, "SELECT nom FROM parlants ORDER BY nom");
        int rc = SQLITE_ROW;
        while ((rc = llista.Pas()) == SQLITE_ROW)
            noms.push_back(llista.Text(0));
        if (rc != SQLITE_DONE) {
            noms.clear();
            estat = impl_->Fallar(rc);
        }
    }
    if (resultat != nullptr) *resultat = std::move(estat);
    return noms;
}

std::vector<CursaDiari> Diari::Curses(const FiltreDiari& filtre, ResultatDiari* resultat) {
    std::vector<CursaDiari> curses;
    ResultatDiari estat = impl_->Fitxer.empty() ? ResultatDiari{} : impl_->Assegurar();
    sqlite3* db = impl_->Db;
    // One read transaction: the runs and their trials as they stood at one moment.
    int rc = db == nullptr ? SQLITE_DONE : Executar(db, "BEGIN");
    if (db != nullptr && rc == SQLITE_OK) {
        Sentencia llista(db,
                         "SELECT c.id, p.nom, c.inici, c.fi, c.castella, c.veu_aguda, c.mode_experimentador, "
                         "c.origen FROM curses c LEFT JOIN parlants p ON p.id = c.parlant "
                         "WHERE (?1 IS NULL OR coalesce(p.nom, '') = ?1) AND (?2 IS NULL OR c.castella = ?2) "
                         "ORDER BY c.inici, c.id");
        llista.Opcional(1, filtre.Parlant);
        llista.Opcional(2, filtre.Castella ? std::optional<std::int64_t>(*filtre.Castella) : std::nullopt);
        while ((rc = llista.Pas()) == SQLITE_ROW) {
            CursaDiari& cursa = curses.emplace_back();
            cursa.Id = llista.Enter(0);
            cursa.Parlant = llista.Text(1);
            cursa.Inici = llista.Enter(2);
            cursa.Fi = llista.Enter(3);
            cursa.Castella = llista.Enter(4) != 0;
            cursa.VeuAguda = llista.Enter(5) != 0;
            cursa.ModeExperimentador = llista.Enter(6) != 0;
            cursa.Origen = llista.Text(7);
        }
        Sentencia parametres(db, "SELECT nom, valor FROM parametres WHERE cursa = ?1 ORDER BY posicio");
        Sentencia proves(db, "SELECT demanada, reconeguda, frequencia, f1, s2f, situacio FROM proves "
                             "WHERE cursa = ?1 ORDER BY posicio");
        for (std::size_t i = 0; rc == SQLITE_DONE && i < curses.size(); ++i) {
            CursaDiari& cursa = curses[i];
            parametres.Reiniciar();
            parametres.Enter(1, cursa.Id);
            while ((rc = parametres.Pas()) == SQLITE_ROW)
                cursa.Parametres.emplace_back(parametres.Text(0), parametres.Text(1));
            if (rc != SQLITE_DONE) break;
            proves.Reiniciar();
            proves.Enter(1, cursa.Id);
            while ((rc = proves.Pas()) == SQLITE_ROW)
                cursa.Proves.push_back({proves.Text(0), proves.Opcional<std::string>(1),
                                        proves.Opcional<float>(2), proves.Opcional<float>(3),
                                        proves.Opcional<float>(4), proves.Opcional<std::int64_t>(5)});
        }
    }
    if (db != nullptr && rc == SQLITE_DONE) rc = Executar(db, "COMMIT");
    if (db != nullptr && rc != SQLITE_OK && rc != SQLITE_DONE) {
        curses.clear();
        estat = impl_->Fallar(rc);
    }
    if (resultat != nullptr) *resultat = std::move(estat);
    return curses;
}

} // namespace tessora
