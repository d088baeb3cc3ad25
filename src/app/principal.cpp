#include "app/principal.h"

#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "app/iconos.h"
#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "language/frmIdioma.h"
#include "platform/htmlhelp.h"
#include "platform/msgbox.h"
#include "platform/olecolor.h"
#include "platform/updown.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace
{

// Toolbar buttons in order: key, caption text, image (0: separator).
struct BotonBarra {
    const char *key;
    int texto;
    int imagen;
};
constexpr BotonBarra botonesbarra[] = {
    {"Nuevo", 11, 1},   {"Abrir", 79, 2}, {"Guardar", 12, 3}, {"", 0, 0},       {"Borrar", 49, 4},
    {"Dibujar", 16, 5}, {"", 0, 0},       {"Idiomas", 1, 6},  {"Ayuda", 17, 7}, {"Acercade", 80, 8},
};

const char *const propiedadclave = "Key";

QString conpuntos(int id)
{
    return leertexto(id) + QLatin1Char(':');
}

} // namespace

principal::principal(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("principal"));

    construirbarra();
    construirmenuidiomas();

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(8);

    Frame1 = new QFrame(central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *left = new QVBoxLayout(Frame1);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(6);

    TXTtitulog = new textextend(Frame1);
    TXTtitulog->setObjectName(QStringLiteral("TXTtitulog"));
    TXTleyendax = new textextend(Frame1);
    TXTleyendax->setObjectName(QStringLiteral("TXTleyendax"));
    TXTleyenday = new textextend(Frame1);
    TXTleyenday->setObjectName(QStringLiteral("TXTleyenday"));
    // The text box decides its own height (one line, plus its header).
    // A slightly larger face than the box's own, for the three captions that
    // head the window.
    for (textextend *t : {TXTtitulog, TXTleyendax, TXTleyenday}) {
        QFont f = t->Font();
        f.setPointSizeF(9.75);
        t->setFont(f);
        f.setPointSizeF(8.25);
        t->setHeaderFont(f);
        t->setHeaderBackColor(platform::vbButtonFace);
        t->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    left->addWidget(TXTtitulog);
    left->addWidget(TXTleyendax);
    left->addWidget(TXTleyenday);

    auto *count = new QHBoxLayout;
    count->setSpacing(4);
    LBLng = new QLabel(Frame1);
    LBLng->setObjectName(QStringLiteral("LBLng"));
    TXTng = new QLineEdit(QStringLiteral("1"), Frame1);
    TXTng->setObjectName(QStringLiteral("TXTng"));
    // The count changes through the spinner only, so the visible tabs always
    // match the number shown.
    TXTng->setReadOnly(true);
    TXTng->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TXTng->setFixedWidth(TXTng->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 14);
    UPDng = new platform::UpDown(Frame1);
    UPDng->setObjectName(QStringLiteral("UPDng"));
    UPDng->setBuddy(TXTng);
    connect(UPDng, &platform::UpDown::UpClick, this, &principal::UPDng_UpClick);
    connect(UPDng, &platform::UpDown::DownClick, this, &principal::UPDng_DownClick);
    LBLng->setBuddy(TXTng);
    count->addWidget(LBLng);
    count->addWidget(TXTng);
    count->addWidget(UPDng);
    count->addStretch(1);
    left->addSpacing(4);
    left->addLayout(count);

    construirpestanas();
    left->addWidget(SSTab, 1);

    ctrgraficas1 = new ctrgraficas(central);
    ctrgraficas1->setObjectName(QStringLiteral("ctrgraficas1"));

    row->addWidget(Frame1, 0);
    row->addWidget(ctrgraficas1, 1);
    setCentralWidget(central);

    // The colour swatches of the curve tabs' colour pickers.
    for (int k = 0; k <= 15; ++k)
        IMGcolor.add(QStringLiteral("c%1").arg(k), platform::colourSwatch(qbcolor(k), QSize(70, 10)));

    resize(1180, 760);
}

principal::~principal() = default;

void principal::construirbarra()
{
    TBmain = new QToolBar(this);
    TBmain->setObjectName(QStringLiteral("TBmain"));
    TBmain->setMovable(false);
    TBmain->setFloatable(false);
    TBmain->setIconSize(QSize(32, 32));
    TBmain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    TBmain->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, TBmain);

    // The eight toolbar pictures.
    QStyle *st = style();
    const auto standard = [st](QStyle::StandardPixmap sp) { return st->standardIcon(sp).pixmap(32, 32); };
    IMGmain32.add(QStringLiteral("nuevo"), standard(QStyle::SP_FileIcon));
    IMGmain32.add(QStringLiteral("abrir"), standard(QStyle::SP_DialogOpenButton));
    IMGmain32.add(QStringLiteral("guardar"), standard(QStyle::SP_DialogSaveButton));
    IMGmain32.add(QStringLiteral("borrar"), standard(QStyle::SP_DialogDiscardButton));
    IMGmain32.add(QStringLiteral("dibujar"), iconodibujar(32));
    IMGmain32.add(QStringLiteral("idiomas"), iconoidiomas(32));
    IMGmain32.add(QStringLiteral("ayuda"), standard(QStyle::SP_DialogHelpButton));
    IMGmain32.add(QStringLiteral("acercade"), standard(QStyle::SP_MessageBoxInformation));

    for (const BotonBarra &b : botonesbarra) {
        QAction *a = nullptr;
        if (b.imagen == 0) {
            a = TBmain->addSeparator();
        } else {
            a = TBmain->addAction(QString());
            a->setObjectName(QStringLiteral("TBmain_") + QString::fromLatin1(b.key));
            connect(a, &QAction::triggered, this, [this, a]() { TBmain_ButtonClick(a); });
        }
        a->setProperty(propiedadclave, QString::fromLatin1(b.key));
    }
}

void principal::construirmenuidiomas()
{
    mnuidioma = new QMenu(QStringLiteral("Idioma"), this);
    mnuidioma->setObjectName(QStringLiteral("mnuidioma"));
    for (int i = 1; i <= numItemsMenuIdiomas; ++i) {
        QAction *a = mnuidioma->addAction(QString());
        a->setObjectName(QStringLiteral("mnuidiomas_%1").arg(i));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, i]() { mnuidiomas_Click(static_cast<Integer>(i)); });
        mnuidiomas[static_cast<std::size_t>(i)] = a;
    }
}

void principal::Form_Load()
{
    setWindowTitle(leertexto(6));

    // Captions and pictures of the eight buttons.
    const QList<QAction *> botones = TBmain->actions();
    for (int i = 0; i < botones.size() && i < int(std::size(botonesbarra)); ++i) {
        const BotonBarra &b = botonesbarra[i];
        if (b.imagen == 0)
            continue;
        botones[i]->setText(leertexto(b.texto));
        botones[i]->setIcon(QIcon(IMGmain32.image(b.imagen)));
    }

    TXTtitulog->setHeader(true);
    TXTtitulog->setHeaderCaption(conpuntos(20));
    TXTtitulog->setNumberBox(textextend::textolibre);
    TXTtitulog->setText(leertexto(20));
    TXTleyendax->setHeader(true);
    TXTleyendax->setHeaderCaption(conpuntos(21));
    TXTleyendax->setNumberBox(textextend::textolibre);
    TXTleyendax->setText(QStringLiteral("X"));
    TXTleyenday->setHeader(true);
    TXTleyenday->setHeaderCaption(conpuntos(22));
    TXTleyenday->setNumberBox(textextend::textolibre);
    TXTleyenday->setText(QStringLiteral("Y"));

    LBLng->setText(conpuntos(23));
    UPDng->setMin(1);
    UPDng->setMax(10);

    for (int i = 1; i <= 10; ++i) {
        SSTab->setTabText(i - 1, QString::number(i));
        iniciarcurva(static_cast<Integer>(i - 1));
        SSTab->setTabVisible(i - 1, i == 1);
    }
    SSTab->setCurrentIndex(0);

    ctrgraficas1->setImgToolTip(leertexto(15));
    ctrgraficas1->setTituloCaption(leertexto(20));
    ctrgraficas1->setCopyCaption(leertexto(14));
    ctrgraficas1->setPrintCaption(leertexto(13));
    ctrgraficas1->setImgWebPage(QString::fromUtf8(paginawebautores));

    Curva &c = curvas(1);
    c.activa = platform::vbTrue;
    c.npuntos = 2;
    c.puntos.redim(c.npuntos);
    c.puntos(1) = Punto{0.0, 0.0};
    c.puntos(2) = Punto{1.0, 1.0};

    ctrgraficas1->setLeyendXCaption(QStringLiteral("X"));
    ctrgraficas1->setLeyendYCaption(QStringLiteral("Y"));
    ctrgraficas1->setPie(true);
    ctrgraficas1->setBotones(true);
    ctrgraficas1->setLogo(true);
    ctrgraficas1->setNumGraf(QStringLiteral("1"));
    ctrgraficas1->actualiza();

    loaded_ = true;
}

void principal::TBmain_ButtonClick(QAction *button)
{
    // Every command runs to its end or stops silently at the step that
    // failed; commands that report their own failures still do.
    try {
        const QString key = button ? button->property(propiedadclave).toString() : QString();
        if (key == QLatin1String("Nuevo"))
            nuevofichero();
        else if (key == QLatin1String("Abrir"))
            abrir();
        else if (key == QLatin1String("Guardar"))
            guardarfichero();
        else if (key == QLatin1String("Borrar"))
            borrarcurva(static_cast<Integer>(SSTab->currentIndex()));
        else if (key == QLatin1String("Dibujar"))
            dibujargraficas();
        else if (key == QLatin1String("Idiomas"))
            mostrarmenuidiomas();
        else if (key == QLatin1String("Ayuda"))
            mostrarayuda();
        else if (key == QLatin1String("Acercade"))
            acercade();
    } catch (...) {
    }
}

void principal::mostrarayuda()
{
    const QString ayuda = platform::helpFile();
    if (ayuda.isEmpty() || !QFileInfo(ayuda).isFile()) {
        platform::msgbox(leertexto(18), platform::vbInformation, windowTitle());
        return;
    }
    try {
        mostrarcontenido(1);
    } catch (const platform::VbError &e) {
        platform::msgbox(e.description(), platform::vbOKOnly);
    } catch (const std::exception &e) {
        platform::msgbox(QString::fromLocal8Bit(e.what()), platform::vbOKOnly);
    }
}

void principal::mostrarmenuidiomas()
{
    mnuidioma->popup(QCursor::pos());
}

void principal::ponerelemento(int index, const QString &caption, bool checked, bool enabled, bool visible)
{
    if (index < 1 || index > numItemsMenuIdiomas)
        return;
    QAction *a = mnuidiomas[static_cast<std::size_t>(index)];
    const bool separador = caption == QLatin1String("-");
    a->setSeparator(separador);
    a->setText(separador ? QString() : caption);
    // Only the marked item shows a check box, with its tick.
    a->setCheckable(checked && !separador);
    a->setChecked(checked);
    marcado_[static_cast<std::size_t>(index)] = checked;
    a->setEnabled(enabled);
    a->setVisible(visible);
}

void principal::mnuidiomas_Click(Integer Index)
{
    if (Index < 1 || Index > numItemsMenuIdiomas)
        return;
    // Choosing an item does not move the check mark: it stays on the
    // language the program started with.
    QAction *a = mnuidiomas[static_cast<std::size_t>(Index)];
    const bool marcado = marcado_[static_cast<std::size_t>(Index)];
    if (a->isCheckable())
        a->setChecked(marcado);
    if (marcado)
        return;
    if (Index == itemeditoridiomas()) {
        frmIdioma &editor = formidioma();
        editor.show();
        editor.raise();
        editor.activateWindow();
        return;
    }
    if (Index <= listaidiomas.size())
        cambiaridioma(listaidiomas.at(Index - 1));
}

void principal::acercade()
{
    formabout().exec();
}

int principal::pestanasvisibles() const
{
    int n = 0;
    for (int i = 0; i < SSTab->count(); ++i)
        n += SSTab->isTabVisible(i) ? 1 : 0;
    return n;
}

void principal::UPDng_UpClick()
{
    const int n = UPDng->Value();
    if (n < 1 || n > SSTab->count())
        return;
    SSTab->setTabVisible(n - 1, true);
    SSTab->setCurrentIndex(n - 1);
}

void principal::UPDng_DownClick()
{
    // Acts only while more than one tab is on view: a click that cannot
    // lower the count leaves everything as it is.
    if (pestanasvisibles() <= 1)
        return;
    const int n = UPDng->Value();
    if (n < 1 || n >= SSTab->count())
        return;
    borrarcurva(static_cast<Integer>(n));
    SSTab->setTabVisible(n, false);
    SSTab->setCurrentIndex(n - 1);
}

void principal::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    objlibro.reset();
    objexcel.reset();
    objhoja.reset();
}

void principal::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace
{
QPointer<principal> &instancia()
{
    static QPointer<principal> p;
    return p;
}
} // namespace

principal &formprincipal()
{
    if (!instancia()) {
        auto *p = new principal;
        p->setAttribute(Qt::WA_DeleteOnClose);
        instancia() = p;
        p->Form_Load();
    }
    return *instancia();
}

principal *formprincipalexistente()
{
    return instancia().data();
}

void instalarmenuidiomasprincipal()
{
    registrarmenuidiomas([]() -> MenuIdiomas * { return &formprincipal(); });
}
