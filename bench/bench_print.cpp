// Timing of the paged text printer: a long text laid out on the recording
// printer and written as a PDF by the system printer.
// Run by hand: ./build/bench/bench_print

#include "language/imprimir.h"
#include "platform/msgbox.h"
#include "platform/printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString textoLargo(int caracteres)
{
    QString t;
    int n = 0;
    while (t.size() < caracteres) {
        t += QStringLiteral("%1=Texto n\u00famero %1 con palabras\tque se parten al llegar al borde de la p\u00e1gina\r\n").arg(++n);
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
            std::printf("recording printer: %d characters, %d pages, %.1f ms\n", int(texto.size()), rp.pagesPrinted,
                        t.nsecsElapsed() / 1e6);
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
            std::printf("PDF file:          %d characters, %.1f ms\n", int(texto.size()), t.nsecsElapsed() / 1e6);
            platform::setPrinter(nullptr);
        }
    }
    return 0;
}
