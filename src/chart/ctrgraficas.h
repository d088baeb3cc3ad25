#pragma once
// ctrgraficas: the chart control. A footer with the title, the logo and the
// copy and print buttons; the chart area with the plot, the two axis captions,
// the four axis-limit boxes and the tick marks; the legend labels inside the
// plot. The curves come from the shared table `curvas`; titles, captions, the
// number of curves and the footer settings come through the properties.
//
// Geometry of the children is kept in twips (15 to a pixel) as the
// single-precision values the layout assigns; the widgets follow in whole
// pixels.

#include "chart/graficos.h"
#include "chart/renderers.h"
#include "platform/picturebox.h"
#include "platform/vbtypes.h"

#include <QFont>
#include <QPixmap>
#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
class textextend;

namespace platform
{
class PropertyBag;
}

// A value assigned to a single-precision property: a value beyond the single
// range, an infinity or a NaN is an overflow (VbError 6), as the property
// would refuse it.
platform::Single comoSingle(double v);

// A child widget's place in twips. A windowed control (frame, picture box,
// button) sits on whole pixels, so what it reads back is the assigned value
// rounded to a multiple of 15 twips; a windowless one (label, image) keeps the
// single-precision value it was given.
class Colocacion
{
public:
    using Single = platform::Single;
    enum Tipo { sinVentana, conVentana };
    explicit Colocacion(Tipo tipo = sinVentana) : tipo_(tipo) {}
    void attach(QWidget *w) { w_ = w; }
    QWidget *widget() const { return w_; }

    Single Left() const { return left_; }
    Single Top() const { return top_; }
    Single Width() const { return width_; }
    Single Height() const { return height_; }
    void setLeft(Single v);
    void setTop(Single v);
    void setWidth(Single v);
    void setHeight(Single v);
    void move(Single left, Single top, Single width, Single height);
    // Takes the widget's preferred size (a label sizing itself to its caption).
    void autoSize();

private:
    Single ajustar(Single v) const;
    void apply();
    Tipo tipo_;
    QWidget *w_ = nullptr;
    Single left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// A line control drawn on its container, ends in twips.
class LineaControl : public QObject
{
    Q_OBJECT
public:
    using Single = platform::Single;
    explicit LineaControl(QWidget *container, const QString &name);
    Single X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    platform::OleColor BorderColor = 0;
    bool Visible = true;
    void setX1(Single v)
    {
        X1 = v;
        changed();
    }
    void setY1(Single v)
    {
        Y1 = v;
        changed();
    }
    void setX2(Single v)
    {
        X2 = v;
        changed();
    }
    void setY2(Single v)
    {
        Y2 = v;
        changed();
    }

private:
    void changed();
};

// The chart area: a picture box that also draws the line controls it holds.
class AreaGrafico : public platform::PictureBox
{
    Q_OBJECT
public:
    explicit AreaGrafico(QWidget *parent = nullptr) : platform::PictureBox(parent) {}

protected:
    void paintEvent(QPaintEvent *event) override;
};

class ctrgraficas : public QWidget
{
    Q_OBJECT

public:
    using Integer = platform::Integer;
    using Long = platform::Long;
    using Single = platform::Single;
    using OleColor = platform::OleColor;

    explicit ctrgraficas(QWidget *parent = nullptr);
    ~ctrgraficas() override;

    // --- properties (every setter reports PropertyChanged under its name) ---
    bool Pie() const;
    void setPie(bool value);
    bool Logo() const;
    void setLogo(bool value);
    bool Botones() const;
    void setBotones(bool value);
    QString TituloCaption() const;
    void setTituloCaption(const QString &value);
    Long TituloAlignement() const;
    // Above 2 becomes 2; a negative value throws VbError(InvalidPropertyValue).
    void setTituloAlignement(Long value);
    OleColor TituloForeColor() const;
    void setTituloForeColor(OleColor value);
    QFont TituloFont() const;
    void setTituloFont(const QFont &value);
    QString LeyendXCaption() const;
    void setLeyendXCaption(const QString &value);
    QString LeyendYCaption() const;
    void setLeyendYCaption(const QString &value);
    QString NumGraf() const;
    // The text read as a number in the user's locale, rounded half to even to
    // a 16-bit integer; throws VbError (type mismatch, overflow) and keeps the
    // old value when it cannot.
    void setNumGraf(const QString &value);
    Long MouseLabelPointer() const;
    void setMouseLabelPointer(Long value);
    QImage MouseLabelIcon() const;
    void setMouseLabelIcon(const QImage &value);
    QString CopyCaption() const;
    void setCopyCaption(const QString &value);
    QString PrintCaption() const;
    void setPrintCaption(const QString &value);
    QString ImgToolTip() const;
    void setImgToolTip(const QString &value);
    QString ImgWebPage() const;
    void setImgWebPage(const QString &value);
    QString TextResult() const;
    void setTextResult(const QString &value);

    // --- public methods ---
    void clear();
    void actualiza();
    void dibuja();

    // --- lifecycle ---
    // A newly placed chart: home and current view (0, 0)-(1, 1).
    void UserControl_InitProperties();
    void UserControl_ReadProperties(const platform::PropertyBag &bag);
    void UserControl_WriteProperties(platform::PropertyBag &bag) const;
    // Minimum size, then the layout.
    void UserControl_Resize();

    // --- view and drawing (also used by the interaction and the picture) ---
    // Applies a view: checks it, shows it in the boxes, sets the plot's user
    // scale and clears the plot. False (after a message) when refused.
    bool fijarescala(Punto &p1, Punto &p2);
    // Whether the plot can show a view from p1 to p2: no span above 1e8 and
    // no end beyond the single range on either axis (a zero span passes).
    // Shows the interval warning and returns false when it cannot.
    bool vistaadmisible(const Punto &p1, const Punto &p2);
    static void calcularextremos(Integer n, const PuntoArray &puntos, Punto &minimo, Punto &maximo);
    void colocarleyenda(Integer i);

    // The smallest size the resize rules allow, for layouts.
    QSize minimumSizeHint() const override;

    // Size of the control in twips.
    Single Width() const;
    Single Height() const;

    // Views.
    Punto escalaMin() const { return escalamin; }
    Punto escalaMax() const { return escalamax; }
    Punto escalaInicialMin() const { return escalainicialmin; }
    Punto escalaInicialMax() const { return escalainicialmax; }
    void setEscala(const Punto &min, const Punto &max)
    {
        escalamin = min;
        escalamax = max;
    }
    Tramo tramoInicial() const { return tramoinicial; }
    Tramo tramoFinal() const { return tramofinal; }

    // Constituents.
    platform::PictureBox *plotBox() const { return pctgrafico; }
    AreaGrafico *chartArea() const { return frmgrafico; }
    platform::PictureBox *hiddenCanvas() const { return pctgraficas; }
    QWidget *footer() const { return frmpie; }
    QLabel *titleLabel() const { return lbcomentario; }
    QLabel *logo() const { return ImgLogo; }
    QPushButton *copyButton() const { return btclipb; }
    QPushButton *printButton() const { return btprint; }
    QLabel *captionX() const { return lbx; }
    QLabel *captionY() const { return lby; }
    textextend *limitBox(int i) const { return txtescala.at(std::size_t(i)); } // 1..4
    QLabel *legendLabel(int i) const { return lbleyenda.at(std::size_t(i)); }  // 1..10, may be null
    LineaControl *tickV(int i) const { return Linev.at(std::size_t(i)); }      // 0..10
    LineaControl *tickH(int i) const { return Lineh.at(std::size_t(i)); }      // 0..10
    const Colocacion &place(const QWidget *w) const;

    // Legend label i at (left, top) in plot units (its top-left corner).
    void moverLeyenda(int i, double left, double top);
    double leyendaLeft(int i) const { return leyendaPos_.at(std::size_t(i)).x; }
    double leyendaTop(int i) const { return leyendaPos_.at(std::size_t(i)).y; }
    // Height of a legend label in plot units (positive).
    double alturaLeyenda(int i) const;

    // The surface the curves are drawn on: the plot itself unless a test
    // hands in another one (a recording surface of the plot's size).
    platform::DrawSurface &pct() { return *superficie_; }
    void setPlotSurface(platform::DrawSurface *surface);

    // --- chart picture and report (chartpicture.cpp, chartreport.cpp) ---
    void componergrafica();
    void imprimirgrafica();
    void btclipb_Click();
    void btprint_Click();
    void imprimirinforme(const QString &texto, const QString &titulo, const QString &pie,
                         const QString &reservado);
    void imprimirtitulo(const QString &titulo, const QString &subtitulo);
    void cerrarpagina();

    // Mouse interaction state: the rubber-band box drawn last (chart units)
    // and the legend label last under the pointer with the pointer's place
    // inside it (twips).
    Tramo recuadroActual() const { return recuadro; }
    Integer leyendaIndice() const { return leyendaindice; }
    Long leyendaDx() const { return leyendadx; }
    Long leyendaDy() const { return leyendady; }

signals:
    void PropertyChanged(const QString &name);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildConstituents();
    void redimensionar();
    void ImgLogo_Click();
    void crearLeyenda(int i);
    void mostrarVista(const Punto &p1, const Punto &p2);
    // Draws the current view again without repeating the degree message.
    void redibujar();
    void aplicarAlineacionTitulo();
    Colocacion &placeOf(QWidget *w);

    // Mouse and keyboard interaction (interaccion.cpp).
    void prepararInteraccion();
    void prepararLeyenda(QLabel *l);
    bool filtroInteraccion(QObject *watched, QEvent *event);
    bool eventoPlot(QEvent *event);
    bool eventoLeyenda(int i, QEvent *event);
    int indiceLeyenda(const QObject *o) const;
    bool puntoSobrePlot(QWidget *desde, QPointF pos) const;
    void terminarArrastre(QWidget *soltada, QPointF enPlot);
    QPointF unidadesDesdePixel(QPointF pos) const;
    void pctgrafico_MouseMove(Integer Button, Integer Shift, Single X, Single Y);
    void pctgrafico_MouseDown(Integer Button, Integer Shift, Single X, Single Y);
    void pctgrafico_MouseUp(Integer Button, Integer Shift, Single X, Single Y);
    void lbleyenda_MouseMove(Integer Index, Integer Button, Integer Shift, Single X, Single Y);
    void pctgrafico_DragOver(QWidget *Source, Single X, Single Y, Integer State);
    void pctgrafico_DragDrop(QWidget *Source, Single X, Single Y);
    void txtescala_Click(Integer Index);
    void txtescala_KeyPress(Integer Index, Integer &KeyAscii);
    void txtescala_LostFocus(Integer Index);
    // The leave handling of a box; false when the view it asks for is refused.
    bool dejarcaja(Integer Index);

    // Constituents.
    QWidget *frmpie = nullptr;
    QPushButton *btclipb = nullptr;
    QPushButton *btprint = nullptr;
    QLabel *ImgLogo = nullptr;
    QLabel *lbcomentario = nullptr;
    platform::PictureBox *pctgraficas = nullptr;
    AreaGrafico *frmgrafico = nullptr;
    std::array<textextend *, 5> txtescala{}; // 1..4
    platform::PictureBox *pctgrafico = nullptr;
    std::array<QLabel *, maxCurvas + 1> lbleyenda{}; // 1..10
    std::array<Punto, maxCurvas + 1> leyendaPos_{};
    std::array<LineaControl *, 11> Linev{};
    std::array<LineaControl *, 11> Lineh{};
    QLabel *lbx = nullptr;
    QLabel *lby = nullptr;

    Colocacion geoFrmpie{Colocacion::conVentana}, geoBtclipb{Colocacion::conVentana},
        geoBtprint{Colocacion::conVentana}, geoFrmgrafico{Colocacion::conVentana},
        geoPctgrafico{Colocacion::conVentana};
    Colocacion geoImgLogo, geoLbcomentario, geoLbx, geoLby;

    // Fields behind the properties.
    Integer numgraf_ = 1;
    Integer pie_ = platform::vbTrue;
    QString imgWebPage_;
    QString textResult_;
    Integer tituloAlign_ = 2;
    OleColor tituloForeColor_ = 0;

    // Views and the first and last segments of the curve last drawn.
    Punto escalainicialmin, escalainicialmax, escalamin, escalamax;
    Tramo tramoinicial, tramofinal;

    // Interaction.
    Tramo recuadro{};
    Integer leyendaindice = 0;
    Long leyendadx = 0;
    Long leyendady = 0;
    int arrastre_ = 0;             // legend label being dragged, 0 for none
    QPoint agarre_;                // where it was taken, pixels inside it
    QWidget *contorno_ = nullptr;  // its outline following the pointer
    Punto antesMin_, antesMax_;    // the view when a button was last pressed on the plot
    std::array<QString, 5> textoVista_{}; // what the chart last wrote into each box, 1..4
    int salidaIgnorada_ = 0;              // a box whose next focus loss changes nothing

    platform::DrawSurface *superficie_ = nullptr;
    int resizeEvents_ = 0;
    bool dibujado_ = false;   // a drawing pass has run: a resize draws again
    bool avisosGrado_ = true; // show the degree message (not on a resize)
};
