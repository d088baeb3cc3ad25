#pragma once
// Helpers of the data file and import tests: the main window started on a
// language file of its own, a curve tab filled through its controls, and a
// tab's state read back in one comparable value.

#include "ventanas.h"

#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "platform/flexgrid.h"
#include "platform/imagecombo.h"
#include "platform/updown.h"
#include "textbox/textextend.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

inline QMap<int, QString> textosficheros()
{
    QMap<int, QString> t;
    for (int id = 1; id <= 80; ++id)
        t.insert(id, QStringLiteral("T%1").arg(id));
    t.insert(20, QStringLiteral("Title"));
    t.insert(24, QStringLiteral("Legend"));
    t.insert(71, QStringLiteral("Cancelled"));
    t.insert(72, QStringLiteral("Failed"));
    t.insert(75, QStringLiteral("File"));
    return t;
}

// Starts the main window on a language file in `dir`, which is also the
// program folder.
inline principal &arrancarventana(const QTemporaryDir &dir)
{
    escribirfichero(dir.filePath(QStringLiteral("idioma.lng")), lineascrlf(ficheroprueba(textosficheros())));
    ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));
    platform::setProgramFolder(dir.path());
    instalarmenuidiomasprincipal();
    cargaridiomas();
    return formprincipal();
}

// One curve tab as the tests see it.
struct Pestana {
    QString leyenda;
    QString x;
    QString y;
    bool puntos = true; // dots on
    int tipo = 0;
    QString grado = QStringLiteral("1");
    QString grosor = QStringLiteral("1");
    int linea = 0;
    int color = 0;
    QList<QPair<QString, QString>> datos;

    bool operator==(const Pestana &) const = default;
};

inline char *toString(const Pestana &t)
{
    QStringList d;
    for (const auto &p : t.datos)
        d << p.first + QLatin1Char('|') + p.second;
    return qstrdup(QStringLiteral("[%1] (%2, %3) dots %4 type %5 degree %6 thick %7 line %8 colour %9 points %10")
                       .arg(t.leyenda, t.x, t.y)
                       .arg(t.puntos)
                       .arg(t.tipo)
                       .arg(t.grado, t.grosor)
                       .arg(t.linea)
                       .arg(t.color)
                       .arg(d.join(QLatin1Char(' ')))
                       .toLocal8Bit()
                       .constData());
}

inline void ponerpestana(principal &p, int i, const Pestana &t)
{
    const auto k = static_cast<std::size_t>(i);
    p.TXTlg[k]->setText(t.leyenda);
    p.TXTx[k]->setText(t.x);
    p.TXTy[k]->setText(t.y);
    (t.puntos ? p.OPTsi[k] : p.OPTno[k])->setChecked(true);
    platform::FlexGrid *g = p.MSFdata[k];
    g->setRows(static_cast<int>(t.datos.size()) + 1);
    for (int j = 1; j <= t.datos.size(); ++j) {
        g->setTextMatrix(j, 0, QString::number(j));
        g->setRow(j);
        g->setCol(0);
        g->setCellAlignment(platform::flexAlignCenterCenter);
        g->setTextMatrix(j, 1, t.datos[j - 1].first);
        g->setTextMatrix(j, 2, t.datos[j - 1].second);
    }
    p.CMBunir[k]->setCurrentIndex(t.tipo);
    p.TXTgrado[k]->setText(t.grado);
    p.TXTgrosor[k]->setText(t.grosor);
    p.CMBtipo[k]->setCurrentIndex(t.linea);
    p.CMBcolor[k]->setSelectedPosition(t.color + 1);
}

inline Pestana leerpestana(const principal &p, int i)
{
    const auto k = static_cast<std::size_t>(i);
    Pestana t;
    t.leyenda = p.TXTlg[k]->text();
    t.x = p.TXTx[k]->text();
    t.y = p.TXTy[k]->text();
    t.puntos = p.OPTsi[k]->isChecked();
    t.tipo = p.CMBunir[k]->currentIndex();
    t.grado = p.TXTgrado[k]->text();
    t.grosor = p.TXTgrosor[k]->text();
    t.linea = p.CMBtipo[k]->currentIndex();
    t.color = p.CMBcolor[k]->selectedPosition() - 1;
    const platform::FlexGrid *g = p.MSFdata[k];
    for (int j = 1; j < g->Rows(); ++j)
        t.datos.append({g->TextMatrix(j, 1), g->TextMatrix(j, 2)});
    return t;
}

// Row numbers of a grid's point rows, each with its alignment.
inline bool filasnumeradas(platform::FlexGrid *grid)
{
    const int row = grid->Row();
    const int col = grid->Col();
    bool ok = true;
    for (int j = 1; j < grid->Rows() && ok; ++j) {
        grid->setRow(j);
        grid->setCol(0);
        ok = grid->TextMatrix(j, 0) == QString::number(j) && grid->CellAlignment() == platform::flexAlignCenterCenter;
    }
    grid->setRow(row);
    grid->setCol(col);
    return ok;
}

inline int pestanasvisibles(const principal &p)
{
    int n = 0;
    for (int i = 0; i < p.tabs()->count(); ++i)
        n += p.tabs()->isTabVisible(i) ? 1 : 0;
    return n;
}

// The drawn document in one comparable text: the chart's captions and curve
// count, then every field of the records of the curves drawn, numbers to the
// last bit. The degree counts for the fit types only: the others draw without
// it, and the data file keeps it for the fit types alone.
inline QString documentodibujado(principal &p)
{
    // -0 and 0 are one number (the reader writes both as 0).
    const auto numero = [](double v) { return QString::number(v == 0.0 ? 0.0 : v, 'g', 17); };
    QString s = p.chart()->TituloCaption() + QLatin1Char('|') + p.chart()->LeyendXCaption() +
                QLatin1Char('|') + p.chart()->LeyendYCaption() + QStringLiteral("|n=") + p.chart()->NumGraf();
    const int n = p.chart()->NumGraf().toInt();
    for (int i = 1; i <= n; ++i) {
        const Curva &c = curvas(i);
        s += QStringLiteral("\n[%1] active %2 dots %3 type %4 degree %5 thick %6 line %7 colour %8 at %9 %10 "
                            "box %11 %12 %13 %14:")
                 .arg(c.leyenda)
                 .arg(c.activa)
                 .arg(c.verpuntos)
                 .arg(c.tipoajuste)
                 .arg(c.tipoajuste >= ajusteMinimosX ? c.grado : 0)
                 .arg(c.grosor)
                 .arg(c.tipolinea)
                 .arg(c.color)
                 .arg(numero(c.posicionx), numero(c.posiciony), numero(c.minimo.x), numero(c.minimo.y),
                      numero(c.maximo.x), numero(c.maximo.y));
        s += QStringLiteral(" %1 points").arg(c.npuntos);
        for (const Punto &q : c.puntos.vector())
            s += QLatin1Char(' ') + numero(q.x) + QLatin1Char(',') + numero(q.y);
    }
    return s;
}
