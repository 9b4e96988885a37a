#include "ui/FormBase.h"

#include "ui/AdattaSchermo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "ui/CampoNumerico.h"
#include "ui/Controlli.h"

namespace termix {

namespace {
std::function<void()>& richiestaUscita() {
    static std::function<void()> f;
    return f;
}
// The layout was drawn for MS Sans Serif, about a fifth narrower than the
// sans faces found on Linux: narrowed glyphs keep labels clear of the boxes
// beside them.
constexpr int LarghezzaCaratteri = 80;
}  // namespace

FormBase::FormBase(const QString& nome, QWidget* parent, Qt::WindowFlags f) : QWidget(parent, f) {
    setObjectName(nome);
}

Controllo* FormBase::controllo(const QString& nome) {
    for (auto& c : controlli_)
        if (c.widget->objectName() == nome) return &c;
    return nullptr;
}

void FormBase::Form_Load() { AdattaSchermo(*this); }

Controllo& FormBase::aggiungi(QWidget* w, const NuovoControllo& n) {
    if (!w->parentWidget()) w->setParent(n.padre ? n.padre : this);
    w->setObjectName(QString::fromLatin1(n.nome));
    Controllo c;
    c.widget = w;
    c.tipo = n.tipo;
    c.Left = n.left;
    c.Top = n.top;
    c.Width = n.width;
    c.Height = n.height;
    c.FontSize = n.font > 0 ? n.font : FontSize;
    c.grassetto = n.font > 0 ? n.grassetto : grassetto || n.grassetto;
    c.autoSize = n.autoSize;
    c.tabIndex = n.tab;
    controlli_.push_back(c);
    applicaControllo(controlli_.back());
    return controlli_.back();
}

QLabel* FormBase::etichetta(const char* nome, const QString& testo, float l, float t, float w, float h, int tab,
                            double font, bool bold, QWidget* padre) {
    auto* lab = new QLabel(testo, padre ? padre : this);
    lab->setTextFormat(Qt::PlainText);
    lab->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    aggiungi(lab, {.nome = nome, .left = l, .top = t, .width = w, .height = h, .tab = tab, .font = font, .grassetto = bold, .autoSize = true, .padre = padre});
    return lab;
}

QLineEdit* FormBase::casella(const char* nome, float l, float t, int tab, QWidget* padre) {
    auto* e = new QLineEdit(padre ? padre : this);
    aggiungi(e, {.nome = nome, .left = l, .top = t, .width = 1095, .height = 285, .tab = tab, .padre = padre});
    return e;
}

Pulsante* FormBase::pulsante(const char* nome, const QString& testo, float l, float t, float w, float h, int tab,
                             double font, bool bold) {
    auto* b = new Pulsante(testo, this);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::StrongFocus);
    aggiungi(b, {.nome = nome, .left = l, .top = t, .width = w, .height = h, .tab = tab, .font = font, .grassetto = bold});
    return b;
}

QRadioButton* FormBase::opzione(const char* nome, float l, float t, int tab, QWidget* padre) {
    auto* o = new Opzione(padre ? padre : this);
    aggiungi(o, {.nome = nome, .left = l, .top = t, .width = 255, .height = 255, .tab = tab, .padre = padre});
    return o;
}

QFrame* FormBase::cornice(const char* nome, float l, float t, float w, float h, int tab) {
    auto* f = new QFrame(this);
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Sunken);
    aggiungi(f, {.nome = nome, .left = l, .top = t, .width = w, .height = h, .tab = tab});
    return f;
}

Linea* FormBase::linea(const char* nome, float x1, float y1, float x2, float y2) {
    auto* li = new Linea(this);
    li->setObjectName(QString::fromLatin1(nome));
    Controllo c;
    c.widget = li;
    c.tipo = Controllo::Tipo::Linea;
    c.X1 = x1;
    c.Y1 = y1;
    c.X2 = x2;
    c.Y2 = y2;
    controlli_.push_back(c);
    applicaControllo(controlli_.back());
    return li;
}

QLabel* FormBase::immagine(const char* nome, const QString& risorsa, float l, float t, float w, float h) {
    auto* im = new QLabel(this);
    im->setPixmap(QPixmap(risorsa));
    im->setScaledContents(true);
    im->setFrameShape(QFrame::Box);
    im->setLineWidth(1);
    aggiungi(im, {.nome = nome, .tipo = Controllo::Tipo::Immagine, .left = l, .top = t, .width = w, .height = h});
    return im;
}

void FormBase::applicaControllo(Controllo& c) {
    const double ux = unitaPerPixelX(), uy = unitaPerPixelY();
    if (c.tipo == Controllo::Tipo::Linea) {
        static_cast<Linea*>(c.widget)->impostaEstremi(QPoint(int(std::lround(c.X1 / ux)), int(std::lround(c.Y1 / uy))),
                                                      QPoint(int(std::lround(c.X2 / ux)), int(std::lround(c.Y2 / uy))));
        return;
    }
    if (c.tipo == Controllo::Tipo::Normale) {
        // Point sizes are meant for a 96-dpi screen, where 15 twips are a pixel.
        QFont f(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        const double dpi = c.widget->logicalDpiY() > 0 ? c.widget->logicalDpiY() : 96;
        f.setPointSizeF(c.FontSize * 96.0 / dpi);
        f.setBold(c.grassetto);
        f.setStretch(LarghezzaCaratteri);
        c.widget->setFont(f);
        if (c.autoSize) {
            const QSize s = c.widget->sizeHint();
            c.Width = float(s.width() * ux);
            c.Height = float(s.height() * uy);
        }
    }
    c.widget->setGeometry(int(std::lround(c.Left / ux)), int(std::lround(c.Top / uy)),
                          std::max(1, int(std::lround(c.Width / ux))), std::max(1, int(std::lround(c.Height / uy))));
}

void FormBase::applicaGeometria() {
    for (auto& c : controlli_) applicaControllo(c);
    if (!isVisible())
        setGeometry(int(std::lround(Left / unitaPerPixelX())), int(std::lround(Top / unitaPerPixelY())),
                    int(std::lround(Width / unitaPerPixelX())), int(std::lround(Height / unitaPerPixelY())));
}

void FormBase::ordinaTab() {
    std::vector<const Controllo*> ordine;
    for (const auto& c : controlli_)
        if (c.tabIndex >= 0 && c.widget->focusPolicy() != Qt::NoFocus) ordine.push_back(&c);
    std::stable_sort(ordine.begin(), ordine.end(),
                     [](const Controllo* a, const Controllo* b) { return a->tabIndex < b->tabIndex; });
    for (size_t i = 1; i < ordine.size(); ++i) QWidget::setTabOrder(ordine[i - 1]->widget, ordine[i]->widget);
}

QWidget* FormBase::primoDelTab() const {
    const Controllo* primo = nullptr;
    for (const auto& c : controlli_)
        if (c.tabIndex >= 0 && c.widget->focusPolicy() != Qt::NoFocus && (!primo || c.tabIndex < primo->tabIndex))
            primo = &c;
    return primo ? primo->widget : nullptr;
}

bool FormBase::confermaCampoPendente() {
    if (!campoPendente) return true;
    return campoPendente->LostFocus();
}

void FormBase::closeEvent(QCloseEvent* e) {
    if (!confermaUscita) {
        QWidget::closeEvent(e);
        return;
    }
    // Whatever the reason, ask; No leaves everything as it was.
    e->ignore();
    if (richiestaUscita()) richiestaUscita()();
}

void FormBase::keyPressEvent(QKeyEvent* e) {
    if (chiudeConEsc && e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void FormBase::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (focoVisibile) setAttribute(Qt::WA_KeyboardFocusChange);
}

void impostaRichiestaUscita(std::function<void()> f) { richiestaUscita() = std::move(f); }

}  // namespace termix
