#include "textbox/textextend.h"

#include "platform/fontfamily.h"
#include "platform/propertybag.h"
#include "platform/vberror.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using platform::Integer;

namespace {

// Types a text into a widget key by key, the way a keyboard does: "\b" is
// Backspace, "\r" Enter, an arrow to the left the Left key, every other
// character its own key.
void typeKeys(QWidget *w, const QString &keys)
{
    for (const QChar ch : keys) {
        if (ch == QLatin1Char('\b')) {
            QTest::keyClick(w, Qt::Key_Backspace);
        } else if (ch == QLatin1Char('\r')) {
            QTest::keyClick(w, Qt::Key_Return);
        } else if (ch == QChar(0x2190)) {
            QTest::keyClick(w, Qt::Key_Left);
        } else {
            const int key = ch.unicode() < 0x80 && ch.isPrint() ? ch.toUpper().unicode() : int(Qt::Key_unknown);
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key(key), QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key(key), QString(ch), Qt::NoModifier);
        }
    }
}

// A point over the box's text where the caret goes to character position k;
// -1 is a point past the end of the text, near the box's right edge.
QPoint atCharacter(QLineEdit *e, int k)
{
    const int y = e->height() / 2;
    if (k < 0)
        return QPoint(e->width() - 3, y);
    for (int x = 0; x < e->width(); ++x)
        if (e->cursorPositionAt(QPoint(x, y)) == k)
            return QPoint(x, y);
    return QPoint(-1, -1);
}

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers, QPoint pos)
{
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QApplication::sendEvent(w, &e);
}

// Height in twips of one text line of the control's measuring face.
double lineTwips(double pointSize, bool bold = false)
{
    QFont f = platform::resolvedFont(QStringLiteral("MS Sans Serif"), pointSize);
    f.setBold(bold);
    return 15.0 * QFontMetrics(f).height();
}

QFont sizedFont(double pointSize, bool bold = false)
{
    QFont f = platform::resolvedFont(QStringLiteral("Arial"), pointSize);
    f.setBold(bold);
    return f;
}

const QStringList writtenKeys = {
    "Text",       "Alignement", "Appearance", "BorderStyle",      "MousePointer",    "MouseIcon",       "NumberBox",
    "Signo",      "Locked",     "Enabled",    "ForeColor",        "BackColor",       "Font",            "SelOnFocus",
    "Header",     "HeaderAlignement",         "HeaderForeColor",  "HeaderBackColor", "HeaderFont",      "HeaderCaption"};

} // namespace

class TestTextExtend : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void typing_data();
    void typing();
    void undoneEditRaisesChangeTwice();
    void containerSwallowsKey();
    void containerReplacesKey();
    void keyPressSeesCancelledKey();
    void composedCharacters_data();
    void composedCharacters();
    void assignedTextIsCheckedLikeTyping_data();
    void assignedTextIsCheckedLikeTyping();
    void regionalSeparators_data();
    void regionalSeparators();
    void restoreRunsOnceWhenPreviousIsNoNumber();
    void pasteIsUndoneToTextBeforeIt();
    void mouseEvents_data();
    void mouseEvents();
    void focusLoss_data();
    void focusLoss();
    void selectsAllOnFocus();
    void clickSelectsAll_data();
    void clickSelectsAll();

    void propertySetRules();
    void bagKeysInOrder();
    void bagRoundTrip();
    void bagReadDefaults();
    void bagBackColorFoundWhateverTheCase_data();
    void bagBackColorFoundWhateverTheCase();
    void bagTextLoadsUnchecked();

    void layoutHeights_data();
    void layoutHeights();
    void headerChangesHeight();
    void heightIsTheControlsOwn();
    void layoutInsideQtLayout();
    void toolTipForWideText_data();
    void toolTipForWideText();
    void headerBackColorPaintsControl();
    void borderLeavesTheTextWhole_data();
    void borderLeavesTheTextWhole();
};

void TestTextExtend::initTestCase()
{
    // Measurements rely on the metric twins being installed.
    QVERIFY(QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")));
}

void TestTextExtend::typing_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("signo");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("integer drops point") << 1 << true << "12." << "12";
    QTest::newRow("integer drops comma") << 1 << true << "1,2" << "12";
    QTest::newRow("decimal drops comma") << 2 << true << "1,5" << "15";
    QTest::newRow("decimal keeps point") << 2 << true << "1.5" << "1.5";
    QTest::newRow("decimal letter undone") << 2 << true << "12a" << "12";
    QTest::newRow("decimal letter first") << 2 << true << "x" << "";
    QTest::newRow("two chars ending in minus stay") << 2 << true << "5-" << "5-";
    QTest::newRow("longer text ending in minus undone") << 2 << true << "12-" << "12";
    QTest::newRow("decimal then trailing minus") << 2 << true << "1.5-" << "1.5";
    QTest::newRow("lone minus stays") << 1 << true << "-" << "-";
    QTest::newRow("minus then letter back to minus") << 1 << true << "-a" << "-";
    QTest::newRow("negative number") << 2 << true << "-2.5" << "-2.5";
    QTest::newRow("minus refused without sign") << 2 << false << "-5-" << "5";
    QTest::newRow("minus refused in integer mode") << 1 << false << "-12-" << "12";
    QTest::newRow("backspace edits") << 2 << true << "123\b\b4" << "14";
    QTest::newRow("backspace to lone minus") << 2 << true << "-5\b" << "-";
    QTest::newRow("backspace to empty") << 1 << true << "7\b" << "";
    QTest::newRow("lone minus left by a deletion, caret to end") << 2 << true << QString::fromUtf8("5-\u2190\b") << "-";
    QTest::newRow("invalid edit in the middle, caret to end") << 2 << true << QString::fromUtf8("12\u2190a") << "12";
    QTest::newRow("letters mode") << 3 << true << QString::fromUtf8("A\u00f1o1") << "Ao";
    QTest::newRow("letters mode space and backspace") << 3 << true << "ab c-\bd" << "ab d";
    QTest::newRow("free text keeps all") << 0 << true << "a,.-1" << "a,.-1";
    QTest::newRow("unknown mode is free text") << 7 << true << "a,.-" << "a,.-";
}

void TestTextExtend::typing()
{
    QFETCH(int, mode);
    QFETCH(bool, signo);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    textextend box;
    box.UserControl_InitProperties();
    box.setNumberBox(mode);
    box.setSigno(signo);
    typeKeys(box.textBox(), keys);
    QCOMPARE(box.text(), expected);
    QCOMPARE(box.textBox()->cursorPosition(), expected.size());
}

void TestTextExtend::undoneEditRaisesChangeTwice()
{
    textextend box;
    box.setNumberBox(2);
    typeKeys(box.textBox(), "12");
    QSignalSpy changes(&box, &textextend::Change);
    QStringList seen;
    connect(&box, &textextend::Change, this, [&] { seen << box.text(); });
    typeKeys(box.textBox(), "a");
    QCOMPARE(box.text(), QStringLiteral("12"));
    QCOMPARE(changes.count(), 2);
    // Both passes see the restored text: the nested one raises first.
    QCOMPARE(seen, QStringList({"12", "12"}));
    QCOMPARE(box.textBox()->cursorPosition(), 2);

    // An accepted key raises Change once.
    changes.clear();
    typeKeys(box.textBox(), "3");
    QCOMPARE(changes.count(), 1);
}

void TestTextExtend::containerSwallowsKey()
{
    textextend box;
    box.setNumberBox(2);
    QList<int> keys;
    connect(&box, &textextend::KeyPress, this, [&](Integer &KeyAscii) {
        keys << KeyAscii;
        if (KeyAscii == '5' || KeyAscii == 13)
            KeyAscii = 0;
    });
    QSignalSpy returns(box.textBox(), &QLineEdit::returnPressed);
    typeKeys(box.textBox(), "152\r");
    QCOMPARE(box.text(), QStringLiteral("12"));
    QCOMPARE(keys, QList<int>({'1', '5', '2', 13}));
    QCOMPARE(returns.count(), 0);
    // The swallowed key still saved the text before it.
    QCOMPARE(box.previousText(), QStringLiteral("12"));
}

void TestTextExtend::containerReplacesKey()
{
    textextend box;
    connect(&box, &textextend::KeyPress, this, [](Integer &KeyAscii) {
        if (KeyAscii >= 'a' && KeyAscii <= 'z')
            KeyAscii = static_cast<Integer>(KeyAscii - 32);
        else if (KeyAscii == '#')
            KeyAscii = 0xE9; // e acute in Windows-1252
    });
    typeKeys(box.textBox(), "ab#1");
    QCOMPARE(box.text(), QString::fromUtf8("AB\u00e91"));
}

void TestTextExtend::keyPressSeesCancelledKey()
{
    textextend box;
    box.setNumberBox(1);
    QList<int> keys;
    connect(&box, &textextend::KeyPress, this, [&](Integer &KeyAscii) { keys << KeyAscii; });
    QList<int> downs;
    connect(&box, &textextend::KeyDown, this, [&](Integer &KeyCode, Integer &) { downs << KeyCode; });
    typeKeys(box.textBox(), QString::fromUtf8("4.,\u00e9"));
    QTest::keyClick(box.textBox(), Qt::Key_Tab);
    QTest::keyClick(box.textBox(), Qt::Key_Left);
    // Cancelled keys arrive as 0; the arrow types nothing and raises no
    // KeyPress; Tab belongs to focus movement and raises nothing.
    QCOMPARE(keys, QList<int>({'4', 0, 0, 0xE9}));
    QCOMPARE(downs.size(), 5);
    QCOMPARE(downs.last(), 37);
    QCOMPARE(box.text(), QStringLiteral("4"));
}

void TestTextExtend::composedCharacters_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("codes");

    const QString eAcute = QString::fromUtf8("\u00e9");
    QTest::newRow("free text takes it") << 0 << eAcute << QString("ab") + eAcute << QList<int>{0xE9};
    QTest::newRow("letters mode refuses it") << 3 << eAcute << "ab" << QList<int>{0};
    QTest::newRow("letters mode keeps plain letters") << 3 << QString("x") + eAcute + "y" << "abxy"
                                                      << QList<int>{'x', 0, 'y'};
    QTest::newRow("outside Windows-1252") << 0 << QString::fromUtf8("\u4e2d") << QString::fromUtf8("ab\u4e2d")
                                          << QList<int>{63};
}

void TestTextExtend::composedCharacters()
{
    QFETCH(int, mode);
    QFETCH(QString, commit);
    QFETCH(QString, expected);
    QFETCH(QList<int>, codes);

    textextend box;
    typeKeys(box.textBox(), "ab");
    box.setNumberBox(mode);
    QList<int> seen;
    connect(&box, &textextend::KeyPress, this, [&](Integer &KeyAscii) { seen << KeyAscii; });
    QInputMethodEvent event;
    event.setCommitString(commit);
    QApplication::sendEvent(box.textBox(), &event);
    QCOMPARE(box.text(), expected);
    QCOMPARE(seen, codes);
}

void TestTextExtend::assignedTextIsCheckedLikeTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("assigned");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("changes");

    QTest::newRow("word, nothing typed") << "" << "abc" << "" << 2;
    QTest::newRow("word after typing") << "12" << "abc" << "1" << 2;
    QTest::newRow("number accepted") << "12" << "3.25" << "3.25" << 1;
    QTest::newRow("trailing minus of three") << "" << "12-" << "" << 2;
    QTest::newRow("same text is no change") << "12" << "12" << "12" << 0;
    QTest::newRow("empty accepted") << "12" << "" << "" << 1;
}

void TestTextExtend::assignedTextIsCheckedLikeTyping()
{
    QFETCH(QString, typed);
    QFETCH(QString, assigned);
    QFETCH(QString, expected);
    QFETCH(int, changes);

    textextend box;
    box.setNumberBox(2);
    typeKeys(box.textBox(), typed);
    QSignalSpy spy(&box, &textextend::Change);
    box.setText(assigned);
    QCOMPARE(box.text(), expected);
    QCOMPARE(spy.count(), changes);
}

void TestTextExtend::regionalSeparators_data()
{
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("assigned");
    QTest::addColumn<QString>("expected");

    // Under a "," locale the typed "." is a group separator to the number test.
    QTest::newRow("de: points pass as grouping") << "de_DE" << "1.2.3" << "" << "1.2.3";
    QTest::newRow("en: second point undone") << "en_US" << "1.2.3" << "" << "1.23";
    QTest::newRow("de: comma refused at the keyboard") << "de_DE" << "1,5" << "" << "15";
    QTest::newRow("de: assigned decimal comma kept") << "de_DE" << "" << "2,5" << "2,5";
    QTest::newRow("de: two decimal commas undone") << "de_DE" << "7" << "2,5,1" << "";
    QTest::newRow("en: two points undone") << "en_US" << "7" << "2.5.1" << "";
}

void TestTextExtend::regionalSeparators()
{
    QFETCH(QString, localeName);
    QFETCH(QString, keys);
    QFETCH(QString, assigned);
    QFETCH(QString, expected);

    textextend box;
    box.setLocale(QLocale(localeName));
    box.setNumberBox(2);
    typeKeys(box.textBox(), keys);
    if (!assigned.isEmpty())
        box.setText(assigned);
    QCOMPARE(box.text(), expected);
}

void TestTextExtend::restoreRunsOnceWhenPreviousIsNoNumber()
{
    textextend box;
    box.setText(QStringLiteral("abc")); // free text
    box.setNumberBox(2);
    QSignalSpy spy(&box, &textextend::Change);
    box.textBox()->end(false);
    typeKeys(box.textBox(), "x");
    QCOMPARE(box.text(), QStringLiteral("abc"));
    QCOMPARE(spy.count(), 2);
}

void TestTextExtend::pasteIsUndoneToTextBeforeIt()
{
    // Ctrl+V passes the key filter as character 22, so the text before the
    // paste is what an invalid paste is undone to.
    QApplication::clipboard();
    textextend box;
    box.setNumberBox(2);
    typeKeys(box.textBox(), "42");
    QList<int> keys;
    connect(&box, &textextend::KeyPress, this, [&](Integer &KeyAscii) { keys << KeyAscii; });
    QTest::keyClick(box.textBox(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(keys, QList<int>({22}));
    QCOMPARE(box.previousText(), QStringLiteral("42"));
    // An edit outside the key filter goes back to that same text.
    box.textBox()->insert(QStringLiteral("zz"));
    QCOMPARE(box.text(), QStringLiteral("42"));
}

void TestTextExtend::mouseEvents_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("left click") << "click" << QStringList{"MouseDown 1 0 150 75", "MouseUp 1 0 150 75", "Click"};
    QTest::newRow("right click") << "right" << QStringList{"MouseDown 2 0 150 75", "MouseUp 2 0 150 75"};
    QTest::newRow("shift click") << "shift"
                                 << QStringList{"MouseDown 1 1 150 75", "MouseUp 1 1 150 75", "Click"};
    // Qt delivers the second press of a double click before the double click.
    QTest::newRow("double click") << "double"
                                  << QStringList{"MouseDown 1 0 150 75", "MouseUp 1 0 150 75", "Click",
                                                 "MouseDown 1 0 150 75", "DblClick", "MouseUp 1 0 150 75"};
    QTest::newRow("move") << "move" << QStringList{"MouseMove 0 0 300 90"};
    QTest::newRow("drag with both buttons") << "drag" << QStringList{"MouseMove 3 2 300 90"};
}

void TestTextExtend::mouseEvents()
{
    QFETCH(QString, action);
    QFETCH(QStringList, events);

    QWidget window;
    auto *box = new textextend(&window);
    box->Move(0, 0, 3000);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QStringList log;
    auto mouse = [&](const char *name) {
        return [&log, name](Integer &Button, Integer &Shift, platform::Single &x, platform::Single &Y) {
            log << QStringLiteral("%1 %2 %3 %4 %5").arg(name).arg(Button).arg(Shift).arg(x).arg(Y);
        };
    };
    connect(box, &textextend::MouseDown, this, mouse("MouseDown"));
    connect(box, &textextend::MouseUp, this, mouse("MouseUp"));
    connect(box, &textextend::MouseMove, this, mouse("MouseMove"));
    connect(box, &textextend::Click, this, [&] { log << "Click"; });
    connect(box, &textextend::DblClick, this, [&] { log << "DblClick"; });

    QLineEdit *txt = box->textBox();
    const QPoint at(10, 5); // 150, 75 twips
    if (action == "click")
        QTest::mouseClick(txt, Qt::LeftButton, Qt::NoModifier, at);
    else if (action == "right")
        QTest::mouseClick(txt, Qt::RightButton, Qt::NoModifier, at);
    else if (action == "shift")
        QTest::mouseClick(txt, Qt::LeftButton, Qt::ShiftModifier, at);
    else if (action == "double")
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                          QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
            sendMouse(txt, type, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton),
                      Qt::NoModifier, at);
    else if (action == "move")
        sendMouse(txt, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, Qt::NoModifier, QPoint(20, 6));
    else
        sendMouse(txt, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton | Qt::RightButton, Qt::ControlModifier,
                  QPoint(20, 6));
    QCOMPARE(log, events);
}

void TestTextExtend::focusLoss_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lone minus becomes 0") << 2 << "-" << "0";
    QTest::newRow("empty becomes 0") << 1 << "" << "0";
    QTest::newRow("emptied by backspace") << 2 << "5\b" << "0";
    QTest::newRow("number kept") << 2 << "-3" << "-3";
    QTest::newRow("free text stays empty") << 0 << "" << "";
    QTest::newRow("letters stay empty") << 3 << "" << "";
}

void TestTextExtend::focusLoss()
{
    QFETCH(int, mode);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new textextend;
    auto *other = new QLineEdit;
    layout->addWidget(box);
    layout->addWidget(other);
    box->setNumberBox(mode);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->SetFocus();
    QVERIFY(box->textBox()->hasFocus());
    typeKeys(box->textBox(), keys);

    QString textAtLostFocus = QStringLiteral("<none>");
    int lost = 0;
    connect(box, &textextend::LostFocus, this, [&] {
        ++lost;
        textAtLostFocus = box->text();
    });
    other->setFocus(Qt::TabFocusReason);
    QCOMPARE(box->text(), expected);
    QCOMPARE(lost, 1);
    QCOMPARE(textAtLostFocus, expected);

    // A popup taking the focus is not a loss of focus for the container.
    box->SetFocus();
    box->textBox()->clear();
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(box->textBox(), &popup);
    QCOMPARE(lost, 1);
    QCOMPARE(box->text(), QString());
}

void TestTextExtend::selectsAllOnFocus()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new textextend;
    auto *plain = new textextend;
    auto *other = new QLineEdit;
    layout->addWidget(box);
    layout->addWidget(plain);
    layout->addWidget(other);
    box->setText(QStringLiteral("12.5"));
    plain->setText(QStringLiteral("12.5"));
    plain->setSelOnFocus(false);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    box->SetFocus();
    QCOMPARE(box->textBox()->selectedText(), QStringLiteral("12.5"));
    plain->textBox()->setCursorPosition(1);
    plain->SetFocus();
    QCOMPARE(plain->textBox()->selectedText(), QString());
}

void TestTextExtend::clickSelectsAll_data()
{
    // The box shows 10.0000 and the focus is elsewhere unless `focused`; the
    // left button goes down over character position `press`, the pointer
    // moves `shake` pixels to the right and back while the button is down,
    // the button goes up over `release`, then 3 is typed.
    QTest::addColumn<bool>("selOnFocus");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("shake");
    QTest::addColumn<int>("release");
    QTest::addColumn<QString>("expected");

    QTest::newRow("click in the middle") << true << false << 3 << 0 << 3 << "3";
    QTest::newRow("click at the end of the text") << true << false << 7 << 0 << 7 << "3";
    QTest::newRow("click past the end of the text") << true << false << -1 << 0 << -1 << "3";
    QTest::newRow("click at the start") << true << false << 0 << 0 << 0 << "3";
    QTest::newRow("the hand shakes while the button is down") << true << false << 3 << 2 << 3 << "3";
    QTest::newRow("a drag selects from where it began") << true << false << 3 << 0 << -1 << "10.3";
    QTest::newRow("a click into the focused box places the caret") << true << true << 3 << 0 << 3 << "10.30000";
    QTest::newRow("a box that does not select on focus") << false << false << 3 << 0 << 3 << "10.30000";
}

void TestTextExtend::clickSelectsAll()
{
    QFETCH(bool, selOnFocus);
    QFETCH(bool, focused);
    QFETCH(int, press);
    QFETCH(int, shake);
    QFETCH(int, release);
    QFETCH(QString, expected);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new textextend;
    auto *other = new QLineEdit;
    layout->addWidget(box);
    layout->addWidget(other);
    box->setText(QStringLiteral("10.0000"));
    box->setSelOnFocus(selOnFocus);
    window.resize(200, 80);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (focused)
        box->SetFocus();
    else
        other->setFocus();

    QLineEdit *txt = box->textBox();
    const QPoint down = atCharacter(txt, press), up = atCharacter(txt, release);
    QVERIFY(down.x() >= 0 && up.x() >= 0);
    QTest::mousePress(txt, Qt::LeftButton, {}, down);
    if (shake) {
        QTest::mouseMove(txt, down + QPoint(shake, 0));
        QTest::mouseMove(txt, down);
    }
    if (up != down)
        QTest::mouseMove(txt, up);
    QTest::mouseRelease(txt, Qt::LeftButton, {}, up);
    QVERIFY(txt->hasFocus());
    QTest::keyClicks(txt, QStringLiteral("3"));
    QCOMPARE(box->text(), expected);
}

void TestTextExtend::propertySetRules()
{
    textextend box;
    QSignalSpy marks(&box, &textextend::PropertyChanged);
    box.setAlignment(7);
    QCOMPARE(box.Alignment(), 2);
    // Marked for saving under the property's name, not its bag key.
    QCOMPARE(marks.count(), 1);
    QCOMPARE(marks.at(0).at(0).toString(), QStringLiteral("Alignment"));
    box.setHeaderAlignement(7);
    QCOMPARE(box.HeaderAlignement(), 2);
    box.setAlignment(1);
    QCOMPARE(box.Alignment(), 1);
    QVERIFY(box.textBox()->alignment() & Qt::AlignRight);

    // Refused values leave the property as it was.
    try {
        box.setAlignment(-1);
        QFAIL("negative alignment accepted");
    } catch (const platform::VbError &e) {
        QCOMPARE(e.number(), platform::vberr::InvalidPropertyValue);
    }
    QCOMPARE(box.Alignment(), 1);
    try {
        box.setNumberBox(40000);
        QFAIL("16-bit overflow accepted");
    } catch (const platform::VbError &e) {
        QCOMPARE(e.number(), platform::vberr::Overflow);
    }
    QCOMPARE(box.NumberBox(), 0);
    try {
        box.setMousePointer(50);
        QFAIL("unknown pointer accepted");
    } catch (const platform::VbError &e) {
        QCOMPARE(e.number(), platform::vberr::InvalidPropertyValue);
    }
    QCOMPARE(box.MousePointer(), 0);
    box.setNumberBox(-3); // no range check: behaves as free text
    QCOMPARE(box.NumberBox(), -3);

    box.setPasswordChar(QStringLiteral("ab"));
    QCOMPARE(box.PasswordChar(), QStringLiteral("a"));
    QCOMPARE(box.textBox()->echoMode(), QLineEdit::Password);
    box.setText(QStringLiteral("xyz"));
    QCOMPARE(box.textBox()->displayText(), QStringLiteral("aaa"));
    box.setPasswordChar(QStringLiteral("#"));
    QCOMPARE(box.textBox()->displayText(), QStringLiteral("###"));
    box.setPasswordChar(QString());
    QCOMPARE(box.textBox()->echoMode(), QLineEdit::Normal);

    box.setBackColor(platform::rgb(1, 2, 3));
    QCOMPARE(box.textBox()->palette().color(QPalette::Base), QColor(1, 2, 3));
    box.setBackColor(0x8000000F); // button face, kept as the system colour
    QCOMPARE(box.BackColor(), 0x8000000Fu);
    QCOMPARE(box.textBox()->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
}

void TestTextExtend::bagKeysInOrder()
{
    textextend box;
    box.setPasswordChar(QStringLiteral("*"));
    platform::PropertyBag bag;
    box.UserControl_WriteProperties(bag);
    QCOMPARE(bag.names(), writtenKeys);
    QVERIFY(!bag.contains(QStringLiteral("PasswordChar")));
    QCOMPARE(bag.readProperty("Alignement").typeId(), QMetaType::Int);
    QCOMPARE(bag.readProperty("Signo").typeId(), QMetaType::Bool);
    QCOMPARE(bag.readProperty("Font").typeId(), QMetaType::QFont);
}

void TestTextExtend::bagRoundTrip()
{
    textextend box;
    box.setNumberBox(2);
    box.setText(QStringLiteral("-1.25"));
    box.setAlignment(2);
    box.setAppearance(0);
    box.setBorderStyle(0);
    box.setMousePointer(2);
    box.setSigno(false);
    box.setLocked(true);
    box.setEnabled(false);
    box.setForeColor(platform::rgb(10, 20, 30));
    box.setBackColor(0x8000000F);
    box.setFont(sizedFont(12, true));
    box.setSelOnFocus(false);
    box.setHeader(true);
    box.setHeaderAlignement(1);
    box.setHeaderForeColor(platform::rgb(200, 0, 0));
    box.setHeaderBackColor(platform::rgb(0, 200, 0));
    box.setHeaderFont(sizedFont(10));
    box.setHeaderCaption(QStringLiteral("Title:"));
    box.setPasswordChar(QStringLiteral("#"));

    platform::PropertyBag bag;
    box.UserControl_WriteProperties(bag);
    // Through the saved text form as well.
    const platform::PropertyBag reloaded = platform::PropertyBag::load(bag.save());

    textextend copy;
    copy.UserControl_ReadProperties(reloaded);
    QCOMPARE(copy.text(), QStringLiteral("-1.25"));
    QCOMPARE(copy.Alignment(), 2);
    QCOMPARE(copy.Appearance(), 0);
    QCOMPARE(copy.BorderStyle(), 0);
    QCOMPARE(copy.MousePointer(), 2);
    QCOMPARE(copy.NumberBox(), 2);
    QCOMPARE(copy.Signo(), false);
    QCOMPARE(copy.Locked(), true);
    QCOMPARE(copy.Enabled(), false);
    QCOMPARE(copy.ForeColor(), platform::rgb(10, 20, 30));
    QCOMPARE(copy.BackColor(), 0x8000000Fu); // written as "BackColor", read as "Backcolor"
    QCOMPARE(copy.Font().pointSizeF(), 12.0);
    QCOMPARE(copy.Font().bold(), true);
    QCOMPARE(copy.SelOnFocus(), false);
    QCOMPARE(copy.Header(), true);
    QCOMPARE(copy.HeaderAlignement(), 1);
    QCOMPARE(copy.HeaderForeColor(), platform::rgb(200, 0, 0));
    QCOMPARE(copy.HeaderBackColor(), platform::rgb(0, 200, 0));
    QCOMPARE(copy.HeaderFont().pointSizeF(), 10.0);
    QCOMPARE(copy.HeaderCaption(), QStringLiteral("Title:"));
    // The mask character is never written, so it does not come back.
    QCOMPARE(copy.PasswordChar(), QString());
    QCOMPARE(copy.textBox()->echoMode(), QLineEdit::Normal);
}

void TestTextExtend::bagReadDefaults()
{
    textextend box;
    const platform::OleColor back = box.BackColor();
    box.setHeader(true);
    box.setText(QStringLiteral("old"));
    box.UserControl_ReadProperties(platform::PropertyBag());
    QCOMPARE(box.text(), QString());
    QCOMPARE(box.Alignment(), 1);
    QCOMPARE(box.Appearance(), 1);
    QCOMPARE(box.BorderStyle(), 1);
    QCOMPARE(box.MousePointer(), 0);
    QCOMPARE(box.NumberBox(), 0);
    QCOMPARE(box.Signo(), true);
    QCOMPARE(box.Locked(), false);
    QCOMPARE(box.Enabled(), true);
    QCOMPARE(box.ForeColor(), 13655080u);
    QCOMPARE(box.BackColor(), back); // no background in the bag: the box keeps its own
    QCOMPARE(box.SelOnFocus(), true);
    QCOMPARE(box.Header(), false);
    QCOMPARE(box.HeaderAlignement(), 1);
    QCOMPARE(box.HeaderForeColor(), 13655080u);
    QCOMPARE(box.HeaderBackColor(), 16777215u);
    QCOMPARE(box.HeaderCaption(), QStringLiteral("Header"));
    QCOMPARE(box.Font().family(), platform::resolveFontFamily(QStringLiteral("MS Sans Serif")));
}

void TestTextExtend::bagBackColorFoundWhateverTheCase_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("as written") << "BackColor";
    QTest::newRow("as read") << "Backcolor";
    QTest::newRow("upper") << "BACKCOLOR";
}

void TestTextExtend::bagBackColorFoundWhateverTheCase()
{
    QFETCH(QString, key);
    platform::PropertyBag bag;
    bag.writeProperty(key, static_cast<int>(platform::rgb(255, 255, 0)));
    textextend box;
    box.UserControl_ReadProperties(bag);
    QCOMPARE(box.BackColor(), platform::rgb(255, 255, 0));
    QCOMPARE(box.textBox()->palette().color(QPalette::Base), QColor(255, 255, 0));
}

void TestTextExtend::bagTextLoadsUnchecked()
{
    platform::PropertyBag bag;
    bag.writeProperty(QStringLiteral("Text"), QStringLiteral("not a number"));
    bag.writeProperty(QStringLiteral("NumberBox"), 2);
    textextend box;
    QSignalSpy spy(&box, &textextend::Change);
    box.UserControl_ReadProperties(bag);
    QCOMPARE(box.text(), QStringLiteral("not a number"));
    QCOMPARE(box.NumberBox(), 2);
    QCOMPARE(spy.count(), 1);
}

void TestTextExtend::layoutHeights_data()
{
    QTest::addColumn<double>("textSize");
    QTest::addColumn<bool>("textBold");
    QTest::addColumn<bool>("header");
    QTest::addColumn<double>("headerSize");

    QTest::newRow("default font") << 8.25 << false << false << 8.25;
    QTest::newRow("large bold") << 14.0 << true << false << 8.25;
    QTest::newRow("header same size") << 8.25 << false << true << 8.25;
    QTest::newRow("header larger") << 8.25 << false << true << 12.0;
    QTest::newRow("header smaller, bold box") << 18.0 << true << true << 6.0;
}

void TestTextExtend::layoutHeights()
{
    QFETCH(double, textSize);
    QFETCH(bool, textBold);
    QFETCH(bool, header);
    QFETCH(double, headerSize);

    QWidget window;
    auto *box = new textextend(&window);
    window.show();
    // The face used for measuring is the control's own, not the fonts' (Arial).
    box->setFont(sizedFont(textSize, textBold));
    box->setHeaderFont(sizedFont(headerSize));
    box->setHeader(header);
    box->Move(150, 300, 3000);

    const double hT = lineTwips(textSize, textBold);
    const double hH = header ? lineTwips(headerSize) : 0.0;
    QCOMPARE(double(box->Height()), hH + hT);
    QCOMPARE(double(box->Width()), 3000.0);
    QCOMPARE(double(box->Left()), 150.0);
    QCOMPARE(box->textBox()->geometry(), QRect(0, int(hH / 15), 200, int(hT / 15)));
    QCOMPARE(box->headerLabel()->isVisibleTo(box), header);
    if (header)
        QCOMPARE(box->headerLabel()->geometry(), QRect(0, 0, 200, int(hH / 15)));
    // The drawing font is left with the box's size and weight.
    QCOMPARE(box->drawingFont().pointSizeF(), textSize);
    QCOMPARE(box->drawingFont().bold(), textBold);
    QCOMPARE(box->drawingFont().family(), platform::resolveFontFamily(QStringLiteral("MS Sans Serif")));
}

void TestTextExtend::headerChangesHeight()
{
    textextend box; // hidden: the height must still follow at once
    box.Move(0, 0, 1500);
    const double boxOnly = box.Height();
    QCOMPARE(boxOnly, lineTwips(8.25));
    QSignalSpy resized(&box, &textextend::Resize);
    box.setHeaderCaption(QStringLiteral("A much longer caption"));
    QCOMPARE(double(box.Height()), boxOnly);
    QCOMPARE(resized.count(), 0);
    box.setHeaderFont(sizedFont(11));
    box.setHeader(true);
    QCOMPARE(double(box.Height()), boxOnly + lineTwips(11));
    box.setHeader(false);
    QCOMPARE(double(box.Height()), boxOnly);
    QVERIFY(resized.count() >= 3);
}

void TestTextExtend::heightIsTheControlsOwn()
{
    QWidget window;
    auto *box = new textextend(&window);
    window.show();
    box->Move(0, 0, 1500, 3000);
    QCOMPARE(double(box->Height()), lineTwips(8.25));
    box->resize(100, 90);
    QCOMPARE(box->height() * 15.0, lineTwips(8.25));
    QCOMPARE(box->textBox()->width(), 100);
}

void TestTextExtend::layoutInsideQtLayout()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new textextend;
    box->setHeader(true);
    layout->addWidget(box);
    layout->addStretch();
    window.resize(300, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(box->height() * 15.0, 2 * lineTwips(8.25));
    QCOMPARE(box->textBox()->width(), box->width());
}

void TestTextExtend::toolTipForWideText_data()
{
    QTest::addColumn<int>("extraPixels"); // text width minus (box width - 100 twips), in pixels
    QTest::addColumn<bool>("tip");
    QTest::newRow("well inside") << -20 << false;
    QTest::newRow("exactly the room") << 0 << false;
    QTest::newRow("one pixel over") << 1 << true;
    QTest::newRow("far over") << 200 << true;
}

void TestTextExtend::toolTipForWideText()
{
    QFETCH(int, extraPixels);
    QFETCH(bool, tip);

    textextend box;
    box.Move(0, 0, 3000); // 200 pixels; room = 3000 - 100 twips
    const QString text = QStringLiteral("1234567890123456789012345678901234567890");
    const QFontMetrics fm(box.drawingFont());
    // Find a box width that leaves exactly the wanted room for the text.
    const int textPx = fm.horizontalAdvance(text);
    const double roomTwips = 15.0 * (textPx - extraPixels);
    box.Move(0, 0, static_cast<float>(roomTwips + 100.0));
    box.setText(text);
    QCOMPARE(box.textBox()->toolTip(), tip ? text : QString());
    box.setText(QStringLiteral("1"));
    QCOMPARE(box.textBox()->toolTip(), QString());
}

void TestTextExtend::headerBackColorPaintsControl()
{
    QWidget window;
    auto *box = new textextend(&window);
    box->setHeader(true);
    box->setHeaderBackColor(platform::rgb(0, 128, 0));
    box->Move(0, 0, 1500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(box->palette().color(QPalette::Window), QColor(0, 128, 0));
    QCOMPARE(box->headerLabel()->palette().color(QPalette::Window), QColor(0, 128, 0));
    const QImage shot = box->grab().toImage();
    QCOMPARE(shot.pixelColor(shot.width() - 1, 0), QColor(0, 128, 0));
}

QTEST_MAIN(TestTextExtend)
#include "tst_textextend.moc"

namespace {

// Rows of an image where it differs from another of the same size, within
// the columns from `left` to `right`.
QList<int> rowsThatDiffer(const QImage &a, const QImage &b, int left, int right)
{
    QList<int> rows;
    for (int y = 0; y < a.height(); ++y)
        for (int x = left; x <= right; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                rows << y;
                break;
            }
    return rows;
}

} // namespace

void TestTextExtend::borderLeavesTheTextWhole_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("appearance");
    QTest::addColumn<bool>("header");

    // The sizes the main window gives its boxes.
    QTest::newRow("flat, 8.25 points") << 8.25 << 0 << false;
    QTest::newRow("sunken, 8.25 points") << 8.25 << 1 << false;
    QTest::newRow("sunken, 8.25 points, header") << 8.25 << 1 << true;
    QTest::newRow("flat, 9.75 points") << 9.75 << 0 << false;
    QTest::newRow("sunken, 9.75 points, header") << 9.75 << 1 << true;
}

void TestTextExtend::borderLeavesTheTextWhole()
{
    QFETCH(double, size);
    QFETCH(int, appearance);
    QFETCH(bool, header);

    textextend box;
    box.Move(0, 0, 3000);
    QFont f = box.Font();
    f.setPointSizeF(size);
    box.setFont(f);
    box.setHeader(header);
    box.setAppearance(appearance);
    box.setBorderStyle(1);
    box.setForeColor(255);
    QLineEdit *e = box.textBox();
    const QFontMetrics fm(e->font());
    QCOMPARE(e->height(), fm.height()); // the layout leaves exactly one line

    // Accents above, descenders below: the text reaches the top and the
    // bottom of its line.
    const QString text = QString::fromUtf8("\u00c9gjpqy\u00c5");
    QImage empty(e->size(), QImage::Format_RGB32);
    e->render(&empty);
    box.setText(text);
    QImage shown(e->size(), QImage::Format_RGB32);
    e->render(&shown);

    // The same text alone, drawn on the line it is measured by.
    QImage alone(e->size(), QImage::Format_RGB32);
    alone.fill(Qt::white);
    QImage blank = alone;
    {
        QPainter p(&alone);
        p.setFont(e->font());
        p.setPen(Qt::red);
        p.drawText(QPoint(4, fm.ascent()), text);
    }
    const QList<int> inkRows = rowsThatDiffer(alone, blank, 0, alone.width() - 1);
    QVERIFY(!inkRows.isEmpty());
    // Every row of the line that holds ink shows ink in the box as well;
    // the side lines of the border are left out.
    QCOMPARE(rowsThatDiffer(shown, empty, 1, shown.width() - 2), inkRows);
}
