#include "GeneraCsv.h"

#include <charconv>
#include <string>

namespace termix::bench {

namespace {

class Casuale {  // xorshift64*: same file on every machine
public:
    explicit Casuale(std::uint64_t s) : s_(s ? s : 1) {}
    std::uint64_t prossimo() {
        s_ ^= s_ >> 12;
        s_ ^= s_ << 25;
        s_ ^= s_ >> 27;
        return s_ * 2685821657736338717ULL;
    }
    double tra(double a, double b) { return a + (b - a) * static_cast<double>(prossimo() >> 11) * 0x1p-53; }
    int intero(int a, int b) { return a + static_cast<int>(prossimo() % static_cast<std::uint64_t>(b - a + 1)); }

private:
    std::uint64_t s_;
};

class Riga {
public:
    explicit Riga(char sep) : sep_(sep) {}
    void testo(const char* t) {
        separa();
        s_ += t;
    }
    void numero(double x, int decimali) {
        separa();
        char buf[40];
        auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimali);
        for (char* p = buf; p != r.ptr; ++p)
            if (*p == '.' && sep_ == ';') *p = ',';
        s_.append(buf, r.ptr);
    }
    void intero(int n) {
        separa();
        s_ += std::to_string(n);
    }
    void vuoto() { separa(); }
    std::string fine() {
        s_ += "\r\n";
        std::string r;
        r.swap(s_);
        primo_ = true;
        return r;
    }

private:
    void separa() {
        if (!primo_) s_.push_back(sep_);
        primo_ = false;
    }
    char sep_;
    bool primo_ = true;
    std::string s_;
};

}  // namespace

bool GeneraCsv(std::FILE* f, std::uint64_t record, char sep, std::uint64_t seme, bool cloro) {
    Casuale c(seme);
    Riga r(sep);
    for (const char* n : {"Impianto", "Combustibile", "Tipo", "Composizione", "PortataComb", "AtomiC", "AtomiH",
                          "AtomiO", "AtomiCl", "AtomiS", "AtomiN", "FrazC", "FrazH", "FrazO", "FrazCl", "FrazS",
                          "FrazN", "Inerti", "Acqua", "PotereCalorifico", "EccessoAria", "TempAria",
                          "UmiditaRelativa", "TempCeneri", "Dispersioni"})
        r.testo(n);
    std::string blocco = r.fine();
    static const char* impianti[] = {"Forno 1", "Forno 2", "\"Linea A; rotativo\"", "Caldaia \"\"B\"\"",
                                     "Termovalorizzatore Nord"};
    for (std::uint64_t i = 0; i < record; ++i) {
        const int tipo = c.intero(0, 9);  // 0-2 methane, 3-6 formula, 7-9 fractions
        r.testo(impianti[c.intero(0, 4)]);
        r.testo(tipo < 3 ? "gas naturale" : tipo < 7 ? "solvente" : "rifiuto");
        r.testo(tipo < 3 ? "Metano" : "Altri");
        r.testo(tipo < 3 ? "" : tipo < 7 ? "Atomica" : "Ponderale");
        r.numero(c.tra(50, 5000), 1);
        if (tipo >= 3 && tipo < 7) {
            r.intero(c.intero(1, 8));
            r.intero(c.intero(2, 18));
            r.intero(c.intero(0, 3));
            r.intero(c.intero(0, 2));
            r.intero(c.intero(0, 1));
            r.intero(c.intero(0, 1));
            for (int k = 0; k < 6; ++k) r.vuoto();
        } else {
            for (int k = 0; k < 6; ++k) r.vuoto();
            if (tipo >= 7) {
                double C = c.tra(0.3, 0.7), H = c.tra(0.04, 0.12), O = c.tra(0, 0.2),
                       Cl = cloro ? c.tra(0.001, 0.01) : 0.0,
                       S = c.tra(0, 0.02), N = c.tra(0, 0.02);
                for (double x : {C, H, O, Cl, S, N}) r.numero(x, 4);
            } else {
                for (int k = 0; k < 6; ++k) r.vuoto();
            }
        }
        r.numero(tipo < 3 ? 0 : c.tra(0, 0.15), 3);
        r.numero(tipo < 3 ? 0 : c.tra(0, 0.15), 3);
        if (tipo >= 3 && c.intero(0, 1) == 0) r.numero(c.tra(3000, 11000), 0);
        else r.vuoto();  // methane preset or the "&No" estimate
        r.numero(c.tra(5, 150), 1);
        r.numero(c.tra(-10, 40), 1);
        r.numero(c.tra(0, 100), 0);
        r.numero(c.tra(20, 600), 0);
        r.numero(c.tra(0, 10), 1);
        blocco += r.fine();
        if (blocco.size() > (1 << 16)) {
            if (std::fwrite(blocco.data(), 1, blocco.size(), f) != blocco.size()) return false;
            blocco.clear();
        }
    }
    return std::fwrite(blocco.data(), 1, blocco.size(), f) == blocco.size() && std::fflush(f) == 0;
}

}  // namespace termix::bench
