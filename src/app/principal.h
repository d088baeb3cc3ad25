#pragma once
// The main window: toolbar, language menu, chart title and axis captions,
// curve-count spinner, ten curve tabs and the chart.

#include "language/idiomas.h"
#include "platform/commondialog.h"
#include "platform/imagelist.h"
#include "app/principal_panel.h"
#include "platform/vbtypes.h"

#include <QMainWindow>
#include <array>
#include <exception>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolBar;
class IniIndice;
class ctrgraficas;
class textextend;
namespace platform
{
class LineReader;
class UpDown;
}

class principal : public QMainWindow, public MenuIdiomas, public ControlesCurvas
{
    Q_OBJECT

public:
    using Integer = platform::Integer;

    explicit principal(QWidget *parent = nullptr);
    ~principal() override;

    // The load step: captions, toolbar, fields, spinner, curve tabs, chart.
    void Form_Load();
    bool loaded() const { return loaded_; }

    // Toolbar: dispatch on the clicked button's key.
    void TBmain_ButtonClick(QAction *button);

    // Commands run by the toolbar.
    void nuevofichero();
    void abrir();
    void guardarfichero();
    void borrarcurva(Integer Index);
    void dibujargraficas();
    void mostrarmenuidiomas();
    void mostrarayuda();
    void acercade();

    // Curve tabs.
    void iniciarcurva(Integer Index);
    void actualizagrado(Integer Index);
    void CMBunir_Click(Integer Index);

    // Point grids and their in-place editors.
    void BTadd_Click(Integer Index);
    void BTdelete_Click(Integer Index);
    void MSFdata_Click(Integer Index);
    void TXTflex_Change(Integer Index);
    void TXTflex_LostFocus(Integer Index);
    void MSFdata_Scroll(Integer Index);

    // Data files: the plain ".dat" file (read and written) and the keyed
    // INI-style one (read only). True when the file was read.
    bool abrirfichero();
    bool abrirfichero1();

    // Point import into one tab's grid, from a delimited text file or a workbook.
    void BTexcel_Click(Integer Index);
    void BTimport_Click(Integer Index);
    void CMBlimitador_Click(Integer Index);
    void importarexcel(const QString &fichero, Integer Index);
    void importartexto(const QString &fichero, Integer Index);

    // Language menu: items 1 to 10.
    void mnuidiomas_Click(Integer Index);
    void ponerelemento(int index, const QString &caption, bool checked, bool enabled, bool visible) override;
    QMenu *menuidiomas() const { return mnuidioma; }
    QAction *itemidiomas(int index) const { return mnuidiomas.at(static_cast<std::size_t>(index)); }

    // Curve-count spinner.
    void UPDng_UpClick();
    void UPDng_DownClick();

    // The unload step: releases the workbook objects left by an import.
    void Form_Unload();

    // Controls, for the parts of the window built elsewhere and for tests.
    QToolBar *toolbar() const { return TBmain; }
    QTabWidget *tabs() const { return SSTab; }
    QFrame *frametab(int i) const { return FRMtab.at(static_cast<std::size_t>(i)); }
    ctrgraficas *chart() const { return ctrgraficas1; }
    platform::UpDown *spinner() const { return UPDng; }
    QLineEdit *curvecount() const { return TXTng; }
    QLabel *curvecountLabel() const { return LBLng; }
    textextend *titlebox() const { return TXTtitulog; }
    textextend *xcaptionbox() const { return TXTleyendax; }
    textextend *ycaptionbox() const { return TXTleyenday; }
    const platform::ImageList &imagesmain() const { return IMGmain32; }
    const platform::ImageList &imagescolor() const { return IMGcolor; }

    // The open and save dialogs of the data files and the imports.
    platform::CommonDialog CDialog;

    // Workbook objects of an import in progress (empty otherwise).
    std::shared_ptr<void> objexcel;
    std::shared_ptr<void> objlibro;
    std::shared_ptr<void> objhoja;

    // The last message box shown by the drawing and file commands.
    QString msgtexto;
    Integer msgestilo = 0;
    QString msgtitulo;
    Integer msgrespuesta = 0;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void construirbarra();
    void construirmenuidiomas();
    // Builds the tab control with one page per curve; each page holds the
    // frame FRMtab(i) that carries that curve's controls.
    void construirpestanas();
    // Builds the controls of tab i's panel inside FRMtab(i).
    void construirpanel(int i);
    // Widths of the two value columns of tab k's point grid, from the grid's
    // width; they follow the grid when the window lays it out anew.
    void anchocolumnasdatos(std::size_t k);
    bool camposnumericos() const;
    // Data files and import: dialog set-up, the failure messages, the readers
    // and the writer.
    static QString filtrodatos();
    void prepararcdialog(const QString &filtro, long flags);
    void mensajefichero(bool cancelado);
    void mensajefallo(std::exception_ptr fallo);
    bool abrirdatos(bool nuevo);
    void leerdatos(platform::LineReader &lector);
    void leerdatosini(const IniIndice &ini);
    QStringList lineasdocumento() const;
    int pestanasvisibles() const;

    QToolBar *TBmain = nullptr;
    platform::ImageList IMGmain32{QSize(32, 32)};
    platform::ImageList IMGcolor{QSize(70, 10)};
    QMenu *mnuidioma = nullptr;
    std::array<QAction *, numItemsMenuIdiomas + 1> mnuidiomas{}; // 1 to 10
    std::array<bool, numItemsMenuIdiomas + 1> marcado_{};
    textextend *TXTtitulog = nullptr;
    textextend *TXTleyendax = nullptr;
    textextend *TXTleyenday = nullptr;
    QLabel *LBLng = nullptr;
    QLineEdit *TXTng = nullptr;
    platform::UpDown *UPDng = nullptr;
    QTabWidget *SSTab = nullptr;
    std::array<QFrame *, 10> FRMtab{};
    QFrame *Frame1 = nullptr;
    ctrgraficas *ctrgraficas1 = nullptr;

    bool loaded_ = false;
    bool unloaded_ = false;
};

// The program's main window: created hidden, and loaded, on first use.
principal &formprincipal();
// The main window if it exists, else nullptr.
principal *formprincipalexistente();
// Makes the language system fill the main window's language menu.
void instalarmenuidiomasprincipal();
