// The ten curve tabs of the main window: the tab pages with their frames,
// the set-up of a tab's panel and the reset of a curve.

#include "app/principal.h"

#include "chart/graficos.h"

#include <QFrame>
#include <QTabWidget>
#include <QVBoxLayout>

void principal::construirpestanas()
{
    SSTab = new QTabWidget(Frame1);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    SSTab->setUsesScrollButtons(false);
    SSTab->setDocumentMode(false);
    for (int i = 0; i < 10; ++i) {
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("SSTab_page_%1").arg(i));
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(4, 4, 4, 4);
        auto *frame = new QFrame(page);
        frame->setObjectName(QStringLiteral("FRMtab_%1").arg(i));
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setMinimumSize(340, 420);
        pageLayout->addWidget(frame);
        FRMtab[static_cast<std::size_t>(i)] = frame;
        SSTab->addTab(page, QString::number(i + 1));
    }
}

void principal::iniciarcurva(Integer Index)
{
    SSTab->setCurrentIndex(Index);
}

void principal::borrarcurva(Integer Index)
{
    Curva &c = curvas(Index + 1);
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
