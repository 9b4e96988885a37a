// Figures for the forms on a real X display (run under Xvfb):
//   bench_forms calcola [DIR]     methane walk by user actions; "&Calcola" click to Form7
//                                 shown and painted; resident memory after the walk;
//                                 with DIR, a screenshot of each form after the walk
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/GestoreForm.h"
#include "Misure.h"
#include "ui/Dialoghi.h"

using namespace termix;
using namespace termix::misure;

namespace {



void aspettaAttiva(QWidget& f) {
    if (!QTest::qWaitForWindowActive(&f)) std::fprintf(stderr, "%s non attivo\n", qPrintable(f.objectName()));
}

template <class T>
T* w(QWidget& f, const char* nome) {
    return f.findChild<T*>(QString::fromLatin1(nome));
}

void scrivi(QWidget& f, const char* casella, const char* testo) {
    auto* c = w<QLineEdit>(f, casella);
    c->setFocus();
    QTest::keyClicks(c, QString::fromUtf8(testo));
}

void foto(QWidget& f, const QString& dir, const char* nome) {
    GestoreForm::mostra(static_cast<FormBase&>(f));
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    QScreen* s = QGuiApplication::primaryScreen();
    s->grabWindow(0).save(dir + QLatin1Char('/') + QString::fromLatin1(nome) + QStringLiteral(".png"));
}

int calcola(int argc, char** argv) {
    QApplication app(argc, argv);
    caricaTraduzioneItaliana();
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    Form1& f1 = GestoreForm::form1();
    GestoreForm::mostra(f1);
    aspettaAttiva(f1);
    if (!dir.isEmpty()) foto(f1, dir, "form1");
    QTest::mouseClick(w<QPushButton>(f1, "cmdCont"), Qt::LeftButton);
    Form2& f2 = GestoreForm::form2();
    aspettaAttiva(f2);
    scrivi(f2, "Text1", "Impianto prova");
    scrivi(f2, "Text20", "100");
    QTest::mouseClick(w<QRadioButton>(f2, "Option1"), Qt::LeftButton);
    QTest::mouseClick(w<QPushButton>(f2, "Command4"), Qt::LeftButton);
    QTest::mouseClick(w<QPushButton>(f2, "Command2"), Qt::LeftButton);
    Form3& f3 = GestoreForm::form3();
    aspettaAttiva(f3);
    scrivi(f3, "Text2", "20");
    scrivi(f3, "Text4", "20");
    scrivi(f3, "Text5", "50");
    scrivi(f3, "Text8", "20");
    scrivi(f3, "Text10", "5");

    Vernice v;
    std::vector<double> tempi;
    for (int i = 0; i < 30; ++i) {
        if (GestoreForm::esiste(QStringLiteral("Form7"))) GestoreForm::form7().hide();
        GestoreForm::mostra(f3);
        aspettaAttiva(f3);
        QCoreApplication::processEvents();
        QElapsedTimer t;
        // Form7 and Form8 exist by now: Form3 had them made while it waited.
        if (!GestoreForm::esiste(QStringLiteral("Form7"))) std::fprintf(stderr, "Form7 non ancora creato\n");
        GestoreForm::form7().installEventFilter(&v);
        v.dipinto = false;
        t.start();
        QTest::mouseClick(w<QPushButton>(f3, "Command4"), Qt::LeftButton);
        if (!GestoreForm::form7().isVisible()) {
            std::fprintf(stderr, "Form7 non mostrato: il calcolo si è fermato (portata %g, potere %g, Text1 %s)\n", modulo1().PortataComb.v, modulo1().PotereCalorifico.v, qPrintable(w<QLineEdit>(f3, "Text1")->text()));
            return 1;
        }
        aspettaPittura(v);
        tempi.push_back(t.nsecsElapsed() / 1e6);
    }
    const double primo = tempi.front();
    std::vector<double> caldi(tempi.begin() + 1, tempi.end());
    std::sort(caldi.begin(), caldi.end());
    std::printf("calcola: clic su \"&Calcola\" -> Form7 mostrato e dipinto: primo %.2f ms (Form7 e Form8 creati mentre Form3 attendeva), "
                "poi mediana %.2f ms, minimo %.2f ms, massimo %.2f ms su %zu prove\n",
                primo, caldi[caldi.size() / 2], caldi.front(), caldi.back(), caldi.size());
    QTest::mouseClick(w<QPushButton>(GestoreForm::form7(), "Command3"), Qt::LeftButton);
    aspettaAttiva(GestoreForm::form8());
    std::printf("calcola: memoria residente dopo il giro completo %.1f MB\n", residenteMB());
    std::printf("calcola: Form7.Text1 = %s, Form8.Text1 = %s\n",
                qPrintable(w<QLineEdit>(GestoreForm::form7(), "Text1")->text()),
                qPrintable(w<QLineEdit>(GestoreForm::form8(), "Text1")->text()));
    if (!dir.isEmpty()) {
        foto(f2, dir, "form2");
        foto(f3, dir, "form3");
        foto(GestoreForm::form7(), dir, "form7");
        foto(GestoreForm::form8(), dir, "form8");
    }
    GestoreForm::distruggiTutto();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "calcola") return calcola(argc, argv);
    std::fprintf(stderr, "uso: bench_forms calcola [cartella-foto]\n");
    return 2;
}
