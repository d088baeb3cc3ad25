// The ten curve tabs of the main window: the tab pages with their frames,
// each holding the panel of one curve (built in principal_tabs.cpp).

#include "app/principal.h"

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
        // As wide as its controls need (a fixed least width would let a
        // language's longer captions squeeze them).
        frame->setMinimumHeight(420);
        pageLayout->addWidget(frame);
        FRMtab[static_cast<std::size_t>(i)] = frame;
        SSTab->addTab(page, QString::number(i + 1));
        construirpanel(i);
    }
}
