// Timing of the extended text box: building the main window's 44 boxes from
// their property bags, and typing into a decimal box (key filter, change
// handling with the number test and the tool-tip measurement per key).
// Run: ./build/bench/bench_textextend

#include "platform/propertybag.h"
#include "textbox/textextend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    platform::PropertyBag bag;
    {
        textextend model;
        model.setHeader(true);
        model.setText(QStringLiteral("-1"));
        model.UserControl_WriteProperties(bag);
    }

    constexpr int rounds = 20;
    constexpr int boxes = 44;
    QElapsedTimer t;
    t.start();
    for (int r = 0; r < rounds; ++r) {
        QWidget window;
        for (int i = 0; i < boxes; ++i) {
            auto *box = new textextend(&window);
            box->UserControl_ReadProperties(bag);
            box->Move(150, 150 + 400 * i, 2500);
        }
    }
    const double buildMs = t.nsecsElapsed() / 1e6 / rounds;
    std::printf("build %d boxes from a bag and lay them out: %.2f ms\n", boxes, buildMs);

    textextend box;
    box.setNumberBox(2);
    box.Move(0, 0, 1500);
    const QString keys = QStringLiteral("12345.678a9-");
    constexpr int typed = 3000;
    t.restart();
    for (int i = 0; i < typed; ++i) {
        if (i % 40 == 0)
            box.setText(QString());
        const QChar ch = keys.at(i % keys.size());
        QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box.textBox(), &press);
    }
    const double keyUs = t.nsecsElapsed() / 1e3 / typed;
    std::printf("one typed key in a decimal box (filter, change, tool tip): %.1f us\n", keyUs);
    return 0;
}
