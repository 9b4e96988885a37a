// The user scenarios of tests/support/scenari.json on the Qt forms: each step
// through the real controls (clicks, keys, the scripted message boxes), then
// the case the forms hold against termix54-batch on the case the scenario
// names, value for value to the last bit, and the texts the boxes show.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

#include "AiutoForm.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/Posti.h"
#include "forms/AndamentoForm.h"
#include "forms/CaminoForm.h"
#include "forms/VerificaForm.h"
#include "batch/ColonneVerifica.h"
#include "model/Formato.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace termix;
using namespace termix::prova;

namespace {

// The page's ids of the buttons and options, on the forms.
const struct {
    const char* id;
    Finestra finestra;
    const char* controllo;
} Pulsanti_[] = {
    {"CalcolaCombustibile", Finestra::Form2, "Command4"}, {"Continua", Finestra::Form2, "Command2"},
    {"TipoMetano", Finestra::Form2, "Option1"},          {"TipoAltri", Finestra::Form2, "Option2"},
    {"ComposizioneAtomica", Finestra::Form2, "Option3"}, {"ComposizionePonderale", Finestra::Form2, "Option4"},
    {"Si", Finestra::Form3, "Command6"},                 {"No", Finestra::Form3, "Command7"},
    {"Calcola", Finestra::Form3, "Command4"},            {"Precedente", Finestra::Form3, "Command2"},
};
// The Verifica window's buttons.
const struct {
    const char* id;
    const char* controllo;
} PulsantiVerifica[] = {{"CalcolaVerifica", "Command1"}, {"TrovaSupporto", "Command2"}, {"SalvaVerifica", "Command3"}};

// The stack window's.
const struct {
    const char* id;
    const char* controllo;
} PulsantiCamino[] = {{"CalcolaCamino", "Command1"}, {"ApplicaEccesso", "Command2"}};

frmVerifica* finestraVerifica() { return GestoreForm::form8().findChild<frmVerifica*>(); }
frmAndamento* finestraAndamento() { return GestoreForm::form8().findChild<frmAndamento*>(); }

// The Andamento window's controls by the page's ids.
QWidget* dellAndamento(const QString& id) {
    static const std::pair<const char*, const char*> controlli[] = {
        {"variaDa", "Text1"}, {"variaA", "Text2"}, {"variaPasso", "Text3"}, {"obiettivo", "Text4"},
        {"Traccia", "Command1"}, {"Trova", "Command2"}, {"trovato", "Label7"}};
    for (auto [pagina, controllo] : controlli)
        if (id == QLatin1String(pagina) && finestraAndamento()) return ctl(*finestraAndamento(), controllo);
    return nullptr;
}
frmCamino* finestraCamino() { return finestraVerifica() ? finestraVerifica()->findChild<frmCamino*>() : nullptr; }

// A button by the page's id, or null.
QAbstractButton* pulsanteDi(const QString& id) {
    if (auto* b = qobject_cast<QAbstractButton*>(dellAndamento(id))) return b;
    for (const auto& p : Pulsanti_)
        if (id == QLatin1String(p.id)) return ctl<QAbstractButton>(GestoreForm::form(p.finestra), p.controllo);
    return nullptr;
}

QAbstractButton* pulsante(const QString& id) {
    if (auto* b = pulsanteDi(id)) return b;
    for (const auto& p : PulsantiVerifica)
        if (id == QLatin1String(p.id) && finestraVerifica()) return ctl<QAbstractButton>(*finestraVerifica(), p.controllo);
    for (const auto& p : PulsantiCamino)
        if (id == QLatin1String(p.id) && finestraCamino()) return ctl<QAbstractButton>(*finestraCamino(), p.controllo);
    QTest::qFail(qPrintable(QStringLiteral("no button %1").arg(id)), __FILE__, __LINE__);
    return nullptr;
}

QLineEdit* casella(const QString& nome) {
    if (auto* e = qobject_cast<QLineEdit*>(dellAndamento(nome))) return e;
    const Grandezza* g = TrovaGrandezza(nome.toStdString());
    const Posto* p = g ? PostoDi(g->id) : nullptr;
    if (!p && g && g->ha(IngressoCamino) && finestraCamino()) return ctl<QLineEdit>(*finestraCamino(), qPrintable(nome));
    if (!p && finestraVerifica()) return ctl<QLineEdit>(*finestraVerifica(), qPrintable(nome));  // the window's boxes
    if (!p) {
        QTest::qFail(qPrintable(QStringLiteral("no box %1").arg(nome)), __FILE__, __LINE__);
        return nullptr;
    }
    return ctl<QLineEdit>(GestoreForm::form(p->finestra), p->controllo);
}

// A tab of the page is, on the forms, the window that shows that part.
FormBase& formaDellaScheda(const QString& scheda) {
    if (scheda == QLatin1String("Combustibile")) return GestoreForm::form2();
    if (scheda == QLatin1String("Condizioni")) return GestoreForm::form3();
    if (scheda == QLatin1String("Risultati")) return GestoreForm::form7();
    return GestoreForm::form8();
}

// Brings the control's form to the front first, as the user's eye and mouse go there.
void inPrimoPiano(QWidget* w) {
    auto* f = qobject_cast<FormBase*>(w->window());
    if (f && QApplication::activeWindow() != f) QVERIFY(mostraAttiva(*f));
    // A box on the Verifica window's other page: its tab clicked first, as a user would.
    if (auto* schede = w->window()->findChild<QTabBar*>(QStringLiteral("SchedeRisultati")))
        for (int k = 0; k < schede->count() && !w->isVisible(); ++k)
            QTest::mouseClick(schede, Qt::LeftButton, {}, schede->tabRect(k).center());
    QVERIFY(w->isVisible());
}

QJsonObject leggiTabella() {
    QFile f(QStringLiteral(TERMIX54_SCENARI));
    if (!f.open(QIODevice::ReadOnly)) qFatal("cannot read %s", TERMIX54_SCENARI);
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The batch record of the scenario's case: the common walk's case with its changes.
QJsonObject casoDi(const QJsonObject& tabella, const QJsonObject& scenario) {
    const QString base = scenario[QStringLiteral("base")].toString(QStringLiteral("metano"));
    QJsonObject c = tabella[base].toObject();
    const QJsonObject v = scenario[QStringLiteral("caso")].toObject();
    for (auto i = v.begin(); i != v.end(); ++i) c[i.key()] = i.value();
    return c;
}

// termix54-batch on one record: the output's header and the record, split.
bool eseguiBatch(const QJsonObject& caso, QStringList& nomi, QStringList& valori, const QStringList& opzioni = {}) {
    QTemporaryDir dir;
    QFile in(dir.filePath(QStringLiteral("in.csv")));
    if (!in.open(QIODevice::WriteOnly)) return false;
    in.write((caso.keys().join(u';') + QStringLiteral("\r\n")).toUtf8());
    QStringList celle;
    for (const QString& k : caso.keys()) celle << caso[k].toString();
    in.write((celle.join(u';') + QStringLiteral("\r\n")).toUtf8());
    in.close();
    QProcess p;
    p.start(QStringLiteral(TERMIX54_BATCH_EXE),
            QStringList{in.fileName(), QStringLiteral("-o"), dir.filePath(QStringLiteral("out.csv"))} + opzioni);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return false;
    QFile out(dir.filePath(QStringLiteral("out.csv")));
    if (!out.open(QIODevice::ReadOnly)) return false;
    const QStringList righe = QString::fromUtf8(out.readAll()).split(QStringLiteral("\r\n"));
    if (righe.size() < 2) return false;
    nomi = righe[0].split(u';');
    // A cell in quotes may hold the separator ("" a quote); the names here hold no line end.
    valori.clear();
    QString cella;
    bool virgolette = false;
    for (int i = 0; i < righe[1].size(); ++i) {
        const QChar c = righe[1][i];
        if (virgolette && c == u'"' && i + 1 < righe[1].size() && righe[1][i + 1] == u'"') cella += c, ++i;
        else if (c == u'"') virgolette = !virgolette;
        else if (c == u';' && !virgolette) valori << std::exchange(cella, QString());
        else cella += c;
    }
    valori << cella;
    return valori.size() == nomi.size();
}

// The tool writes zero without its sign.
bool stessiBit(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (a == 0 && b == 0); }

}  // namespace

class TestScenari : public QObject {
    Q_OBJECT
private slots:
    void scenari_data() {
        QTest::addColumn<int>("indice");
        const QJsonArray s = leggiTabella()[QStringLiteral("scenari")].toArray();
        for (int i = 0; i < s.size(); ++i)
            QTest::newRow(qPrintable(s[i].toObject()[QStringLiteral("nome")].toString())) << i;
    }

    void scenari() {
        QFETCH(int, indice);
        const QJsonObject tabella = leggiTabella();
        const QJsonObject scenario = tabella[QStringLiteral("scenari")].toArray()[indice].toObject();
        Ambiente amb;
        QVERIFY(mostraAttiva(GestoreForm::form2()));
        int letti = 0;  // message boxes accounted for by a step
        std::function<void(const QJsonArray&)> esegui = [&](const QJsonArray& passi) {
            for (const QJsonValue& v : passi) {
                const QJsonArray p = v.toArray();
                const QString azione = p[0].toString(), a = p.size() > 1 ? p[1].toString() : QString();
                if (azione == QLatin1String("usa")) {
                    esegui(tabella[QStringLiteral("giri")].toObject()[a].toArray());
                } else if (azione == QLatin1String("scrivi")) {
                    QLineEdit* e = casella(a);
                    inPrimoPiano(e);
                    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(5, e->height() / 2));
                    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
                    if (p[2].toString().isEmpty()) QTest::keyClick(e, Qt::Key_Delete);
                    QTest::keyClicks(e, p[2].toString());
                } else if (azione == QLatin1String("digita")) {
                    QTest::keyClicks(QApplication::focusWidget(), a);
                } else if (azione == QLatin1String("tasto")) {
                    QTest::keyClick(QApplication::focusWidget(), a == QLatin1String("Tab") ? Qt::Key_Tab : Qt::Key_Return);
                } else if (azione == QLatin1String("premi") || azione == QLatin1String("scegli")) {
                    QAbstractButton* b = pulsante(a);
                    inPrimoPiano(b);
                    QTest::mouseClick(b, Qt::LeftButton);
                } else if (azione == QLatin1String("scheda")) {
                    QVERIFY(mostraAttiva(formaDellaScheda(a)));
                } else if (azione == QLatin1String("verifica")) {
                    QVERIFY(mostraAttiva(GestoreForm::form8()));
                    clicca(GestoreForm::form8(), "Command6");
                    QVERIFY(finestraVerifica());
                } else if (azione == QLatin1String("fuoco")) {
                    const Grandezza* g = TrovaGrandezza(a.toStdString());
                    const Posto* posto = g ? PostoDi(g->id) : nullptr;
                    QWidget* w = posto        ? ctl(GestoreForm::form(posto->finestra), posto->controllo)
                                 : dellAndamento(a) ? dellAndamento(a)
                                 : pulsanteDi(a)    ? pulsanteDi(a)
                                                    : finestraVerifica()->findChild<QWidget*>(a);
                    QTRY_COMPARE(QApplication::focusWidget(), w);
                } else if (azione == QLatin1String("andamento")) {
                    QVERIFY(mostraAttiva(GestoreForm::form8()));
                    clicca(GestoreForm::form8(), "Command4");
                    QVERIFY(finestraAndamento());
                    finestraAndamento()->activateWindow();  // the offscreen platform leaves Form8 active after its button
                    QTRY_COMPARE(QApplication::activeWindow(), finestraAndamento());
                } else if (azione == QLatin1String("camino")) {
                    clicca(*finestraVerifica(), "Command5");
                    QVERIFY(finestraCamino());
                } else if (azione == QLatin1String("lista")) {
                    QWidget* w = finestraCamino() ? finestraCamino()->findChild<QComboBox*>(a) : nullptr;
                    auto* c = w ? static_cast<QComboBox*>(w) : ctl<QComboBox>(*finestraVerifica(), qPrintable(a));
                    c->setFocus(Qt::MouseFocusReason);
                    QTest::keyClicks(c, p[2].toString());
                    QCOMPARE(c->currentText(), p[2].toString());
                } else if (azione == QLatin1String("messaggio")) {
                    const QStringList mostrati = amb.dialoghi.testiMostrati();
                    QVERIFY2(letti < mostrati.size(), qPrintable(QStringLiteral("no message: ") + a));
                    QCOMPARE(mostrati[letti++], a);
                } else if (azione != QLatin1String("ricarica")) {  // the forms have no reload
                    QFAIL(qPrintable(QStringLiteral("unknown step ") + azione));
                }
            }
        };
        esegui(scenario[QStringLiteral("passi")].toArray());
        QCOMPARE(amb.dialoghi.testiMostrati().mid(letti), QStringList());

        QStringList nomi, valori;
        QVERIFY(eseguiBatch(casoDi(tabella, scenario), nomi, valori));
        QCOMPARE(valori[nomi.indexOf(QStringLiteral("Esito"))], QStringLiteral("OK"));
        int confrontati = 0;
        for (const Grandezza* g : ConUso(Uscita)) {
            const QString cella = valori[nomi.indexOf(QLatin1String(g->nome))];
            const double atteso = QString(cella).replace(u',', u'.').toDouble();
            const double forme = (modulo1().*g->variabile).v;
            QVERIFY2(stessiBit(forme, atteso), qPrintable(QStringLiteral("%1: forms %2, tool %3")
                                                              .arg(QLatin1String(g->nome))
                                                              .arg(forme, 0, 'g', 17)
                                                              .arg(cella)));
            ++confrontati;
        }
        QVERIFY(confrontati > 60);
        // The tool on the case with the scenario's cells for `chiave`, run with `opzione`; a window's result box is
        // its cell cut to the box's decimals, "—" for an empty one.
        QStringList n, x;
        auto strumento = [&](const char* chiave, const char* opzione) {
            QJsonObject c = casoDi(tabella, scenario);
            const QJsonObject v = scenario[QLatin1String(chiave)].toObject();
            for (auto i = v.begin(); i != v.end(); ++i) c[i.key()] = i.value();
            return eseguiBatch(c, n, x, {QLatin1String(opzione)});
        };
        auto casellaComeStrumento = [&](QWidget& finestra, const Grandezza& g) {
            const qsizetype k = n.indexOf(QLatin1String(g.nome));
            QVERIFY2(k >= 0 && k < x.size(), g.nome);
            QCOMPARE(ctl<QLineEdit>(finestra, g.nome)->text(),
                     x[k].isEmpty() ? QStringLiteral("\u2014")
                                    : QString::fromStdString(FormatoTroncato(*LeggiNumero(x[k].toStdString()), g.decimali)));
        };
        if (scenario.contains(QStringLiteral("verifica"))) {  // the window's verdict, the tool's --verifica
            QVERIFY(strumento("verifica", "--verifica"));
            for (const Grandezza* g : vista::RisultatiVerificaMostrati())
                if (g->ha(Uscita) || g->ha(UscitaVerifica)) casellaComeStrumento(*finestraVerifica(), *g);  // not Differenza
            const QString verdetto = ctl<QLabel>(*finestraVerifica(), "Verdetto")->text();
            QCOMPARE(verdetto, x[n.indexOf(QStringLiteral("Verdetto"))]);
            QVERIFY2(verdetto.startsWith(scenario[QStringLiteral("verdetto")].toString()), qPrintable(verdetto));
            // The window lists the case's warnings, the verdict waits on them.
            auto* lista = ctl<QListWidget>(*finestraVerifica(), "AvvisiVerifica");
            for (const QJsonValue& a : scenario[QStringLiteral("avvisi")].toArray())
                QVERIFY2(!lista->findItems(a.toString(), Qt::MatchContains).isEmpty(), qPrintable(a.toString()));
            QCOMPARE(verdetto.contains(QStringLiteral("non valutabile")), lista->count() > 0);
        }
        if (scenario.contains(QStringLiteral("camino"))) {  // the stack window, the tool's --camino
            QVERIFY(strumento("camino", "--camino"));
            for (const Grandezza* g : vista::RisultatiCaminoMostrati()) casellaComeStrumento(*finestraCamino(), *g);
            auto* note = ctl<QListWidget>(*finestraCamino(), "NoteCamino");
            QStringList righe;
            for (int k = 0; k < note->count(); ++k) righe << note->item(k)->text();
            QCOMPARE(righe.join(QStringLiteral(" | ")), x[n.indexOf(QLatin1String(batch::ColonnaNoteCamino))]);
            for (const QJsonValue& a : scenario[QStringLiteral("note")].toArray())
                QVERIFY2(righe.join(u' ').contains(a.toString()), qPrintable(a.toString()));
        }
        const QJsonObject testi = scenario[QStringLiteral("testi")].toObject();
        for (auto i = testi.begin(); i != testi.end(); ++i) {  // a box's text, or an answer's
            auto* risposta = qobject_cast<QLabel*>(dellAndamento(i.key()));
            QCOMPARE(risposta ? risposta->text() : casella(i.key())->text(), i.value().toString());
        }
    }
};

QTEST_MAIN(TestScenari)
#include "test_scenari.moc"
