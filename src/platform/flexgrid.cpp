#include "platform/flexgrid.h"

#include "platform/numbertext.h"
#include "platform/vberror.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace platform
{

namespace
{

constexpr int defaultColWidthPx = 64;

// A cell's text. Up to `inPlace` characters of Latin-1 are kept in the cell
// itself (every number text the program writes fits), anything longer or
// beyond Latin-1 in a QString of its own, so a grid of many thousand number
// cells costs no allocation per cell.
class CellText
{
public:
    static constexpr int inPlace = 22;

    CellText() noexcept : size_(0) {}
    ~CellText() { release(); }
    CellText(const CellText &o) : size_(0) { *this = o; }
    CellText(CellText &&o) noexcept : size_(0) { take(o); }
    CellText &operator=(const CellText &o)
    {
        if (this == &o)
            return *this;
        if (o.onHeap())
            set(QStringView(*o.heap()));
        else
            set(o.latin1());
        return *this;
    }
    CellText &operator=(CellText &&o) noexcept
    {
        if (this != &o) {
            release();
            take(o);
        }
        return *this;
    }

    QString toString() const { return onHeap() ? *heap() : QString(latin1()); }

    bool operator==(QStringView t) const { return onHeap() ? QStringView(*heap()) == t : latin1() == t; }
    bool operator==(QLatin1StringView t) const { return onHeap() ? QStringView(*heap()) == t : latin1() == t; }

    void set(QStringView t)
    {
        if (t.size() <= inPlace) {
            char buf[inPlace];
            qsizetype i = 0;
            for (; i < t.size() && t[i].unicode() < 0x100; ++i)
                buf[i] = static_cast<char>(t[i].unicode());
            if (i == t.size()) {
                set(QLatin1StringView(buf, i));
                return;
            }
        }
        if (onHeap()) {
            *heap() = t.toString();
        } else {
            QString *h = new QString(t.toString());
            std::memcpy(chars_, &h, sizeof h);
            size_ = heapMark;
        }
    }
    void set(QLatin1StringView t)
    {
        if (t.size() > inPlace) {
            set(QStringView(QString(t)));
            return;
        }
        release();
        std::memcpy(chars_, t.data(), static_cast<std::size_t>(t.size()));
        size_ = static_cast<quint8>(t.size());
    }

    // Calls f with the text as a QLatin1StringView or a QStringView.
    template <typename F>
    auto visit(F &&f) const
    {
        return onHeap() ? f(QStringView(*heap())) : f(latin1());
    }

private:
    static constexpr quint8 heapMark = 0xFF;
    bool onHeap() const { return size_ == heapMark; }
    QLatin1StringView latin1() const { return QLatin1StringView(chars_, size_); }
    void release()
    {
        if (onHeap())
            delete heap();
        size_ = 0;
    }
    void take(CellText &o) noexcept
    {
        std::memcpy(chars_, o.chars_, sizeof chars_);
        size_ = o.size_;
        o.size_ = 0;
    }

    // The text on the heap: its address is kept in the place of the characters.
    QString *heap() const
    {
        QString *h = nullptr;
        std::memcpy(&h, chars_, sizeof h);
        return h;
    }

    char chars_[inPlace];
    quint8 size_; // characters in place, or heapMark
};

struct FlexCell {
    CellText text;
    qint8 align = -1; // -1: the column's alignment
};
static_assert(sizeof(FlexCell) == 24, "a cell is its text in place and its alignment");

// The rarely set looks of a cell, kept apart from the cells.
struct FlexLook {
    OleColor back = 0;
    bool hasBack = false;
    bool bold = false;
};

Qt::Alignment qtAlignment(int a, const QString &text)
{
    switch (a) {
    case flexAlignLeftTop:
        return Qt::AlignLeft | Qt::AlignTop;
    case flexAlignLeftCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case flexAlignLeftBottom:
        return Qt::AlignLeft | Qt::AlignBottom;
    case flexAlignCenterTop:
        return Qt::AlignHCenter | Qt::AlignTop;
    case flexAlignCenterCenter:
        return Qt::AlignCenter;
    case flexAlignCenterBottom:
        return Qt::AlignHCenter | Qt::AlignBottom;
    case flexAlignRightTop:
        return Qt::AlignRight | Qt::AlignTop;
    case flexAlignRightCenter:
        return Qt::AlignRight | Qt::AlignVCenter;
    case flexAlignRightBottom:
        return Qt::AlignRight | Qt::AlignBottom;
    default: {
        bool number = false;
        text.trimmed().toDouble(&number);
        return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    }
}

QColor qcolor(OleColor c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

[[noreturn]] void fail(int number, const char *what)
{
    throw VbError(number, QString::fromLatin1(what));
}

} // namespace

// The cells, fixed ones included, row by row. The view sees only the part
// that scrolls; the fixed row and column are shown by the view's headers.
class FlexGridModel : public QAbstractTableModel
{
public:
    FlexGridModel(int fixedRows, int fixedCols, int cols, QObject *parent)
        : QAbstractTableModel(parent), fr(fixedRows), fc(fixedCols), rows(fixedRows + 1), cols(cols),
          cells(static_cast<std::size_t>(rows) * cols), colAlign(cols, flexAlignGeneral)
    {
    }

    FlexCell &cell(int r, int c) { return cells[static_cast<std::size_t>(r) * cols + c]; }
    const FlexCell &cell(int r, int c) const { return cells[static_cast<std::size_t>(r) * cols + c]; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : rows - fr;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : cols - fc;
    }
    Qt::ItemFlags flags(const QModelIndex &) const override
    {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

    static quint64 lookKey(int r, int c) { return (quint64(quint32(r)) << 32) | quint32(c); }
    FlexLook look(int r, int c) const { return looks.value(lookKey(r, c)); }
    FlexLook &lookFor(int r, int c) { return looks[lookKey(r, c)]; }
    // Forgets the looks of the rows from `first` on and of the columns from
    // `firstCol` on; with `removed`, the rows below that one move up by one.
    void dropLooks(int first, int firstCol, int removed = -1)
    {
        if (looks.isEmpty())
            return;
        QHash<quint64, FlexLook> kept;
        for (auto i = looks.cbegin(); i != looks.cend(); ++i) {
            const int r = int(i.key() >> 32);
            const int c = int(i.key() & 0xFFFFFFFFu);
            if (r >= first || c >= firstCol || r == removed)
                continue;
            kept.insert(lookKey(removed >= 0 && r > removed ? r - 1 : r, c), i.value());
        }
        looks.swap(kept);
    }

    QVariant cellData(int r, int c, int role) const
    {
        const FlexCell &k = cell(r, c);
        switch (role) {
        case Qt::DisplayRole:
            return k.text.toString();
        case Qt::TextAlignmentRole: {
            int a = k.align;
            if (a < 0)
                a = (r < fr || c < fc) ? flexAlignLeftCenter : colAlign[static_cast<std::size_t>(c)];
            return int(qtAlignment(a, k.text.toString()));
        }
        case Qt::BackgroundRole: {
            const FlexLook l = look(r, c);
            if (l.hasBack)
                return QBrush(qcolor(l.back));
            return {};
        }
        case Qt::FontRole:
            if (look(r, c).bold) {
                QFont f;
                f.setBold(true);
                return f;
            }
            return {};
        default:
            return {};
        }
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        return cellData(index.row() + fr, index.column() + fc, role);
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal) {
            if (fr == 0 || section < 0 || section + fc >= cols)
                return {};
            return cellData(0, section + fc, role);
        }
        if (fc == 0 || section < 0 || section + fr >= rows)
            return {};
        return cellData(section + fr, 0, role);
    }

    void changed(int r, int c)
    {
        if (held) {
            pending = true;
            return;
        }
        if (r >= fr && c >= fc) {
            const QModelIndex i = index(r - fr, c - fc);
            emit dataChanged(i, i);
        } else if (r < fr && c >= fc) {
            emit headerDataChanged(Qt::Horizontal, c - fc, c - fc);
        } else if (c < fc && r >= fr) {
            emit headerDataChanged(Qt::Vertical, r - fr, r - fr);
        }
    }

    void setRowCount(int n)
    {
        if (n > rows) {
            beginInsertRows(QModelIndex(), rows - fr, n - fr - 1);
            cells.resize(static_cast<std::size_t>(n) * cols);
            rows = n;
            endInsertRows();
        } else if (n < rows) {
            beginRemoveRows(QModelIndex(), n - fr, rows - fr - 1);
            cells.resize(static_cast<std::size_t>(n) * cols);
            rows = n;
            dropLooks(n, cols);
            endRemoveRows();
        }
    }

    void setColCount(int n)
    {
        if (n == cols)
            return;
        std::vector<FlexCell> next(static_cast<std::size_t>(rows) * n);
        const int keep = std::min(n, cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < keep; ++c)
                next[static_cast<std::size_t>(r) * n + c] = std::move(cell(r, c));
        if (n > cols) {
            beginInsertColumns(QModelIndex(), cols - fc, n - fc - 1);
            cells.swap(next);
            cols = n;
            colAlign.resize(static_cast<std::size_t>(n), flexAlignGeneral);
            endInsertColumns();
        } else {
            beginRemoveColumns(QModelIndex(), n - fc, cols - fc - 1);
            cells.swap(next);
            cols = n;
            colAlign.resize(static_cast<std::size_t>(n));
            dropLooks(rows, n);
            endRemoveColumns();
        }
        if (fr > 0)
            emit headerDataChanged(Qt::Horizontal, 0, std::max(0, cols - fc - 1));
    }

    void removeRowAt(int r)
    {
        beginRemoveRows(QModelIndex(), r - fr, r - fr);
        const auto first = cells.begin() + static_cast<std::ptrdiff_t>(r) * cols;
        cells.erase(first, first + cols);
        --rows;
        dropLooks(rows + 1, cols, r);
        endRemoveRows();
    }

    // Tells the views once about every cell changed while the grid was held.
    void release()
    {
        held = false;
        if (!pending)
            return;
        pending = false;
        if (rows > fr && cols > fc)
            emit dataChanged(index(0, 0), index(rows - fr - 1, cols - fc - 1));
        if (fr > 0 && cols > fc)
            emit headerDataChanged(Qt::Horizontal, 0, cols - fc - 1);
        if (fc > 0 && rows > fr)
            emit headerDataChanged(Qt::Vertical, 0, rows - fr - 1);
    }

    bool held = false;    // cell changes are not told to the views one by one
    bool pending = false; // a cell changed while held
    int fr;
    int fc;
    int rows;
    int cols;
    std::vector<FlexCell> cells;
    QHash<quint64, FlexLook> looks; // by row and column, only the cells that have one
    std::vector<int> colAlign;
};

class FlexGridView : public QTableView
{
public:
    FlexGridView(FlexGrid *grid) : QTableView(grid), grid_(grid) {}

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        QTableView::currentChanged(current, previous);
        if (!grid_->syncing_ && current.isValid())
            grid_->takeCurrentFromView();
    }

private:
    FlexGrid *grid_;
};

FlexGrid::FlexGrid(int fixedRows, int fixedCols, int cols, QWidget *parent) : QWidget(parent)
{
    fixedRows = std::clamp(fixedRows, 0, 1);
    fixedCols = std::clamp(fixedCols, 0, 1);
    cols = std::max(cols, fixedCols + 1);
    model_ = new FlexGridModel(fixedRows, fixedCols, cols, this);
    view_ = new FlexGridView(this);
    view_->setObjectName(QStringLiteral("flexview"));
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setCornerButtonEnabled(false);
    view_->setWordWrap(false);
    view_->setTextElideMode(Qt::ElideNone);
    for (QHeaderView *h : {view_->horizontalHeader(), view_->verticalHeader()}) {
        h->setSectionsClickable(false);
        h->setSectionsMovable(false);
        h->setHighlightSections(false);
        h->setStretchLastSection(false);
        h->setMinimumSectionSize(0);
        h->viewport()->installEventFilter(this);
    }
    view_->viewport()->installEventFilter(this);
    if (auto *corner = view_->findChild<QAbstractButton *>())
        corner->installEventFilter(this);

    fixedColWidthPx_ = defaultColWidthPx;
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fitRowsToFont();
    view_->horizontalHeader()->setDefaultSectionSize(defaultColWidthPx);
    view_->horizontalHeader()->setVisible(fixedRows > 0);
    view_->verticalHeader()->setVisible(fixedCols > 0);
    applyFixedGeometry();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);

    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, &FlexGrid::Scroll);
    connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FlexGrid::Scroll);

    row_ = rowSel_ = fixedRows;
    col_ = colSel_ = fixedCols;
    syncView();
}

FlexGrid::~FlexGrid() = default;

QTableView *FlexGrid::view() const
{
    return view_;
}

int FlexGrid::FixedRows() const
{
    return model_->fr;
}
int FlexGrid::FixedCols() const
{
    return model_->fc;
}
int FlexGrid::Rows() const
{
    return model_->rows;
}
int FlexGrid::Cols() const
{
    return model_->cols;
}

void FlexGrid::fitRowsToFont()
{
    rowHeightPx_ = fontMetrics().height() + 4;
    view_->verticalHeader()->setDefaultSectionSize(rowHeightPx_);
    applyFixedGeometry();
}

void FlexGrid::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && view_)
        fitRowsToFont();
}

void FlexGrid::applyFixedGeometry()
{
    if (model_->fr > 0)
        view_->horizontalHeader()->setFixedHeight(rowHeightPx_);
    if (model_->fc > 0)
        view_->verticalHeader()->setFixedWidth(fixedColWidthPx_);
}

void FlexGrid::checkRow(int row) const
{
    if (row < 0 || row >= model_->rows)
        fail(vberr::InvalidPropertyValue, "Invalid Row value");
}

void FlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= model_->cols)
        fail(vberr::InvalidPropertyValue, "Invalid Col value");
}

void FlexGrid::checkCell(int row, int col) const
{
    if (row < 0 || row >= model_->rows || col < 0 || col >= model_->cols)
        fail(vberr::SubscriptOutOfRange, "Subscript out of range");
}

void FlexGrid::clampCurrent()
{
    row_ = std::min(row_, model_->rows - 1);
    rowSel_ = std::min(rowSel_, model_->rows - 1);
    col_ = std::min(col_, model_->cols - 1);
    colSel_ = std::min(colSel_, model_->cols - 1);
}

void FlexGrid::setRows(int rows)
{
    if (rows < model_->fr || rows < 1)
        fail(vberr::InvalidPropertyValue, "Invalid Rows value");
    {
        QScopedValueRollback<bool> guard(syncing_, true);
        model_->setRowCount(rows);
    }
    clampCurrent();
    syncView();
}

void FlexGrid::setCols(int cols)
{
    if (cols < model_->fc + 1)
        fail(vberr::InvalidPropertyValue, "Invalid Cols value");
    {
        QScopedValueRollback<bool> guard(syncing_, true);
        model_->setColCount(cols);
    }
    clampCurrent();
    syncView();
}

void FlexGrid::setRow(int row)
{
    checkRow(row);
    row_ = rowSel_ = row;
    colSel_ = col_;
    syncView();
}

void FlexGrid::setCol(int col)
{
    checkCol(col);
    col_ = colSel_ = col;
    rowSel_ = row_;
    syncView();
}

void FlexGrid::setRowSel(int row)
{
    checkRow(row);
    rowSel_ = row;
    syncView();
}

void FlexGrid::setColSel(int col)
{
    checkCol(col);
    colSel_ = col;
    syncView();
}

QString FlexGrid::Text() const
{
    return model_->cell(row_, col_).text.toString();
}

void FlexGrid::setText(const QString &text)
{
    setTextMatrix(row_, col_, text);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkCell(row, col);
    return model_->cell(row, col).text.toString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    checkCell(row, col);
    FlexCell &k = model_->cell(row, col);
    if (k.text == QStringView(text))
        return;
    k.text.set(QStringView(text));
    model_->changed(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, QLatin1StringView text)
{
    checkCell(row, col);
    FlexCell &k = model_->cell(row, col);
    if (k.text == text)
        return;
    k.text.set(text);
    model_->changed(row, col);
}

double FlexGrid::ValMatrix(int row, int col) const
{
    checkCell(row, col);
    return model_->cell(row, col).text.visit([](auto t) { return val(t); });
}

void FlexGrid::AddItem(const QString &text)
{
    const int n = model_->rows;
    setRows(n + 1);
    setTextMatrix(n, 0, text);
}

void FlexGrid::RemoveItem(int row)
{
    if (row < model_->fr || row >= model_->rows)
        fail(vberr::SubscriptOutOfRange, "Subscript out of range");
    if (model_->rows - model_->fr <= 1)
        fail(vberr::InvalidProcedureCall, "Cannot remove last non-fixed row");
    {
        QScopedValueRollback<bool> guard(syncing_, true);
        model_->removeRowAt(row);
    }
    // The current cell and the selection keep pointing at the same rows where
    // those rows are still there.
    if (row_ > row)
        --row_;
    if (rowSel_ > row)
        --rowSel_;
    clampCurrent();
    syncView();
}

int FlexGrid::CellAlignment() const
{
    const FlexCell &k = model_->cell(row_, col_);
    return k.align >= 0 ? k.align : model_->colAlign[static_cast<std::size_t>(col_)];
}

void FlexGrid::setCellAlignment(int alignment)
{
    if (alignment < 0 || alignment > flexAlignGeneral)
        fail(vberr::InvalidPropertyValue, "Invalid property value");
    FlexCell &k = model_->cell(row_, col_);
    if (k.align == alignment)
        return;
    k.align = static_cast<qint8>(alignment);
    model_->changed(row_, col_);
}

int FlexGrid::ColAlignment(int col) const
{
    checkCol(col);
    return model_->colAlign[static_cast<std::size_t>(col)];
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    checkCol(col);
    if (alignment < 0 || alignment > flexAlignGeneral)
        fail(vberr::InvalidPropertyValue, "Invalid property value");
    model_->colAlign[static_cast<std::size_t>(col)] = alignment;
    if (col >= model_->fc && model_->rows > model_->fr)
        emit model_->dataChanged(model_->index(0, col - model_->fc),
                                 model_->index(model_->rows - model_->fr - 1, col - model_->fc));
}

int FlexGrid::ColWidth(int col) const
{
    checkCol(col);
    if (col < model_->fc)
        return static_cast<int>(twipsFromPixels(fixedColWidthPx_));
    return static_cast<int>(twipsFromPixels(view_->horizontalHeader()->sectionSize(col - model_->fc)));
}

void FlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    const int px = twips < 0 ? defaultColWidthPx : static_cast<int>(std::lround(pixelsFromTwips(twips)));
    if (col < model_->fc) {
        fixedColWidthPx_ = px;
        applyFixedGeometry();
    } else {
        view_->horizontalHeader()->resizeSection(col - model_->fc, px);
    }
}

int FlexGrid::RowHeight(int row) const
{
    checkRow(row);
    return static_cast<int>(twipsFromPixels(rowHeightPx_));
}

int FlexGrid::CellWidth() const
{
    return ColWidth(col_);
}
int FlexGrid::CellHeight() const
{
    return RowHeight(row_);
}

int FlexGrid::RowPos(int row) const
{
    checkRow(row);
    QPoint p;
    if (row < model_->fr)
        p = view_->horizontalHeader()->mapTo(this, QPoint(0, 0));
    else
        p = view_->viewport()->mapTo(this, QPoint(0, view_->rowViewportPosition(row - model_->fr)));
    return static_cast<int>(twipsFromPixels(p.y()));
}

int FlexGrid::ColPos(int col) const
{
    checkCol(col);
    QPoint p;
    if (col < model_->fc)
        p = view_->verticalHeader()->mapTo(this, QPoint(0, 0));
    else
        p = view_->viewport()->mapTo(this, QPoint(view_->columnViewportPosition(col - model_->fc), 0));
    return static_cast<int>(twipsFromPixels(p.x()));
}

void FlexGrid::setCellBackColor(OleColor color)
{
    FlexLook &k = model_->lookFor(row_, col_);
    k.back = color;
    k.hasBack = true;
    model_->changed(row_, col_);
}

void FlexGrid::setCellFontBold(bool bold)
{
    if (model_->look(row_, col_).bold == bold)
        return;
    model_->lookFor(row_, col_).bold = bold;
    model_->changed(row_, col_);
}

OleColor FlexGrid::BackColorFixed() const
{
    const QColor c = palette().color(QPalette::Button);
    return rgb(c.red(), c.green(), c.blue());
}

void FlexGrid::setSelectionMode(int mode)
{
    if (mode < flexSelectionFree || mode > flexSelectionByColumn)
        fail(vberr::InvalidPropertyValue, "Invalid property value");
    selectionMode_ = mode;
    syncView();
}

int FlexGrid::Left() const
{
    return static_cast<int>(twipsFromPixels(x()));
}
int FlexGrid::Top() const
{
    return static_cast<int>(twipsFromPixels(y()));
}
int FlexGrid::Width() const
{
    return static_cast<int>(twipsFromPixels(width()));
}
int FlexGrid::Height() const
{
    return static_cast<int>(twipsFromPixels(height()));
}

void FlexGrid::moveTwips(int left, int top, int width, int height)
{
    setGeometry(static_cast<int>(std::lround(pixelsFromTwips(left))),
                static_cast<int>(std::lround(pixelsFromTwips(top))),
                static_cast<int>(std::lround(pixelsFromTwips(width))),
                static_cast<int>(std::lround(pixelsFromTwips(height))));
}

bool FlexGrid::Redraw() const
{
    return !model_->held;
}

void FlexGrid::setRedraw(bool redraw)
{
    if (redraw == !model_->held)
        return;
    if (!redraw) {
        model_->held = true;
        return;
    }
    model_->release();
    syncView();
}

// Shows the current cell and the selection in the view.
void FlexGrid::syncView()
{
    if (model_->held)
        return; // shown when the grid is drawn again
    QScopedValueRollback<bool> guard(syncing_, true);
    QItemSelectionModel *sel = view_->selectionModel();
    const int fr = model_->fr;
    const int fc = model_->fc;
    const QModelIndex cur = (row_ >= fr && col_ >= fc) ? model_->index(row_ - fr, col_ - fc) : QModelIndex();
    if (sel->currentIndex() != cur)
        sel->setCurrentIndex(cur, QItemSelectionModel::NoUpdate);
    int r1 = std::min(row_, rowSel_), r2 = std::max(row_, rowSel_);
    int c1 = std::min(col_, colSel_), c2 = std::max(col_, colSel_);
    if (selectionMode_ == flexSelectionByRow) {
        c1 = fc;
        c2 = model_->cols - 1;
    } else if (selectionMode_ == flexSelectionByColumn) {
        r1 = fr;
        r2 = model_->rows - 1;
    }
    // A lone current cell shows only its focus frame; a range is highlighted.
    const bool range = r1 != r2 || c1 != c2;
    r1 = std::max(r1, fr);
    c1 = std::max(c1, fc);
    if (range && r1 <= r2 && c1 <= c2) {
        const QItemSelection cells(model_->index(r1 - fr, c1 - fc), model_->index(r2 - fr, c2 - fc));
        if (sel->selection() != cells)
            sel->select(cells, QItemSelectionModel::ClearAndSelect);
    } else if (sel->hasSelection()) {
        sel->clearSelection();
    }
}

// The user moved the current cell with the keyboard.
void FlexGrid::takeCurrentFromView()
{
    const QModelIndex cur = view_->selectionModel()->currentIndex();
    row_ = rowSel_ = cur.row() + model_->fr;
    col_ = colSel_ = cur.column() + model_->fc;
    syncView();
}

bool FlexGrid::cellAt(QObject *watched, const QPoint &pos, int &row, int &col) const
{
    const int fr = model_->fr;
    const int fc = model_->fc;
    if (watched == view_->viewport()) {
        const int r = view_->rowAt(pos.y());
        const int c = view_->columnAt(pos.x());
        if (r < 0 || c < 0)
            return false;
        row = r + fr;
        col = c + fc;
        return true;
    }
    if (watched == view_->horizontalHeader()->viewport()) {
        const int c = view_->horizontalHeader()->logicalIndexAt(pos.x());
        if (c < 0)
            return false;
        row = 0;
        col = c + fc;
        return true;
    }
    if (watched == view_->verticalHeader()->viewport()) {
        const int r = view_->verticalHeader()->logicalIndexAt(pos.y());
        if (r < 0)
            return false;
        row = r + fr;
        col = 0;
        return true;
    }
    if (fr > 0 && fc > 0) { // the corner
        row = 0;
        col = 0;
        return true;
    }
    return false;
}

// Mouse clicks and drags on the cells, the fixed row, the fixed column and the
// corner: the press picks the current cell, a drag moves the far corner of the
// selection, the release raises Click.
bool FlexGrid::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return true;
        // The focus moves first, so a box that commits its text when it loses
        // the focus does so while the previous cell is still current.
        if (!view_->hasFocus())
            view_->setFocus(Qt::MouseFocusReason);
        int r = 0, c = 0;
        if (cellAt(watched, me->position().toPoint(), r, c)) {
            row_ = rowSel_ = r;
            col_ = colSel_ = c;
            syncView();
            // Only a press on a cell starts a click (not one below the last row).
            dragging_ = true;
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        int r = 0, c = 0;
        if (dragging_ && cellAt(watched, me->position().toPoint(), r, c)) {
            rowSel_ = r;
            colSel_ = c;
            syncView();
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton || !dragging_)
            return true;
        dragging_ = false;
        int r = 0, c = 0;
        if (cellAt(watched, me->position().toPoint(), r, c)) {
            rowSel_ = r;
            colSel_ = c;
            syncView();
        }
        emit Click();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace platform
