#include "chart/ctrgraficas.h"
#include "chart/graficos.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    // Until the main window is in: the chart showing curve 1, (0,0) to (1,1).
    ctrgraficas chart;
    chart.setObjectName(QStringLiteral("ctrgraficas1"));
    chart.setWindowTitle(QStringLiteral("Curvexa"));
    chart.UserControl_InitProperties();
    chart.setTituloCaption(QStringLiteral("Curvexa"));
    chart.setNumGraf(QStringLiteral("1"));
    Curva &c = curvas(1);
    c.activa = platform::vbTrue;
    c.npuntos = 2;
    c.puntos.redim(2);
    c.puntos(2) = Punto{1, 1};
    c.tipoajuste = ajusteSegmentos;
    c.verpuntos = 1;
    c.grosor = 1;
    c.posicionx = -1;
    c.posiciony = -1;
    chart.resize(800, 560);
    chart.show();
    chart.actualiza();
    return app.exec();
}
