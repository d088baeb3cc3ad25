#include "language/frmIdioma.h"

#include "language/idiomas.h"
#include "language/imprimir.h"
#include "language/ini.h"
#include "platform/flexgrid.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/textfile.h"
#include "platform/vberror.h"

#include <QAbstractItemModel>
#include <QCloseEvent>
#include <QDate>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace
{

QPointer<frmIdioma> &instancia()
{
    static QPointer<frmIdioma> f;
    return f;
}

using Entrada = std::pair<QString, QString>; // key, value

// The entries of every section of the file, in file order, by the section's
// lower-case name; of two sections with one name only the first counts. Empty
// lines are skipped, a section ends at the next header or at the end of the
// file, and a line without "=" has no key and is no entry. The file is read
// once, however many sections it holds.
QHash<QString, QList<Entrada>> entradassecciones(const QString &fichero)
{
    const QStringList lineas = platform::readLines(fichero);
    QHash<QString, QList<Entrada>> secciones;
    QList<Entrada> *actual = nullptr; // null outside a section that counts
    for (const QString &l : lineas) {
        if (l.startsWith(QLatin1Char('['))) {
            const QString nombre = l.mid(1, l.size() - 2).toLower();
            actual = secciones.contains(nombre) ? nullptr : &secciones[nombre];
            continue;
        }
        const qsizetype igual = l.indexOf(QLatin1Char('='));
        if (!actual || l.isEmpty() || igual < 0)
            continue;
        actual->append({l.left(igual), l.mid(igual + 1)});
    }
    return secciones;
}

// The entries of the first section named `seccion` (without regard to case).
QList<Entrada> entradasseccion(const QHash<QString, QList<Entrada>> &secciones, const QString &seccion)
{
    return secciones.value(seccion.toLower());
}

// Puts the keys of the section `seccion` of `fichero` into column 0, one new
// row each; returns their number.
platform::Integer ponernumeracion(platform::FlexGrid *g, const QList<Entrada> &entradas, const QString &fichero,
                                  const QString &seccion)
{
    // The count is a 16-bit number: a section with more entries than it
    // holds is not one the window can show. Nothing is added to the grid.
    if (entradas.size() > std::numeric_limits<platform::Integer>::max())
        throw platform::FileError(platform::vberr::Overflow,
                                  QStringLiteral("Cannot read %1: more than %2 entries in [%3]")
                                      .arg(fichero)
                                      .arg(int(std::numeric_limits<platform::Integer>::max()))
                                      .arg(seccion));
    platform::Integer k = 0;
    for (const Entrada &e : entradas) {
        ++k;
        g->setRows(g->Rows() + 1);
        g->setTextMatrix(k, 0, e.first);
    }
    return k;
}

// Puts the values into column `columna`, the k-th entry into row k.
void ponertextos(platform::FlexGrid *g, const QList<Entrada> &entradas, int columna)
{
    int k = 0;
    for (const Entrada &e : entradas) {
        ++k;
        // Entries beyond the first language's get rows of their own, so that
        // no text of the file is lost by a save.
        if (k >= g->Rows()) {
            g->setRows(k + 1);
            g->setTextMatrix(k, 0, e.first);
        }
        g->setTextMatrix(k, columna, e.second);
    }
}

// Window size when it opens, in pixels.
constexpr int anchoinicial = 640;
constexpr int altoinicial = 440;
constexpr int anchominimo = 380;
constexpr int altominimo = 240;

bool deotraventana(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

int apixeles(double twips)
{
    return static_cast<int>(std::lround(platform::pixelsFromTwips(twips)));
}

} // namespace

frmIdioma::frmIdioma(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmIdioma"));
    // Small enough to set aside, large enough for the three buttons and a
    // few rows of the grid.
    setMinimumSize(anchominimo, altominimo);
    resize(anchoinicial, altoinicial);

    MSFlexIdiomas = new platform::FlexGrid(0, 1, 2, this);
    MSFlexIdiomas->setObjectName(QStringLiteral("MSFlexIdiomas"));
    // A language file has more texts than the window shows; with its scroll
    // bar always in place the language columns keep their room.
    MSFlexIdiomas->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(MSFlexIdiomas, &platform::FlexGrid::Click, this, &frmIdioma::MSFlexIdiomas_Click);
    // The editor floats over a cell: once the cells move under it, it leaves.
    connect(MSFlexIdiomas, &platform::FlexGrid::Scroll, this, [this]() {
        if (txtidioma->isVisible())
            txtidioma->hide();
    });

    txtidioma = new QLineEdit(this);
    txtidioma->setObjectName(QStringLiteral("txtidioma"));
    txtidioma->hide();
    txtidioma->installEventFilter(this);
    connect(txtidioma, &QLineEdit::textChanged, this, &frmIdioma::txtidioma_Change);

    btnuevo = new QPushButton(this);
    btnuevo->setObjectName(QStringLiteral("btnuevo"));
    connect(btnuevo, &QPushButton::clicked, this, &frmIdioma::btnuevo_Click);
    btguardar = new QPushButton(this);
    btguardar->setObjectName(QStringLiteral("btguardar"));
    connect(btguardar, &QPushButton::clicked, this, &frmIdioma::btguardar_Click);
    btimprimir = new QPushButton(this);
    btimprimir->setObjectName(QStringLiteral("btimprimir"));
    connect(btimprimir, &QPushButton::clicked, this, &frmIdioma::btimprimir_Click);
}

frmIdioma::~frmIdioma() = default;

void frmIdioma::colocarcontroles()
{
    const double ancho = platform::twipsFromPixels(width());
    const double alto = platform::twipsFromPixels(height());
    MSFlexIdiomas->moveTwips(100, 100, static_cast<int>(std::max(ancho - 300, 300.0)),
                             static_cast<int>(std::max(alto - 1000, 300.0)));
    // The buttons stand in a row in the strip under the grid.
    const int alturaboton = std::max(btguardar->sizeHint().height(), 26);
    const int anchoboton = 110;
    const int y = MSFlexIdiomas->geometry().bottom() + 1 +
                  (apixeles(alto) - MSFlexIdiomas->geometry().bottom() - 1 - alturaboton) / 2;
    int x = apixeles(100);
    for (QPushButton *b : {btnuevo, btguardar, btimprimir}) {
        b->setGeometry(x, y, anchoboton, alturaboton);
        x += anchoboton + 8;
    }
}

void frmIdioma::anchocolumnas()
{
    // At most four language columns share the room beside the identifiers,
    // within the grid's frame and clear of its vertical scroll bar, so that
    // they fill the visible width without scrolling it; they widen and
    // narrow with the window.
    platform::FlexGrid *g = MSFlexIdiomas;
    QTableView *v = g->view();
    const int libre = g->width() - 2 * v->frameWidth() - apixeles(g->ColWidth(0)) -
                      v->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v->verticalScrollBar());
    const int n = std::max(0, std::min<int>(numidiomas, static_cast<int>(listaidiomas.size())));
    const int ancho = std::max(libre, 0) / std::clamp(n, 1, 4);
    for (int c = 1; c < g->Cols(); ++c)
        g->setColWidth(c, static_cast<int>(platform::twipsFromPixels(ancho)));
}

void frmIdioma::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    colocarcontroles();
    if (cargado_)
        anchocolumnas();
}

void frmIdioma::Form_Load()
{
    setWindowTitle(leertexto(1));
    btguardar->setText(leertexto(12));
    btnuevo->setText(leertexto(11));
    btimprimir->setText(leertexto(13));

    colocarcontroles();

    platform::FlexGrid *g = MSFlexIdiomas;
    const int n = std::max(0, std::min<int>(numidiomas, static_cast<int>(listaidiomas.size())));
    // The grid keeps at least one column beside the identifiers; with no
    // language in the file it stays empty.
    g->setCols(std::max(n, 1) + 1);
    g->setRows(1);
    g->setTextMatrix(0, 0, leertexto(1));
    g->setColAlignment(0, platform::flexAlignCenterCenter);

    for (int i = 1; i <= n; ++i) {
        g->setRow(0);
        g->setCol(i);
        g->setCellAlignment(platform::flexAlignCenterCenter);
        g->setCellBackColor(g->BackColorFixed());
        g->setCellFontBold(listaidiomas.at(i - 1) == idiomaactual);
        g->setText(listaidiomas.at(i - 1));
    }

    if (n > 0) {
        try {
            const auto secciones = entradassecciones(ficheroidioma);
            ponernumeracion(g, entradasseccion(secciones, listaidiomas.at(0)), ficheroidioma, listaidiomas.at(0));
            for (int i = 1; i <= n; ++i)
                ponertextos(g, entradasseccion(secciones, listaidiomas.at(i - 1)), i);
        } catch (const platform::VbError &) {
            // What was read stays on view; the file itself is left alone.
            platform::msgbox(textofallofichero(), platform::vbCritical, leertexto(75));
        }
    }
    // The identifier column shows its texts whole.
    QHeaderView *identificadores = g->view()->verticalHeader();
    g->setColWidth(0, static_cast<int>(platform::twipsFromPixels(
                          std::max(apixeles(g->ColWidth(0)), identificadores->sizeHint().width()))));
    anchocolumnas();

    modificado = false;
    nuevo = false;
    cargado_ = true;
}

void frmIdioma::leernumeracion(const QString &fichero, const QString &seccion, Integer &numero)
{
    numero = ponernumeracion(MSFlexIdiomas, entradasseccion(entradassecciones(fichero), seccion), fichero, seccion);
}

void frmIdioma::leertodoidioma(const QString &fichero, const QString &seccion, Integer columna)
{
    ponertextos(MSFlexIdiomas, entradasseccion(entradassecciones(fichero), seccion), columna);
}

void frmIdioma::colocareditor()
{
    platform::FlexGrid *g = MSFlexIdiomas;
    // Bring the cell into view first, so the editor lands on it.
    if (g->Row() >= g->FixedRows() && g->Col() >= g->FixedCols()) {
        QTableView *v = g->view();
        v->scrollTo(v->model()->index(g->Row() - g->FixedRows(), g->Col() - g->FixedCols()));
    }
    txtidioma->setText(g->Text());
    txtidioma->setGeometry(apixeles(g->Left() + g->ColPos(g->Col())),
                           apixeles(g->Top() + g->RowPos(g->Row())), apixeles(g->CellWidth()),
                           apixeles(g->CellHeight()));
    txtidioma->show();
    txtidioma->raise();
    txtidioma->setFocus(Qt::OtherFocusReason);
}

void frmIdioma::MSFlexIdiomas_Click()
{
    // The identifier column is not edited.
    if (MSFlexIdiomas->Rows() < 2 || MSFlexIdiomas->Col() < MSFlexIdiomas->FixedCols())
        return;
    colocareditor();
}

void frmIdioma::txtidioma_Change()
{
    MSFlexIdiomas->setText(txtidioma->text());
    modificado = true;
}

void frmIdioma::txtidioma_GotFocus()
{
    if (!txtidioma->text().isEmpty())
        txtidioma->selectAll();
}

void frmIdioma::txtidioma_KeyPress(int &KeyAscii)
{
    if (KeyAscii != 13)
        return;
    platform::FlexGrid *g = MSFlexIdiomas;
    g->setText(txtidioma->text());
    if (g->Row() < g->Rows() - 1) {
        g->setRow(g->Row() + 1);
        colocareditor();
        txtidioma->selectAll();
    } else {
        txtidioma_LostFocus();
    }
}

void frmIdioma::txtidioma_LostFocus()
{
    txtidioma->hide();
}

bool frmIdioma::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtidioma) {
        switch (event->type()) {
        // Another window taking over for a while (a message box, a switch to
        // another program) neither moves nor closes the editor.
        case QEvent::FocusIn:
            if (!deotraventana(static_cast<QFocusEvent *>(event)->reason()))
                txtidioma_GotFocus();
            break;
        case QEvent::FocusOut:
            if (!deotraventana(static_cast<QFocusEvent *>(event)->reason()))
                txtidioma_LostFocus();
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                int KeyAscii = 13;
                txtidioma_KeyPress(KeyAscii);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmIdioma::btnuevo_Click()
{
    if (numidiomas >= maxIdiomas || nuevo)
        return;
    platform::FlexGrid *g = MSFlexIdiomas;
    const int c = g->Cols();
    g->setCols(c + 1);
    g->setColWidth(c, g->ColWidth(c - 1));
    g->setColAlignment(c, platform::flexAlignLeftCenter);
    g->setRow(0);
    g->setCol(c);
    g->setCellAlignment(platform::flexAlignCenterCenter);
    g->setCellBackColor(g->BackColorFixed());
    nuevo = true;
}

bool frmIdioma::escribirfichero(const QStringList &lineas)
{
    try {
        platform::writeLinesAtomic(ficheroidioma, lineas);
        return true;
    } catch (const platform::VbError &) {
        platform::msgbox(textofallofichero(), platform::vbCritical, leertexto(75));
        return false;
    }
}

void frmIdioma::btguardar_Click()
{
    if (!modificado)
        return;
    platform::FlexGrid *g = MSFlexIdiomas;
    const int filas = g->Rows();
    const int ultima = g->Cols() - 1;
    const int n = std::max(0, std::min<int>(numidiomas, static_cast<int>(listaidiomas.size())));

    // Each language with the identifiers of column 0 in row order.
    auto seccion = [&](QStringList &lineas, const QString &nombre, int columna) {
        lineas << QLatin1Char('[') + nombre + QLatin1Char(']');
        for (int r = 1; r < filas; ++r)
            lineas << g->TextMatrix(r, 0) + QLatin1Char('=') + g->TextMatrix(r, columna);
        lineas << QString();
    };

    // The language choice is the one the file holds now (a switch made in
    // this run is kept); the running language when the file names none.
    QString eleccion;
    try {
        eleccion = leerini(ficheroidioma, QStringLiteral("idioma"), QStringLiteral("idioma"));
    } catch (const platform::VbError &) {
    }
    if (eleccion.isEmpty())
        eleccion = idiomaactual;
    QStringList lineas{QStringLiteral("[idioma]"), QStringLiteral("idioma=") + eleccion, QString()};
    for (int i = 1; i <= n && i <= ultima; ++i)
        seccion(lineas, listaidiomas.at(i - 1), i);

    if (g->TextMatrix(0, ultima).isEmpty()) {
        // The languages that have names are saved all the same.
        if (!escribirfichero(lineas)) {
            errorguardar = true;
            return;
        }
        platform::msgbox(leertexto(5), platform::vbCritical, leertexto(1));
        g->setRow(0);
        g->setCol(ultima);
        MSFlexIdiomas_Click();
        errorguardar = true;
        return;
    }

    if (nuevo)
        seccion(lineas, g->TextMatrix(0, ultima), ultima);
    if (!escribirfichero(lineas)) {
        // Nothing changed: the edits stay on view, unsaved.
        errorguardar = true;
        return;
    }
    if (nuevo) {
        ++numidiomas;
        listaidiomas.append(g->TextMatrix(0, ultima));
    }

    rellenarmenuidiomas();

    modificado = false;
    nuevo = false;
    errorguardar = false;
}

void frmIdioma::Form_Unload(Integer &Cancel)
{
    if (!modificado)
        return;
    const int respuesta =
        platform::msgbox(leertexto(10) + QLatin1Char(' ') + windowTitle() + QLatin1Char('?'),
                         platform::vbYesNoCancel | platform::vbExclamation, leertexto(1));
    if (respuesta == platform::vbYes) {
        btguardar_Click();
        if (errorguardar) {
            Cancel = platform::vbTrue;
            errorguardar = false;
        }
    } else if (respuesta == platform::vbCancel) {
        Cancel = platform::vbTrue;
    }
}

void frmIdioma::closeEvent(QCloseEvent *event)
{
    Integer Cancel = platform::vbFalse;
    Form_Unload(Cancel);
    if (Cancel != platform::vbFalse)
        event->ignore();
    else
        event->accept();
}

void frmIdioma::btimprimir_Click()
{
    // The title names the printout: the program, then the words for the
    // language file.
    const QString titulo = leertexto(6) + QStringLiteral("  ") + leertexto(7);
    const QString subtitulo = leertexto(8) + QLatin1Char(' ') + platform::dateText(QDate::currentDate());
    try {
        rtxtprint = platform::fromAnsi(platform::readAll(ficheroidioma));
        imprimirtexto(rtxtprint, titulo, subtitulo, QStringLiteral("7"));
    } catch (const std::exception &) {
        platform::msgbox(leertexto(9), platform::vbOKOnly);
    }
}

frmIdioma &formidioma()
{
    if (!instancia()) {
        auto *f = new frmIdioma;
        f->setAttribute(Qt::WA_DeleteOnClose);
        instancia() = f;
        f->Form_Load();
    }
    return *instancia();
}

frmIdioma *formidiomaexistente()
{
    return instancia().data();
}
