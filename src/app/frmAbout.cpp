#include "app/frmAbout.h"

#include "app/frmSplash.h"
#include "app/iconos.h"
#include "language/idiomas.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "platform/shell.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QPointer<frmAbout> &instancia()
{
    static QPointer<frmAbout> f;
    return f;
}

// Where the system information program is registered: its full command
// line, or else the folder that holds it.
const char *const claveinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char *const valorinfo = "PATH";
const char *const claveubicacion = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char *const valorubicacion = "MSINFO";
const char *const programainfo = "MSINFO32.EXE";

QLabel *etiqueta(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setSizeGripEnabled(false);

    Image1 = etiqueta(this, "Image1");
    Image1->setPixmap(logocurvexa(64));
    Image1->setFixedSize(64, 64);
    Image1->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    lblTitle = etiqueta(this, "lblTitle");
    QFont titulo = lblTitle->font();
    titulo.setPointSizeF(titulo.pointSizeF() * 1.6);
    titulo.setBold(true);
    lblTitle->setFont(titulo);
    lblVersion = etiqueta(this, "lblVersion");
    lblDescription = etiqueta(this, "lblDescription");
    lblDescription->setWordWrap(true);

    auto *linea = new QFrame(this);
    linea->setObjectName(QStringLiteral("Line1"));
    linea->setFrameShape(QFrame::HLine);
    linea->setFrameShadow(QFrame::Sunken);

    lblDisclaimer = etiqueta(this, "lblDisclaimer");
    Label1 = etiqueta(this, "Label1");
    Label2 = etiqueta(this, "Label2");
    lblweb = etiqueta(this, "lblweb");
    lblweb->setCursor(Qt::PointingHandCursor);
    QFont enlace = lblweb->font();
    enlace.setUnderline(true);
    lblweb->setFont(enlace);
    QPalette azul = lblweb->palette();
    azul.setColor(QPalette::WindowText, QColor(0, 0, 192));
    lblweb->setPalette(azul);
    lblweb->installEventFilter(this);

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    cmdSysInfo = new QPushButton(this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    grid->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->addWidget(linea, 3, 0, 1, 2);
    auto *autores = new QVBoxLayout;
    autores->setSpacing(2);
    autores->addWidget(lblDisclaimer);
    autores->addWidget(Label1);
    autores->addWidget(Label2);
    autores->addWidget(lblweb);
    autores->addStretch(1);
    grid->addLayout(autores, 4, 1);
    auto *botones = new QVBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdOK);
    botones->addWidget(cmdSysInfo);
    grid->addLayout(botones, 4, 2);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(480);
}

void frmAbout::Form_Load()
{
    lblTitle->setText(leertexto(6));
    setWindowTitle(leertexto(80) + QLatin1Char(' ') + lblTitle->text());
    // The two description lines, one under the other.
    lblDescription->setText(leertexto(101) + QLatin1Char('\n') + leertexto(102));
    lblVersion->setText(leertexto(107) + QStringLiteral(" (") + leertexto(103) + QLatin1Char(')'));
    lblDisclaimer->setText(leertexto(104) + QLatin1Char(':'));
    cmdSysInfo->setText(leertexto(105) + QStringLiteral("..."));
    cmdOK->setText(leertexto(106));
    Label1->setText(QString::fromUtf8(lineaautores1));
    Label2->setText(QString::fromUtf8(lineaautores2));
    lblweb->setText(QString::fromUtf8(paginawebautores));
    adjustSize();
}

void frmAbout::lblweb_Click()
{
    // Whether a browser could be started is not looked at.
    platform::shell(QStringLiteral("explorer ") + lblweb->text(), platform::vbNormalFocus);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::StartSysInfo()
{
    try {
        QString texto;
        if (platform::isTrue(GetKeyValue(platform::HKEY_LOCAL_MACHINE, QString::fromLatin1(claveinfo),
                                         QString::fromLatin1(valorinfo), texto))) {
            if (platform::shell(texto, platform::vbNormalFocus))
                return;
        } else if (platform::isTrue(GetKeyValue(platform::HKEY_LOCAL_MACHINE,
                                                QString::fromLatin1(claveubicacion),
                                                QString::fromLatin1(valorubicacion), texto))) {
            const QString programa = texto + QLatin1Char('/') + QString::fromLatin1(programainfo);
            if (platform::fileExists(programa) && platform::shell(programa, platform::vbNormalFocus))
                return;
        }
    } catch (const std::exception &) {
        // Told below like a program that is not there.
    }
    platform::msgbox(leertexto(81), platform::vbOKOnly);
}

frmAbout::Integer frmAbout::GetKeyValue(std::uint32_t raiz, const QString &ruta, const QString &nombrevalor,
                                        QString &textovalor)
{
    return platform::toVbBool(platform::registryKeyValue(raiz, ruta, nombrevalor, textovalor));
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblweb && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        lblweb->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        lblweb_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

frmAbout &formabout()
{
    if (!instancia()) {
        auto *f = new frmAbout;
        f->setAttribute(Qt::WA_DeleteOnClose);
        instancia() = f;
        f->Form_Load();
    }
    return *instancia();
}

frmAbout *formaboutexistente()
{
    return instancia().data();
}
