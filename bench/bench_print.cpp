// Timing of the paged text printer (a long text laid out on the recording
// printer and written as a PDF by the system printer) and of the chart's
// picture, clipboard copy and report with ten curves of 32,767 points.
// Run by hand: ./build/bench/bench_print

#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "language/imprimir.h"
#include "platform/msgbox.h"
#include "platform/printer.h"

#include <cmath>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace
{

QString textoLargo(int caracteres)
{
    QString t;
    int n = 0;
    while (t.size() < caracteres) {
        t += QStringLiteral("%1=Texto n\u00famero %1 con palabras\tque se parten al llegar al borde de la "
                            "p\u00e1gina\r\n")
                 .arg(++n);
    }
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::ScriptedMsgBox box;
    for (int caracteres : {32000, 200000}) {
        const QString texto = textoLargo(caracteres);
        {
            platform::RecordingPrinter rp;
            QElapsedTimer t;
            t.start();
            imprimirtexto(texto, QStringLiteral("Idiomas"), QStringLiteral("idioma.lng"));
            std::printf("recording printer: %d characters, %d pages, %.1f ms\n", int(texto.size()),
                        rp.pagesPrinted, t.nsecsElapsed() / 1e6);
        }
        {
            QTemporaryDir dir;
            platform::SystemPrinter sp;
            sp.setPdfOnly(true);
            sp.setPdfFolder(dir.path());
            platform::setPrinter(&sp);
            QElapsedTimer t;
            t.start();
            imprimirtexto(texto, QStringLiteral("Idiomas"), QStringLiteral("idioma.lng"));
            std::printf("PDF file:          %d characters, %.1f ms\n", int(texto.size()),
                        t.nsecsElapsed() / 1e6);
            platform::setPrinter(nullptr);
        }
    }

    // The chart: ten curves of 32,767 points, straight segments with dots.
    ctrgraficas g;
    g.UserControl_InitProperties();
    g.resize(1000, 780);
    g.show();
    curvas.reset();
    for (int k = 1; k <= maxCurvas; ++k) {
        Curva &c = curvas(k);
        c.activa = platform::vbTrue;
        c.npuntos = 32767;
        c.puntos.redim(32767);
        for (int i = 1; i <= 32767; ++i)
            c.puntos(i) = {i * 0.001, std::sin(i * 0.001 + k) * k};
        c.tipoajuste = ajusteSegmentos;
        c.verpuntos = 1;
        c.grosor = 1;
        c.color = k;
        c.leyenda = QStringLiteral("curva %1").arg(k);
        c.posicionx = -1;
        c.posiciony = -1;
    }
    g.setNumGraf(QStringLiteral("10"));
    g.setTextResult(textoLargo(6000));
    g.actualiza();
    auto veces = [](const char *que, int n, const std::function<void()> &f) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < n; ++i)
            f();
        std::printf("%-34s %.2f ms each\n", que, t.nsecsElapsed() / 1e6 / n);
    };
    veces("componergrafica", 20, [&] { g.componergrafica(); });
    veces("btclipb_Click (compose + copy)", 20, [&] { g.btclipb_Click(); });
    {
        platform::RecordingPrinter rp;
        veces("report on the recording printer", 5, [&] { g.btprint_Click(); });
    }
    {
        QTemporaryDir dir;
        platform::SystemPrinter sp;
        sp.setPdfOnly(true);
        sp.setPdfFolder(dir.path());
        platform::setPrinter(&sp);
        veces("report as a PDF file", 5, [&] { g.btprint_Click(); });
        platform::setPrinter(nullptr);
    }
    return 0;
}
