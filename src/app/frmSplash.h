#pragma once
// The splash window: the first window of the program. Its load step starts
// the language system (which creates the main window, hidden, and loads it),
// then shows the product's captions; after five ticks of a one-second timer,
// or at a click on the frame, the pictures or most labels, it unloads itself
// and shows the main window.

#include "platform/vbtypes.h"

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);
    ~frmSplash() override;

    void Form_Load();

    // The closing step: unload the splash and show the main window.
    void fraMainFrame_Click();
    void Image1_Click() { fraMainFrame_Click(); }
    void Image2_Click() { fraMainFrame_Click(); }
    void Label1_Click() { fraMainFrame_Click(); }
    void Label2_Click() { fraMainFrame_Click(); }
    void lblCompanyProduct_Click() { fraMainFrame_Click(); }
    void lblPlatform_Click() { fraMainFrame_Click(); }
    void lblProductName_Click() { fraMainFrame_Click(); }
    void lblVersion_Click() { fraMainFrame_Click(); }
    void lblWarning_Click() { fraMainFrame_Click(); }

    void Timer1_Timer();

    QTimer *timer() const { return Timer1; }
    platform::Integer ticks() const { return ticks_; }

signals:
    // Emitted once, when the splash unloads itself and shows the main window.
    void descargado();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QFrame *fraMainFrame = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *lblCompanyProduct = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblProductDescription = nullptr;
    QLabel *lblPlatform = nullptr;
    QLabel *lblWarning = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QTimer *Timer1 = nullptr;

    platform::Integer ticks_ = 0;
    bool unloaded_ = false;
};

// The authors as the splash and the About box name them, one with their
// e-mail address a line, and their web page.
extern const char *const lineaautores1;
extern const char *const lineaautores2;
extern const char *const paginawebautores;
