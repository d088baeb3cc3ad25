// The panel of each curve tab: its controls, their set-up when the window
// loads, the reset of a curve and the limits of the degree spinner.

#include "app/principal.h"

#include "chart/graficos.h"
#include "language/idiomas.h"
#include "platform/flexgrid.h"
#include "platform/imagecombo.h"
#include "platform/numbertext.h"
#include "platform/propertybag.h"
#include "platform/updown.h"
#include "textbox/textextend.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{

QString conpuntos(int id)
{
    return leertexto(id) + QLatin1Char(':');
}

template <typename T> T *crear(QWidget *parent, const char *nombre, int i)
{
    auto *w = new T(parent);
    w->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(nombre)).arg(i));
    return w;
}

// The text box decides its own height; keep the Qt layout from changing it.
void fijaraltura(textextend *t)
{
    t->setFixedHeight(qRound(platform::pixelsFromTwips(t->Height())));
}

// A combo at least as wide as its items, in every tab alike: it shows its
// text whole at any window size. Left to itself a combo measures itself
// once, with or without its items depending on whether its tab was on view
// at that moment, and keeps the least width it measured before it had items.
void ajustaritems(QComboBox *c)
{
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setMinimumContentsLength(1);
    c->setSizePolicy(QSizePolicy::Minimum, c->sizePolicy().verticalPolicy());
}

// Least width of the point grids, in twips: the row-number column and two
// value columns of (width - 500) / 2 - 150 twips each, plus room for the
// scroll bar. A grid takes the whole width of its panel.
constexpr int anchorejilla = 4500;

// Width of the degree and thickness displays, in twips.
constexpr int anchodisplay = 345;

// The degree label, spinner and display are in use together. The display
// changes only through its spinner: it is read-only, and greyed only while
// the spinner is off.
void usargrado(QLabel *etiqueta, QLineEdit *display, platform::UpDown *spinner, bool enuso)
{
    etiqueta->setEnabled(enuso);
    spinner->setEnabled(enuso);
    display->setEnabled(enuso);
}

} // namespace

void principal::construirpanel(int i)
{
    QFrame *f = FRMtab.at(static_cast<std::size_t>(i));
    const auto k = static_cast<std::size_t>(i);
    auto *v = new QVBoxLayout(f);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(4);

    TXTlg[k] = crear<textextend>(f, "TXTlg", i);
    TXTlg[k]->UserControl_InitProperties();
    v->addWidget(TXTlg[k]);

    auto *posicion = new QHBoxLayout;
    LBLx[k] = crear<QLabel>(f, "LBLx", i);
    TXTx[k] = crear<textextend>(f, "TXTx", i);
    LBLy[k] = crear<QLabel>(f, "LBLy", i);
    TXTy[k] = crear<textextend>(f, "TXTy", i);
    for (textextend *t : {TXTx[k], TXTy[k]}) {
        t->UserControl_InitProperties();
        t->setFixedWidth(70);
        fijaraltura(t);
    }
    posicion->addWidget(LBLx[k]);
    posicion->addWidget(TXTx[k]);
    posicion->addSpacing(8);
    posicion->addWidget(LBLy[k]);
    posicion->addWidget(TXTy[k]);
    posicion->addStretch(1);
    v->addLayout(posicion);

    auto *datos = new QHBoxLayout;
    LBLdata[k] = crear<QLabel>(f, "LBLdata", i);
    BTadd[k] = crear<QPushButton>(f, "BTadd", i);
    BTadd[k]->setText(QStringLiteral("+"));
    BTdelete[k] = crear<QPushButton>(f, "BTdelete", i);
    BTdelete[k]->setText(QString(QChar(0x2212)));
    BTexcel[k] = crear<QPushButton>(f, "BTexcel", i);
    BTexcel[k]->setText(QStringLiteral("XLS"));
    BTimport[k] = crear<QPushButton>(f, "BTimport", i);
    BTimport[k]->setText(QStringLiteral("TXT"));
    CMBlimitador[k] = crear<QComboBox>(f, "CMBlimitador", i);
    datos->addWidget(LBLdata[k]);
    datos->addStretch(1);
    for (QPushButton *b : {BTadd[k], BTdelete[k], BTexcel[k], BTimport[k]}) {
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("XLS")) + 16);
        datos->addWidget(b);
    }
    ajustaritems(CMBlimitador[k]);
    datos->addWidget(CMBlimitador[k]);
    v->addLayout(datos);

    MSFdata[k] = new platform::FlexGrid(1, 1, 3, f);
    MSFdata[k]->setObjectName(QStringLiteral("MSFdata_%1").arg(i));
    MSFdata[k]->setMinimumSize(qRound(platform::pixelsFromTwips(anchorejilla)), 120);
    MSFdata[k]->installEventFilter(this);
    v->addWidget(MSFdata[k], 1);

    // The in-place editor floats over the grid, outside the layout.
    TXTflex[k] = crear<textextend>(f, "TXTflex", i);
    platform::PropertyBag bag;
    bag.writeProperty(QStringLiteral("Signo"), true);
    bag.writeProperty(QStringLiteral("SelOnFocus"), true);
    bag.writeProperty(QStringLiteral("Appearance"), 1);
    bag.writeProperty(QStringLiteral("Font"), QStringLiteral("MS Sans Serif"));
    bag.writeProperty(QStringLiteral("Header"), false);
    TXTflex[k]->UserControl_ReadProperties(bag);
    TXTflex[k]->hide();
    // The cells show the editor's font, so the editor fills a cell.
    MSFdata[k]->setFont(TXTflex[k]->Font());

    auto *puntos = new QHBoxLayout;
    LBLpuntos[k] = crear<QLabel>(f, "LBLpuntos", i);
    OPTsi[k] = crear<QRadioButton>(f, "OPTsi", i);
    OPTno[k] = crear<QRadioButton>(f, "OPTno", i);
    puntos->addWidget(LBLpuntos[k]);
    puntos->addWidget(OPTsi[k]);
    puntos->addWidget(OPTno[k]);
    puntos->addStretch(1);
    v->addLayout(puntos);

    auto *unir = new QHBoxLayout;
    LBLunir[k] = crear<QLabel>(f, "LBLunir", i);
    CMBunir[k] = crear<QComboBox>(f, "CMBunir", i);
    unir->addWidget(LBLunir[k]);
    unir->addWidget(CMBunir[k], 1);
    v->addLayout(unir);

    // Degree and thickness: a display box with its spinner against its right
    // edge, placed by hand inside a holder.
    auto display = [&](const char *lbl, const char *txt, const char *upd, QLabel *&l, QLineEdit *&t,
                       platform::UpDown *&u, QHBoxLayout *row) {
        l = crear<QLabel>(f, lbl, i);
        auto *holder = new QWidget(f);
        t = crear<QLineEdit>(holder, txt, i);
        t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Changed through the spinner only: it looks like any field, but
        // takes neither the focus nor typing.
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::NoFocus);
        u = crear<platform::UpDown>(holder, upd, i);
        const int h = t->sizeHint().height();
        t->setGeometry(0, 0, qRound(platform::pixelsFromTwips(anchodisplay)), h);
        u->setGeometry(t->x() + t->width(), 0, u->sizeHint().width(), h);
        holder->setFixedSize(t->width() + u->width(), h);
        row->addWidget(l);
        row->addWidget(holder);
    };
    auto *ajuste = new QHBoxLayout;
    display("LBLgrado", "TXTgrado", "UPDgrado", LBLgrado[k], TXTgrado[k], UPDgrado[k], ajuste);
    ajuste->addSpacing(12);
    display("LBLgrosor", "TXTgrosor", "UPDgrosor", LBLgrosor[k], TXTgrosor[k], UPDgrosor[k], ajuste);
    ajuste->addStretch(1);
    v->addLayout(ajuste);

    auto *linea = new QHBoxLayout;
    LBLtipo[k] = crear<QLabel>(f, "LBLtipo", i);
    CMBtipo[k] = crear<QComboBox>(f, "CMBtipo", i);
    LBLcolor[k] = crear<QLabel>(f, "LBLcolor", i);
    CMBcolor[k] = crear<platform::ImageCombo>(f, "CMBcolor", i);
    ajustaritems(CMBunir[k]);
    ajustaritems(CMBtipo[k]);
    ajustaritems(CMBcolor[k]);
    linea->addWidget(LBLtipo[k]);
    linea->addWidget(CMBtipo[k]);
    linea->addSpacing(8);
    linea->addWidget(LBLcolor[k]);
    linea->addWidget(CMBcolor[k]);
    linea->addStretch(1);
    v->addLayout(linea);

    const auto Index = static_cast<Integer>(i);
    connect(CMBunir[k], &QComboBox::currentIndexChanged, this, [this, Index] { CMBunir_Click(Index); });
    connect(BTadd[k], &QPushButton::clicked, this, [this, Index] { BTadd_Click(Index); });
    connect(BTdelete[k], &QPushButton::clicked, this, [this, Index] { BTdelete_Click(Index); });
    connect(MSFdata[k], &platform::FlexGrid::Click, this, [this, Index] { MSFdata_Click(Index); });
    connect(MSFdata[k], &platform::FlexGrid::Scroll, this, [this, Index] { MSFdata_Scroll(Index); });
    connect(TXTflex[k], &textextend::Change, this, [this, Index] { TXTflex_Change(Index); });
    connect(TXTflex[k], &textextend::LostFocus, this, [this, Index] { TXTflex_LostFocus(Index); });
    connect(BTexcel[k], &QPushButton::clicked, this, [this, Index] { BTexcel_Click(Index); });
    connect(BTimport[k], &QPushButton::clicked, this, [this, Index] { BTimport_Click(Index); });
    connect(CMBlimitador[k], &QComboBox::currentIndexChanged, this, [this, Index] { CMBlimitador_Click(Index); });
}

void principal::iniciarcurva(Integer Index)
{
    const auto k = static_cast<std::size_t>(Index);
    SSTab->setCurrentIndex(Index);

    TXTlg.at(k)->setHeader(true);
    TXTlg[k]->setHeaderCaption(conpuntos(24));
    TXTlg[k]->setNumberBox(textextend::textolibre);
    TXTlg[k]->setText(leertexto(24));
    fijaraltura(TXTlg[k]);

    LBLx[k]->setText(conpuntos(25));
    LBLy[k]->setText(conpuntos(26));
    TXTx[k]->setNumberBox(textextend::numerodecimal);
    TXTy[k]->setNumberBox(textextend::numerodecimal);
    TXTx[k]->setText(QStringLiteral("-1"));
    TXTy[k]->setText(QStringLiteral("-1"));

    LBLdata[k]->setText(conpuntos(27));

    platform::FlexGrid *g = MSFdata[k];
    g->setRows(1);
    g->setRow(0);
    g->setCol(1);
    g->setCellAlignment(platform::flexAlignCenterCenter);
    g->setCol(2);
    g->setCellAlignment(platform::flexAlignCenterCenter);
    g->setTextMatrix(0, 1, QStringLiteral("X"));
    g->setTextMatrix(0, 2, QStringLiteral("Y"));
    g->setColWidth(0, 500);
    anchocolumnasdatos(k);
    g->setSelectionMode(platform::flexSelectionFree);

    TXTflex[k]->setAlignment(1);
    TXTflex[k]->setBorderStyle(0);
    TXTflex[k]->setNumberBox(textextend::numerodecimal);
    TXTflex[k]->hide();

    BTexcel[k]->setToolTip(leertexto(44));
    CMBlimitador[k]->addItem(QStringLiteral(","));
    CMBlimitador[k]->addItem(QStringLiteral(";"));
    CMBlimitador[k]->addItem(QStringLiteral(" "));
    CMBlimitador[k]->setCurrentIndex(0);
    BTimport[k]->setToolTip(leertexto(45) + QLatin1Char(' ') + CMBlimitador[k]->currentText());
    BTadd[k]->setToolTip(leertexto(50));
    BTdelete[k]->setToolTip(leertexto(51));

    LBLpuntos[k]->setText(conpuntos(28));
    OPTsi[k]->setText(leertexto(29));
    OPTno[k]->setText(leertexto(30));
    OPTsi[k]->setChecked(true);

    LBLunir[k]->setText(conpuntos(31));
    for (int id = 32; id <= 39; ++id)
        CMBunir[k]->addItem(leertexto(id));
    CMBunir[k]->setCurrentIndex(0);

    LBLgrado[k]->setText(conpuntos(40));
    TXTgrado[k]->setText(QStringLiteral("1"));
    UPDgrado[k]->setMin(1);
    UPDgrado[k]->setBuddy(TXTgrado[k]);
    UPDgrado[k]->setValue(1);
    usargrado(LBLgrado[k], TXTgrado[k], UPDgrado[k], false);
    UPDgrado[k]->setMax(1);
    TXTgrado[k]->resize(qRound(platform::pixelsFromTwips(anchodisplay)), TXTgrado[k]->height());
    UPDgrado[k]->move(TXTgrado[k]->x() + TXTgrado[k]->width(), UPDgrado[k]->y());

    LBLgrosor[k]->setText(conpuntos(41));
    TXTgrosor[k]->setText(QStringLiteral("1"));
    UPDgrosor[k]->setMin(1);
    UPDgrosor[k]->setMax(5);
    UPDgrosor[k]->setBuddy(TXTgrosor[k]);
    UPDgrosor[k]->setValue(1);
    TXTgrosor[k]->resize(qRound(platform::pixelsFromTwips(anchodisplay)), TXTgrosor[k]->height());
    UPDgrosor[k]->move(TXTgrosor[k]->x() + TXTgrosor[k]->width(), UPDgrosor[k]->y());

    LBLtipo[k]->setText(conpuntos(42));
    for (int id = 46; id <= 48; ++id)
        CMBtipo[k]->addItem(leertexto(id));
    CMBtipo[k]->setCurrentIndex(0);

    LBLcolor[k]->setText(conpuntos(43));
    CMBcolor[k]->clearItems();
    CMBcolor[k]->setImageList(&IMGcolor);
    for (int c = 0; c <= 15; ++c)
        CMBcolor[k]->addImageItem(c + 1, QStringLiteral("c%1").arg(c));
    CMBcolor[k]->setSelectedPosition(1);
}

void principal::anchocolumnasdatos(std::size_t k)
{
    platform::FlexGrid *g = MSFdata.at(k);
    const platform::Single ancho = static_cast<platform::Single>(g->Width());
    const platform::Single columna = (ancho - 500) / 2 - 150;
    g->setColWidth(1, platform::cint(static_cast<double>(columna)));
    g->setColWidth(2, g->ColWidth(1));
}

bool principal::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        for (std::size_t k = 0; k < MSFdata.size(); ++k)
            if (watched == MSFdata[k])
                anchocolumnasdatos(k);
    return QMainWindow::eventFilter(watched, event);
}

void principal::borrarcurva(Integer Index)
{
    const auto k = static_cast<std::size_t>(Index);
    Curva &c = curvas(Index + 1); // an index outside 0..9 fails here, before anything changes
    TXTlg.at(k)->setText(leertexto(24));
    TXTx[k]->setText(QStringLiteral("-1"));
    TXTy[k]->setText(QStringLiteral("-1"));
    // An editor left open (the toolbar does not take the focus) would
    // otherwise float over a row that is gone and type into the header.
    TXTflex[k]->setVisible(false);
    MSFdata[k]->setRows(1);
    CMBlimitador[k]->setCurrentIndex(0);
    OPTsi[k]->setChecked(true);
    CMBunir[k]->setCurrentIndex(0);
    TXTgrado[k]->setText(QStringLiteral("1"));
    UPDgrado[k]->setValue(1);
    usargrado(LBLgrado[k], TXTgrado[k], UPDgrado[k], false);
    UPDgrado[k]->setMax(1);
    TXTgrosor[k]->setText(QStringLiteral("1"));
    UPDgrosor[k]->setValue(1);
    CMBtipo[k]->setCurrentIndex(0);
    CMBcolor[k]->setSelectedPosition(1);

    c.leyenda.clear();
    c.posicionx = -1.0;
    c.posiciony = -1.0;
    c.activa = platform::vbTrue;
    c.npuntos = 2;
    c.puntos.redim(c.npuntos);
    c.puntos(1) = Punto{0.0, 0.0};
    c.puntos(2) = Punto{1.0, 1.0};
    c.minimo = Punto{0.0, 0.0};
    c.maximo = Punto{1.0, 1.0};
}

void principal::actualizagrado(Integer Index)
{
    const auto k = static_cast<std::size_t>(Index);
    const int tipo = CMBunir.at(k)->currentIndex();
    const int filas = MSFdata[k]->Rows();
    platform::UpDown *upd = UPDgrado[k];
    upd->setMin(1);
    if (tipo < ajusteMinimosX) {
        upd->setMax(1);
        usargrado(LBLgrado[k], TXTgrado[k], upd, false);
        return;
    }
    if (tipo <= ajusteMinimosCoseno) {
        upd->setMax(filas < 3 ? 1 : filas - 2);
    } else if (tipo == ajusteFourier) {
        upd->setMax(filas < 3 ? 1 : platform::cint((filas - 3) / 2.0));
    } else {
        return;
    }
    usargrado(LBLgrado[k], TXTgrado[k], upd, true);
}

void principal::CMBunir_Click(Integer Index)
{
    actualizagrado(Index);
}
