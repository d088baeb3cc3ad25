// The document commands of the toolbar: a new document, opening a ".dat"
// file and saving one.
//
// The plain ".dat" format, one byte per character, every line ended by CR LF
// (a file read back may end its lines with LF alone as well):
//   chart title / x-axis caption / y-axis caption
//   per curve in use (at most ten):
//     legend text
//     legend x, two blanks, legend y
//     points, dots (1/0), type, [degree when type >= 4,] thickness, line type,
//       colour -- fields separated by two blanks
//     one line per point: x, three blanks, y
//   "fin"
// A title that reads "[GENERAL]" or a legend that reads "fin" (any case,
// blanks after it allowed) is written with one more blank, which reading
// takes off again. Number fields are written as the fields hold them when
// the reader gets the same number back from them; any other (an empty one,
// one with blanks or commas) as the number the draw command reads from it.

#include "app/principal.h"

#include "app/ficherosdatos.h"
#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "language/idiomas.h"
#include "language/iniindice.h"
#include "platform/flexgrid.h"
#include "platform/imagecombo.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/programfolder.h"
#include "platform/textfile.h"
#include "platform/updown.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <charconv>
#include <algorithm>
#include <exception>
#include <iterator>

namespace
{

// Dialog flags of the data files.
constexpr long flagsabrir = 0x20180C;  // long names, file and path must exist, keep folder, no read-only box
constexpr long flagsguardar = 0x20000E; // long names, keep folder, no read-only box, ask before overwriting

const QString separadorcampos = QStringLiteral("  ");
const QString separadorpunto = QStringLiteral("   ");

// Lines of their own meaning: the first line of a keyed data file, and the
// end of the curves.
constexpr QLatin1StringView lineaini("[general]");
constexpr QLatin1StringView lineafin("fin");

[[noreturn]] void finprematuro()
{
    throw platform::FileError(platform::vberr::InputPastEnd, QStringLiteral("Input past end of file"));
}

// True when the file's first line (keyed files end their lines at CR) is
// exactly the header of a keyed data file, in any case; `inicio` holds at
// least the file's first ten bytes. A plain file whose title reads so is
// written with a blank after it.
bool esficheroini(const QByteArray &inicio)
{
    const qsizetype fin = inicio.indexOf('\r');
    const QLatin1StringView primera(QByteArrayView(inicio).first(fin < 0 ? inicio.size() : fin));
    return primera.compare(lineaini, Qt::CaseInsensitive) == 0;
}

} // namespace

QString principal::filtrodatos()
{
    return leertexto(78) + QStringLiteral(" (*.dat)|*.dat|") + leertexto(76) + QStringLiteral(" (*.*)|*.*");
}

void principal::prepararcdialog(const QString &filtro, long flags)
{
    CDialog.Filter = filtro;
    CDialog.FilterIndex = 1;
    CDialog.Flags = flags;
    CDialog.CancelError = true;
    CDialog.InitDir = platform::programFolder();
}

void principal::mensajefichero(bool cancelado)
{
    msgtexto = cancelado ? leertexto(71) : textofallofichero();
    msgestilo = static_cast<Integer>(cancelado ? platform::vbInformation : platform::vbCritical);
    msgtitulo = leertexto(75);
    msgrespuesta = static_cast<Integer>(platform::msgbox(msgtexto, msgestilo, msgtitulo));
}

void principal::mensajefallo(std::exception_ptr fallo)
{
    try {
        std::rethrow_exception(fallo);
    } catch (const platform::VbError &e) {
        mensajefichero(e.number() == platform::vberr::CancelError);
    } catch (...) {
        // Anything else (memory exhausted by a huge file included) is a
        // failure of the file, not of the program.
        mensajefichero(false);
    }
}

void principal::nuevofichero()
{
    TXTtitulog->setText(leertexto(20));
    TXTleyendax->setText(QStringLiteral("X"));
    TXTleyenday->setText(QStringLiteral("Y"));

    UPDng->setMin(1);
    UPDng->setMax(10);
    TXTng->setText(QStringLiteral("1"));

    for (int i = 0; i < numpestanas; ++i) {
        if (!SSTab->isTabVisible(i))
            continue;
        borrarcurva(static_cast<Integer>(i));
        curvas(i + 1).activa = platform::vbFalse;
        if (i > 0)
            SSTab->setTabVisible(i, false);
    }

    ctrgraficas1->setTituloCaption(TXTtitulog->text());
    ctrgraficas1->setLeyendXCaption(TXTleyendax->text());
    ctrgraficas1->setLeyendYCaption(TXTleyenday->text());
    ctrgraficas1->clear();
    ctrgraficas1->setNumGraf(QString::number(platform::cint(TXTng->text(), QLocale::c())));
    ctrgraficas1->actualiza();
}

void principal::abrir()
{
    abrirdatos(true);
}

bool principal::abrirfichero()
{
    return abrirdatos(false);
}

bool principal::abrirdatos(bool nuevo)
{
    try {
        prepararcdialog(filtrodatos(), flagsabrir);
        CDialog.ShowOpen();
        if (CDialog.FileName.isEmpty())
            return false;
        // The document is given up only once a file was chosen: a cancelled
        // dialog leaves it as it was.
        if (nuevo)
            nuevofichero();
        // The plain layout is read line by line as the curves take them;
        // a data file in the keyed layout is read by its own rules.
        platform::LineReader lector(CDialog.FileName, platform::LineBreaks::CrOrLf);
        if (esficheroini(lector.peek(10)))
            leerdatosini(IniIndice::leer(CDialog.FileName));
        else
            leerdatos(lector);
        return true;
    } catch (...) {
        mensajefallo(std::current_exception());
        return false;
    }
}

void principal::leerdatos(platform::LineReader &lector)
{
    // A file that ends inside a block fails at the first line it lacks.
    const auto siguiente = [&lector]() { return lector.readLine(); };

    TXTtitulog->setText(ficheros::textoleido(siguiente(), lineaini));
    TXTleyendax->setText(siguiente());
    TXTleyenday->setText(siguiente());

    int n = 0;
    while (!lector.atEnd()) {
        const QString leyenda = siguiente();
        if (leyenda.compare(lineafin, Qt::CaseInsensitive) == 0)
            break;
        ++n;
        if (n > numpestanas)
            throw platform::VbError(platform::vberr::SubscriptOutOfRange, QStringLiteral("More than ten curves"));
        const auto k = static_cast<std::size_t>(n - 1);
        TXTlg[k]->setText(ficheros::textoleido(leyenda, lineafin));
        SSTab->setTabVisible(n - 1, true);
        TXTng->setText(QString::number(n));

        double x = 0.0;
        double y = 0.0;
        ficheros::leerdosnumeros(siguiente(), x, y);
        TXTx[k]->setText(platform::generalNumberExact(x));
        TXTy[k]->setText(platform::generalNumberExact(y));

        // Six fields for the types without a degree, seven with one; the
        // type is the third. A line that is short is refused before the tab
        // takes any of it.
        const QStringList p = ficheros::camposparametros(siguiente());
        if (p.size() < 3)
            finprematuro();
        const int tipo = ficheros::entero(p[2], 0, ajusteFourier);
        const bool congrado = tipo >= ajusteMinimosX;
        if (p.size() < (congrado ? 7 : 6))
            throw platform::VbError(platform::vberr::SubscriptOutOfRange,
                                    QStringLiteral("Too few fields on a parameter line"));

        platform::FlexGrid *g = MSFdata[k];
        const ficheros::Relleno relleno(g);
        const int filas = ficheros::entero(p[0], 0, 32767) + 1;
        g->setRows(filas);
        if (p[1] == QLatin1String("0"))
            OPTno[k]->setChecked(true);
        else
            OPTsi[k]->setChecked(true);
        if (CMBunir[k]->currentIndex() == tipo)
            CMBunir_Click(static_cast<Integer>(n - 1));
        else
            CMBunir[k]->setCurrentIndex(tipo); // its click handler fits the degree range

        int siguientecampo = 3;
        if (congrado) {
            const int maximo =
                tipo == ajusteFourier ? platform::cint((filas - 2) / 2.0) : filas - 2;
            UPDgrado[k]->setMax(maximo);
            // A degree above the points is brought down to what they allow,
            // but never below 1, the spinner's least: a Fourier curve of two
            // points keeps the one harmonic it was drawn and saved with.
            const int tope = std::max(maximo, 1);
            const QString &grado = p[3];
            TXTgrado[k]->setText(ficheros::entero(grado, -32768, 32767) <= tope ? grado
                                                                                : QString::number(tope));
            siguientecampo = 4;
        }
        TXTgrosor[k]->setText(p[siguientecampo]);
        CMBtipo[k]->setCurrentIndex(ficheros::entero(p[siguientecampo + 1], 0, 2));
        CMBcolor[k]->setSelectedPosition(ficheros::entero(p[siguientecampo + 2], 0, 15) + 1);

        // The cell texts are written straight into the grid, without a
        // string of their own.
        char texto[platform::generalNumberSize];
        char textoy[platform::generalNumberSize];
        int nx = 0;
        int ny = 0;
        for (int j = 1; j <= filas - 1; ++j) {
            g->setTextMatrix(j, 0, QLatin1StringView(texto, std::to_chars(texto, std::end(texto), j).ptr));
            g->setRow(j);
            g->setCol(0);
            g->setCellAlignment(platform::flexAlignCenterCenter);
            ficheros::textosdosnumeros(siguiente(), texto, nx, textoy, ny);
            g->setTextMatrix(j, 1, QLatin1StringView(texto, nx));
            g->setTextMatrix(j, 2, QLatin1StringView(textoy, ny));
        }
    }
}

QStringList principal::lineasdocumento() const
{
    using ficheros::lineasegura;
    using ficheros::textoescrito;
    QStringList lineas;
    lineas << textoescrito(lineasegura(TXTtitulog->text()), lineaini) << lineasegura(TXTleyendax->text())
           << lineasegura(TXTleyenday->text());
    for (int i = 0; i < numpestanas; ++i) {
        if (!SSTab->isTabVisible(i))
            continue;
        const auto k = static_cast<std::size_t>(i);
        const platform::FlexGrid *g = MSFdata[k];
        lineas << textoescrito(lineasegura(TXTlg[k]->text()), lineafin);
        lineas << ficheros::campoposicion(TXTx[k]->text()) + separadorcampos +
                      ficheros::campoposicion(TXTy[k]->text());
        const int tipo = CMBunir[k]->currentIndex();
        QStringList p;
        p << QString::number(g->Rows() - 1) << QString::number(OPTsi[k]->isChecked() ? 1 : 0)
          << QString::number(tipo);
        if (tipo >= ajusteMinimosX)
            p << ficheros::campoentero(TXTgrado[k]->text());
        p << ficheros::campoentero(TXTgrosor[k]->text()) << QString::number(CMBtipo[k]->currentIndex())
          << QString::number(CMBcolor[k]->selectedPosition() - 1);
        lineas << p.join(separadorcampos);
        for (int j = 1; j < g->Rows(); ++j)
            lineas << ficheros::campopunto(g->TextMatrix(j, 1)) + separadorpunto +
                          ficheros::campopunto(g->TextMatrix(j, 2));
    }
    lineas << QString(lineafin);
    return lineas;
}

void principal::guardarfichero()
{
    try {
        prepararcdialog(filtrodatos(), flagsguardar);
        CDialog.ShowSave();
        if (CDialog.FileName.isEmpty())
            return;
        // The file is replaced only once every line is written: a failure
        // leaves the file that was there as it was.
        platform::writeLinesAtomic(CDialog.FileName, lineasdocumento());
    } catch (...) {
        mensajefallo(std::current_exception());
    }
}
