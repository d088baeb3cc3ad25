#include "app/frmSplash.h"

#include "app/iconos.h"
#include "app/principal.h"
#include "language/idiomas.h"
#include "platform/programfolder.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

const char *const lineaautores1 = "The Curvexa developers <developers@example.org>";
const char *const lineaautores2 = "The Curvexa translators <translators@example.org>";
const char *const paginawebautores = "https://example.org/curvexa";

namespace
{

QLabel *etiqueta(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

QFont fuente(double pointSize, bool bold = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

} // namespace

frmSplash::frmSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(520, 320);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    fraMainFrame = new QFrame(this);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setFrameShadow(QFrame::Sunken);
    outer->addWidget(fraMainFrame);

    Image1 = etiqueta(fraMainFrame, "Image1");
    Image1->setPixmap(logocurvexa(96));
    Image1->setFixedSize(96, 96);
    Image2 = etiqueta(fraMainFrame, "Image2");
    Image2->setPixmap(iconodibujar(48));
    Image2->setFixedSize(48, 48);

    lblCompanyProduct = etiqueta(fraMainFrame, "lblCompanyProduct");
    lblCompanyProduct->setFont(fuente(10));
    lblProductName = etiqueta(fraMainFrame, "lblProductName");
    lblProductName->setFont(fuente(28, true));
    lblProductName->setStyleSheet(QStringLiteral("color: #14407a"));
    lblProductDescription = etiqueta(fraMainFrame, "lblProductDescription");
    lblProductDescription->setFont(fuente(10));
    lblProductDescription->setWordWrap(true);
    lblPlatform = etiqueta(fraMainFrame, "lblPlatform");
    lblPlatform->setFont(fuente(11, true));
    lblVersion = etiqueta(fraMainFrame, "lblVersion");
    lblVersion->setFont(fuente(11, true));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblWarning = etiqueta(fraMainFrame, "lblWarning");
    lblWarning->setFont(fuente(9, true));
    Label1 = etiqueta(fraMainFrame, "Label1");
    Label1->setFont(fuente(9));
    Label2 = etiqueta(fraMainFrame, "Label2");
    Label2->setFont(fuente(9));
    Label3 = etiqueta(fraMainFrame, "Label3");
    Label3->setFont(fuente(8));
    Label3->setText(QStringLiteral("\u00a9 2026 The Curvexa developers"));
    Label3->setStyleSheet(QStringLiteral("color: #606060"));

    auto *grid = new QGridLayout(fraMainFrame);
    grid->setContentsMargins(18, 16, 18, 12);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    grid->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblCompanyProduct, 0, 1, 1, 2);
    grid->addWidget(lblProductName, 1, 1, 1, 2);
    grid->addWidget(lblPlatform, 2, 1, Qt::AlignBottom);
    grid->addWidget(lblVersion, 2, 2, Qt::AlignBottom);
    auto *line = new QFrame(fraMainFrame);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 3, 0, 1, 3);
    grid->addWidget(lblProductDescription, 4, 0, 1, 3);
    grid->addWidget(lblWarning, 5, 0, 1, 2);
    grid->addWidget(Label1, 6, 0, 1, 2);
    grid->addWidget(Label2, 7, 0, 1, 2);
    grid->addWidget(Image2, 5, 2, 3, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setRowStretch(8, 1);
    grid->addWidget(Label3, 9, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    // Clicks: most controls close the splash; the description and Label3
    // take the click and do nothing (it does not reach the frame).
    for (QWidget *w : std::initializer_list<QWidget *>{fraMainFrame, Image1, Image2, Label1, Label2,
                                                       lblCompanyProduct, lblPlatform, lblProductName,
                                                       lblVersion, lblWarning, lblProductDescription, Label3})
        w->installEventFilter(this);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

frmSplash::~frmSplash() = default;

void frmSplash::Form_Load()
{
    ficheroidioma = platform::inProgramFolder(QStringLiteral("idioma.lng"));
    instalarmenuidiomasprincipal();
    cargaridiomas();
    Timer1->start(1000);
    lblCompanyProduct->setText(leertexto(100));
    lblProductName->setText(leertexto(6));
    lblProductDescription->setText(leertexto(101) + QLatin1Char('\n') + leertexto(102));
    // The platform the program runs on (a fixed line of the splash).
    lblPlatform->setText(QStringLiteral("Linux"));
    lblWarning->setText(leertexto(104));
    lblVersion->setText(leertexto(103));
    Label1->setText(QString::fromUtf8(lineaautores1));
    Label2->setText(QString::fromUtf8(lineaautores2));
}

void frmSplash::fraMainFrame_Click()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Timer1->stop();
    // The main window is on screen before the splash goes, so that closing
    // the splash is never taken for closing the program's last window.
    principal &p = formprincipal();
    p.show();
    p.raise();
    p.activateWindow();
    close();
    emit descargado();
}

void frmSplash::Timer1_Timer()
{
    ++ticks_;
    if (ticks_ == 5)
        fraMainFrame_Click();
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease && t != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    if (watched == lblProductDescription || watched == Label3)
        return true;
    if (t == QEvent::MouseButtonRelease) {
        auto *me = static_cast<QMouseEvent *>(event);
        auto *w = qobject_cast<QWidget *>(watched);
        if (me->button() == Qt::LeftButton && w && w->rect().contains(me->position().toPoint())) {
            if (watched == fraMainFrame)
                fraMainFrame_Click();
            else if (watched == Image1)
                Image1_Click();
            else if (watched == Image2)
                Image2_Click();
            else if (watched == Label1)
                Label1_Click();
            else if (watched == Label2)
                Label2_Click();
            else if (watched == lblCompanyProduct)
                lblCompanyProduct_Click();
            else if (watched == lblPlatform)
                lblPlatform_Click();
            else if (watched == lblProductName)
                lblProductName_Click();
            else if (watched == lblVersion)
                lblVersion_Click();
            else if (watched == lblWarning)
                lblWarning_Click();
        }
    }
    return true;
}
