#include "TextGrid.h"

#include "Descriptor.h"
#include "SubstitucioFitxer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>

namespace tessora {

namespace {

// A fault found while reading, with its line; the public functions turn it into an ErrorFitxer.
struct Falla {
    std::int64_t Linia;
    std::string Motiu;
};

void AfegirUtf8(std::string& text, char32_t c) {
    const auto byte = [&text](char32_t b) { text += static_cast<char>(b); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)),
            byte(0x80 | (c & 0x3F));
    }
}

// Bytes of the well-formed UTF-8 character at `i` (no overlong forms, surrogates or values past
// U+10FFFF); 0 when there is none.
std::size_t CaracterUtf8(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned primer = byte(i);
    if (primer < 0x80) return 1;
    // The lead byte gives the length: 110xxxxx, 1110xxxx, 11110xxx.
    const std::size_t n = (primer & 0xE0) == 0xC0   ? 2
                          : (primer & 0xF0) == 0xE0 ? 3
                          : (primer & 0xF8) == 0xF0 ? 4
                                                    : 0;
    if (n == 0 || i + n > text.size()) return 0;
    char32_t c = primer & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    const char32_t minim = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    return c < minim || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000) ? 0 : n;
}

std::string Decodificar(std::string_view bytes) {
    std::int64_t linia = 1;
    const bool bigEndian = bytes.starts_with("\xFE\xFF");
    if (bigEndian || bytes.starts_with("\xFF\xFE")) {
        const auto unitat = [&](std::size_t i) -> char32_t {
            const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
            return bigEndian ? a << 8 | b : b << 8 | a;
        };
        std::string text;
        for (std::size_t i = 2; i < bytes.size(); i += 2) {
            if (i + 1 == bytes.size())
                throw Falla{linia, "the file ends in the middle of a UTF-16 character"};
            char32_t c = unitat(i);
            if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
                const char32_t baix = unitat(i + 2);
                if (baix >= 0xDC00 && baix < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (baix - 0xDC00);
                    i += 2;
                }
            }
            if (c >= 0xD800 && c < 0xE000) throw Falla{linia, "half of a UTF-16 surrogate pair"};
            if (c == 0) throw Falla{linia, "a NUL character"};
            if (c == '\n') ++linia;
            AfegirUtf8(text, c);
        }
        return text;
    }
    if (bytes.starts_with("ooBinaryFile"))
        throw Falla{1, "a binary Praat file (save it from Praat as a text file)"};
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] == '\0') throw Falla{linia, "a NUL byte (UTF-16 without a byte-order mark?)"};
        const std::size_t n = CaracterUtf8(bytes, i);
        if (n == 0) throw Falla{linia, "not UTF-8 (ISO Latin-1? save it from Praat as UTF-8 or UTF-16)"};
        if (bytes[i] == '\n') ++linia;
        i += n;
    }
    return std::string(bytes);
}

// Tokens of Praat's text files: words (runs of non-blank characters), texts in double quotes (a `""`
// inside stands for one `"`; line ends inside are kept) and numbers. In the long form every value follows
// its label ("xmin =", "intervals [3]:"), which Esperar checks; the short form has the values alone.
class Lector {
public:
    explicit Lector(std::string_view text) : text_(text) {}

    bool Llarg = true;

    // Skips blanks; true when something follows.
    bool Saltar() {
        for (; pos_ < text_.size(); ++pos_) {
            const char c = text_[pos_];
            if (c == '\n')
                ++linia_;
            else if (c != ' ' && c != '\t' && c != '\r')
                return true;
        }
        return false;
    }

    // The next word; `esperat` names what should be there, for the message when the file ends.
    std::string_view Paraula(std::string_view esperat) {
        if (!Saltar())
            throw Falla{liniaToken_, "the file ends where " + std::string(esperat) + " was expected"};
        liniaToken_ = linia_;
        const std::size_t inici = pos_;
        while (pos_ < text_.size() && std::string_view(" \t\r\n").find(text_[pos_]) == std::string_view::npos)
            ++pos_;
        return text_.substr(inici, pos_ - inici);
    }

    // The next word, left where it is.
    std::string_view Mirar() {
        const std::size_t pos = pos_;
        const std::int64_t linia = linia_;
        const std::string_view paraula = Saltar() ? Paraula("") : std::string_view();
        pos_ = pos, linia_ = linia;
        return paraula;
    }

    Falla Error(std::string motiu) const { return {liniaToken_, std::move(motiu)}; }

    // In the long form, the words of `etiqueta` in turn.
    void Esperar(std::string_view etiqueta) {
        if (!Llarg) return;
        for (std::size_t inici = 0; inici < etiqueta.size();) {
            const std::size_t fi = std::min(etiqueta.find(' ', inici), etiqueta.size());
            const std::string_view paraula = Paraula('"' + std::string(etiqueta) + '"');
            if (paraula != etiqueta.substr(inici, fi - inici))
                throw Error("expected \"" + std::string(etiqueta) + "\", found \"" + std::string(paraula) +
                            '"');
            inici = fi + 1;
        }
    }

    double Nombre(std::string_view etiqueta) {
        Esperar(std::string(etiqueta) + " =");
        const std::string_view paraula = Paraula(std::string(etiqueta));
        double valor = 0.0;
        const auto [fi, error] = std::from_chars(paraula.data(), paraula.data() + paraula.size(), valor);
        if (error != std::errc() || fi != paraula.data() + paraula.size() || !std::isfinite(valor))
            throw Error("expected a number (" + std::string(etiqueta) + "), found \"" + std::string(paraula) +
                        '"');
        return valor;
    }

    std::int64_t Comptador(std::string_view etiqueta) {
        Esperar(std::string(etiqueta) + " =");
        const std::string_view paraula = Paraula(std::string(etiqueta));
        std::int64_t valor = -1;
        const auto [fi, error] = std::from_chars(paraula.data(), paraula.data() + paraula.size(), valor);
        if (error != std::errc() || fi != paraula.data() + paraula.size() || valor < 0)
            throw Error("expected a count (" + std::string(etiqueta) + "), found \"" + std::string(paraula) +
                        '"');
        return valor;
    }

    std::string Cadena(std::string_view etiqueta) {
        Esperar(std::string(etiqueta) + " =");
        if (!Saltar() || text_[pos_] != '"')
            throw Error("expected a text in double quotes (" + std::string(etiqueta) + "), found \"" +
                        std::string(Paraula(std::string(etiqueta))) + '"');
        liniaToken_ = linia_;
        std::string text;
        for (++pos_;; ++pos_) {
            const std::size_t cometes = text_.find('"', pos_);
            if (cometes == std::string_view::npos) throw Error("a text in double quotes is not closed");
            const std::string_view tros = text_.substr(pos_, cometes - pos_);
            linia_ += std::count(tros.begin(), tros.end(), '\n');
            text += tros;
            pos_ = cometes + 1;
            if (pos_ == text_.size() || text_[pos_] != '"') return text;
            text += '"';
        }
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::int64_t linia_ = 1;
    std::int64_t liniaToken_ = 1;
};

// Room reserved for a count read from the file: never more than a sane guess, whatever it claims.
std::size_t Reserva(std::int64_t n) {
    return static_cast<std::size_t>(std::min<std::int64_t>(n, 1 << 16));
}

TextGrid Interpretar(Lector& l) {
    const std::string tipus = l.Cadena("File type");
    if (tipus != "ooTextFile" && tipus != "ooTextFile short")
        throw l.Error("not a Praat text file (file type \"" + tipus + "\")");
    const std::string classe = l.Cadena("Object class");
    if (classe != "TextGrid") throw l.Error("not a TextGrid but a \"" + classe + '"');
    l.Llarg = tipus == "ooTextFile" && l.Mirar() == "xmin";

    TextGrid graella;
    graella.Inici = l.Nombre("xmin");
    graella.Fi = l.Nombre("xmax");
    l.Esperar("tiers?");
    const std::string_view hiHa = l.Paraula("<exists>");
    if (hiHa != "<exists>" && hiHa != "<absent>")
        throw l.Error("expected \"<exists>\", found \"" + std::string(hiHa) + '"');
    if (hiHa == "<exists>") {
        const std::int64_t capes = l.Comptador("size");
        l.Esperar("item []:");
        if (capes == 0 && l.Llarg && l.Mirar() == "(empty)") l.Paraula("");
        graella.Capes.reserve(Reserva(capes));
        for (std::int64_t k = 1; k <= capes; ++k) {
            l.Esperar("item [" + std::to_string(k) + "]:");
            CapaTextGrid& capa = graella.Capes.emplace_back();
            const std::string classeCapa = l.Cadena("class");
            if (classeCapa == "TextTier")
                capa.Classe = CapaTextGrid::Tipus::Punts;
            else if (classeCapa != "IntervalTier")
                throw l.Error("tier " + std::to_string(k) + " is of class \"" + classeCapa +
                              "\", neither \"IntervalTier\" nor \"TextTier\"");
            capa.Nom = l.Cadena("name");
            capa.Inici = l.Nombre("xmin");
            capa.Fi = l.Nombre("xmax");
            if (capa.Classe == CapaTextGrid::Tipus::Intervals) {
                const std::int64_t n = l.Comptador("intervals: size");
                capa.Intervals.reserve(Reserva(n));
                for (std::int64_t i = 1; i <= n; ++i) {
                    l.Esperar("intervals [" + std::to_string(i) + "]:");
                    IntervalTextGrid& interval = capa.Intervals.emplace_back();
                    interval.Inici = l.Nombre("xmin");
                    interval.Fi = l.Nombre("xmax");
                    interval.Text = l.Cadena("text");
                }
            } else {
                const std::int64_t n = l.Comptador("points: size");
                capa.Punts.reserve(Reserva(n));
                for (std::int64_t i = 1; i <= n; ++i) {
                    l.Esperar("points [" + std::to_string(i) + "]:");
                    PuntTextGrid& punt = capa.Punts.emplace_back();
                    punt.Temps = l.Nombre("number");
                    punt.Marca = l.Cadena("mark");
                }
            }
        }
    }
    if (l.Saltar()) {
        l.Paraula("");
        throw l.Error("text after the end of the TextGrid");
    }
    return graella;
}

std::variant<TextGrid, ErrorFitxer> LlegirGraella(const std::variant<std::string, ErrorFitxer>& text,
                                                  const std::string& fitxer) {
    if (const auto* error = std::get_if<ErrorFitxer>(&text)) return *error;
    if (std::get<std::string>(text).starts_with("\"Praat chronological TextGrid text file\""))
        return ErrorFitxer{fitxer, 1,
                           "Praat's chronological form (save it from Praat with \"Save as text file\")"};
    try {
        Lector lector(std::get<std::string>(text));
        return Interpretar(lector);
    } catch (const Falla& falla) {
        return ErrorFitxer{fitxer, falla.Linia, falla.Motiu};
    }
}

std::string EntreCometes(std::string_view text) {
    std::string resultat = "\"";
    for (const char c : text)
        resultat += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    return resultat + '"';
}

} // namespace

std::string ErrorFitxer::Text() const {
    return Fitxer + (Linia > 0 ? ":" + std::to_string(Linia) : std::string()) + ": " + Motiu;
}

std::variant<std::string, ErrorFitxer> DecodificarText(std::string_view bytes, const std::string& fitxer) {
    try {
        return Decodificar(bytes);
    } catch (const Falla& falla) {
        return ErrorFitxer{fitxer, falla.Linia, falla.Motiu};
    }
}

std::variant<std::string, ErrorFitxer> LlegirFitxerText(const std::filesystem::path& cami) {
    const auto error = [&cami](std::string motiu) { return ErrorFitxer{cami.string(), 0, std::move(motiu)}; };
    const Descriptor fitxer(::open(cami.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fitxer.Obert()) return error(DescripcioError(errno));
    struct stat estat {};
    if (::fstat(fitxer.Fd(), &estat) != 0) return error(DescripcioError(errno));
    if (S_ISDIR(estat.st_mode)) return error(DescripcioError(EISDIR));
    if (!S_ISREG(estat.st_mode)) return error("not a regular file");
    if (static_cast<std::uint64_t>(estat.st_size) > kMidaMaximaText) return error("larger than 512 MiB");
    std::string bytes;
    errno = 0;
    if (!LlegirTot(fitxer.Fd(), bytes, kMidaMaximaText))
        return error(DescripcioError(errno != 0 ? errno : EFBIG));
    return DecodificarText(bytes, cami.string());
}

std::string NombrePraat(double valor) {
    char text[32];
    char* fi = text;
    for (const int xifres : {15, 16, 17}) {
        fi = std::to_chars(text, text + sizeof text, valor, std::chars_format::general, xifres).ptr;
        double llegit = 0.0;
        std::from_chars(text, fi, llegit);
        if (llegit == valor) break;
    }
    return std::string(text, fi);
}

std::string EscriureTextGrid(const TextGrid& graella) {
    std::string s = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n";
    const auto nombre = [&s](int sagnat, std::string_view clau, double valor) {
        s.append(static_cast<std::size_t>(sagnat), ' ').append(clau).append(" = ").append(NombrePraat(valor));
        s += " \n";
    };
    const auto cadena = [&s](int sagnat, std::string_view clau, std::string_view text) {
        s.append(static_cast<std::size_t>(sagnat), ' ').append(clau).append(" = ").append(EntreCometes(text));
        s += " \n";
    };
    nombre(0, "xmin", graella.Inici);
    nombre(0, "xmax", graella.Fi);
    s += "tiers? <exists> \nsize = " + std::to_string(graella.Capes.size()) + " \n";
    s += graella.Capes.empty() ? "item []: (empty)\n" : "item []: \n";
    for (std::size_t k = 0; k < graella.Capes.size(); ++k) {
        const CapaTextGrid& capa = graella.Capes[k];
        const bool intervals = capa.Classe == CapaTextGrid::Tipus::Intervals;
        s += "    item [" + std::to_string(k + 1) + "]:\n";
        cadena(8, "class", intervals ? "IntervalTier" : "TextTier");
        cadena(8, "name", capa.Nom);
        nombre(8, "xmin", capa.Inici);
        nombre(8, "xmax", capa.Fi);
        const std::string_view elements = intervals ? "intervals" : "points";
        const std::size_t n = intervals ? capa.Intervals.size() : capa.Punts.size();
        s.append("        ").append(elements).append(": size = ").append(std::to_string(n)).append(" \n");
        for (std::size_t i = 0; i < n; ++i) {
            s.append("        ").append(elements).append(" [").append(std::to_string(i + 1)).append("]:\n");
            if (intervals) {
                nombre(12, "xmin", capa.Intervals[i].Inici);
                nombre(12, "xmax", capa.Intervals[i].Fi);
                cadena(12, "text", capa.Intervals[i].Text);
            } else {
                nombre(12, "number", capa.Punts[i].Temps);
                cadena(12, "mark", capa.Punts[i].Marca);
            }
        }
    }
    return s;
}

std::variant<TextGrid, ErrorFitxer> InterpretarTextGrid(std::string_view bytes, const std::string& fitxer) {
    return LlegirGraella(DecodificarText(bytes, fitxer), fitxer);
}

std::variant<TextGrid, ErrorFitxer> LlegirTextGrid(const std::filesystem::path& cami) {
    return LlegirGraella(LlegirFitxerText(cami), cami.string());
}

} // namespace tessora
