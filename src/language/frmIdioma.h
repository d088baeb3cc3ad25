#pragma once
// The language editor: the whole language file as one grid, one row per text
// identifier and one column per language. Texts are edited in place, one new
// language can be added at a time, the file is saved as a whole (which also
// refills the main window's language menu) and the raw file can be printed.
//
// Rows take the identifiers of the first language; every language's texts
// are placed by their position in its section. A later language with more
// entries than the first gets extra rows, named with that language's
// identifiers, so that a save keeps its texts.

#include "platform/vbtypes.h"

#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;
namespace platform
{
class FlexGrid;
}

class frmIdioma : public QWidget
{
    Q_OBJECT

public:
    using Integer = platform::Integer;

    explicit frmIdioma(QWidget *parent = nullptr);
    ~frmIdioma() override;

    // Captions, grid layout, language names and texts from the language file.
    void Form_Load();
    // Asks before closing with unsaved changes; Cancel set keeps the window open.
    void Form_Unload(Integer &Cancel);

    // Puts the keys of the section into column 0, one new row each; numero
    // receives the number of entries. Throws platform::FileError, also for a
    // section with more entries than a 16-bit count holds (nothing is added).
    void leernumeracion(const QString &fichero, const QString &seccion, Integer &numero);
    // Puts the values of the section into column `columna`, the k-th entry
    // into row k. Throws platform::FileError.
    void leertodoidioma(const QString &fichero, const QString &seccion, Integer columna);

    void btguardar_Click();
    void btnuevo_Click();
    void btimprimir_Click();
    void MSFlexIdiomas_Click();
    void txtidioma_Change();
    void txtidioma_GotFocus();
    void txtidioma_KeyPress(int &KeyAscii);
    void txtidioma_LostFocus();

    platform::FlexGrid *grid() const { return MSFlexIdiomas; }
    QLineEdit *editor() const { return txtidioma; }
    QPushButton *botonguardar() const { return btguardar; }
    QPushButton *botonnuevo() const { return btnuevo; }
    QPushButton *botonimprimir() const { return btimprimir; }

    // A cell text changed since loading or the last completed save.
    bool modificado = false;
    // A new language column exists that has not been saved yet.
    bool nuevo = false;
    // The last save did not complete (no name for the last column, or the
    // file could not be written).
    bool errorguardar = false;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Grid and buttons placed for the window's size.
    void colocarcontroles();
    // Widths of the language columns for the grid's width.
    void anchocolumnas();
    // Floats the editor over the current cell, with that cell's text, and
    // gives it the focus.
    void colocareditor();
    // Writes the lines as the new language file in one step; false, after
    // telling the user, when the file could not be written.
    bool escribirfichero(const QStringList &lineas);

    platform::FlexGrid *MSFlexIdiomas = nullptr;
    QLineEdit *txtidioma = nullptr;
    QPushButton *btguardar = nullptr;
    QPushButton *btnuevo = nullptr;
    QPushButton *btimprimir = nullptr;
    // The language file's raw text, loaded for printing.
    QString rtxtprint;
    bool cargado_ = false;
};

// The language editor window: created and loaded on first use; closing it
// destroys it, so the next use reads the language file again.
frmIdioma &formidioma();
// The language editor if it is open, else nullptr.
frmIdioma *formidiomaexistente();
