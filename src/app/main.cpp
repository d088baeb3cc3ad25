#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel w(QStringLiteral("Curvexa"));
    w.resize(640, 480);
    w.show();
    return app.exec();
}
