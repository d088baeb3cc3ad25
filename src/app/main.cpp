#include "app/frmSplash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Curvexa"));
    auto *splash = new frmSplash;
    splash->Form_Load();
    splash->show();
    return app.exec();
}
