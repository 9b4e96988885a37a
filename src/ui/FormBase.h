#pragma once
// Forms laid out in twips on the 9600 x 7200 design screen (640 x 480 pixels
// at 15 twips per pixel): each control keeps its design geometry, which the
// screen fit (AdattaSchermo) scales once when the form loads.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QRadioButton;
class QFrame;

namespace termix {

class Pulsante;
class CampoNumerico;
class Linea;

// One control's geometry as the screen fit reads and writes it: position and
// size in the form's units (single precision), font size in points.
struct Controllo {
    enum class Tipo { Normale, Immagine, Linea };
    QWidget* widget = nullptr;
    Tipo tipo = Tipo::Normale;
    float Left = 0, Top = 0, Width = 0, Height = 0;
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    double FontSize = 8.25;
    bool grassetto = false;
    bool autoSize = false;  // labels that size themselves to their text
    int tabIndex = -1;      // -1: not in the tab order
};

// A form of the program: a top-level widget whose controls keep their twips
// geometry. Controls are created through the helpers below, with the object
// name equal to the control name, so anyone can find them by name.
class FormBase : public QWidget {
    Q_OBJECT
public:
    explicit FormBase(const QString& nome, QWidget* parent = nullptr, Qt::WindowFlags f = {});

    // Set by AdattaSchermo at every load.
    std::int16_t LarghezzaProgetto = 0;
    std::int16_t AltezzaProgetto = 0;
    float FattoreX = 0;
    float FattoreY = 0;
    // The form's own restored (normal-state) geometry. Client width 4680
    // with a sizable frame gives 4800, half the design screen.
    float Left = 0, Top = 0, Width = 4800, Height = 3600;
    // Form font: MS Sans Serif 8.25 unless a form says otherwise.
    double FontSize = 8.25;
    bool grassetto = false;

    std::vector<Controllo>& controlli() { return controlli_; }
    const std::vector<Controllo>& controlli() const { return controlli_; }
    Controllo* controllo(const QString& nome);

    // Runs the load handler; the form registry calls it right after creation.
    virtual void Form_Load();

    // Control helpers: geometry in twips relative to `padre` (the form when null).
    QLabel* etichetta(const char* nome, const QString& testo, float l, float t, float w, float h, int tab = -1,
                      double font = 0, bool grassetto = false, QWidget* padre = nullptr);
    QLineEdit* casella(const char* nome, float l, float t, int tab, QWidget* padre = nullptr);
    Pulsante* pulsante(const char* nome, const QString& testo, float l, float t, float w, float h, int tab,
                       double font = 0, bool grassetto = false);
    QRadioButton* opzione(const char* nome, float l, float t, int tab, QWidget* padre = nullptr);
    QFrame* cornice(const char* nome, float l, float t, float w, float h, int tab);
    Linea* linea(const char* nome, float x1, float y1, float x2, float y2);
    QLabel* immagine(const char* nome, const QString& risorsa, float l, float t, float w, float h);
    // Registers a control made elsewhere (e.g. a numeric field).
    struct NuovoControllo {
        const char* nome;
        Controllo::Tipo tipo = Controllo::Tipo::Normale;
        float left = 0, top = 0, width = 0, height = 0;
        int tab = -1;             // -1: not in the tab order
        double font = 0;          // points; 0: the form's font
        bool grassetto = false;
        bool autoSize = false;    // a label sized to its text
        QWidget* padre = nullptr; // the form when null
    };
    Controllo& aggiungi(QWidget* w, const NuovoControllo& n);

    // Twips to pixels for every control (fonts, self-sizing labels included).
    void applicaGeometria();
    // Qt's tab chain from the tab indexes.
    void ordinaTab();
    // First control of the tab order that takes the focus.
    QWidget* primoDelTab() const;

    // Form units per pixel; 15 (twips) for every form but one with a user scale.
    virtual double unitaPerPixelX() const { return 15.0; }
    virtual double unitaPerPixelY() const { return 15.0; }

    // The numeric box whose value has not been stored since the user was in
    // it; a button stores it (or has it refused) before acting.
    QPointer<CampoNumerico> campoPendente;
    // Stores the pending box's value; false when the box refused it.
    bool confermaCampoPendente();

    // Close requests ask "Chiudere il programma ?" unless turned off (About box).
    bool confermaUscita = true;
    // Esc closes the window (the tool windows over the forms).
    bool chiudeConEsc = false;

    // The style draws the focus frame only once the keyboard was used in a
    // window, and every show starts without it; set, the focus is drawn from
    // the first show, so the user sees what Enter will press.
    bool focoVisibile = false;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void applicaControllo(Controllo& c);

private:
    std::vector<Controllo> controlli_;
};

// What a close request on a form does when it asks first (the program's exit
// question); set once by whoever owns the forms.
void impostaRichiestaUscita(std::function<void()> f);

}  // namespace termix
