#pragma once
// The About box: the program's title, description, version and authors, a
// link to the authors' web page, an OK button and a button that starts the
// system information program, found through the settings registry.

#include "platform/vbtypes.h"

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    using Integer = platform::Integer;

    explicit frmAbout(QWidget *parent = nullptr);

    // Captions from the language file, the author lines and the address.
    void Form_Load();
    void lblweb_Click();
    void cmdSysInfo_Click();
    void cmdOK_Click();

    // Starts the system information program, or tells that there is none.
    void StartSysInfo();
    // Reads one registry value as a text: a text value as it is stored, a
    // 32-bit value as "&h" and its hexadecimal digits; a value of another
    // type counts as read and leaves `textovalor` unchanged. False, with
    // `textovalor` emptied, when the key or the value cannot be read.
    Integer GetKeyValue(std::uint32_t raiz, const QString &ruta, const QString &nombrevalor,
                        QString &textovalor);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *Image1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblweb = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *cmdOK = nullptr;
};

// The About box, created and loaded on first use; closing it destroys it.
frmAbout &formabout();
// The About box while it exists, else nullptr.
frmAbout *formaboutexistente();
