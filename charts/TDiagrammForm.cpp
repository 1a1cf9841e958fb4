#include "TDiagrammForm.h"

#include "ChartView.h"
#include "CommandGuard.h"
#include "TextForms.h"
#include "UiServices.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kb {

namespace {

constexpr int labelColumn = 0;
constexpr int valueColumn = 1;
constexpr int colorColumn = 2;
constexpr int columnWidth = 58;
constexpr int rowHeight = 18;
constexpr int panelWidth = 201;
constexpr int startingCount = 8;

// The platform colour form 0x00BBGGRR: red in the lowest byte.
QColor colorFromNumber(qint64 number)
{
    return QColor(int(number & 0xFF), int(number >> 8 & 0xFF), int(number >> 16 & 0xFF));
}

qint64 numberFromColor(QColor color)
{
    const QColor rgb = color.toRgb();
    return qint64(rgb.red()) | qint64(rgb.green()) << 8 | qint64(rgb.blue()) << 16;
}

bool becomesZero(QChar character)
{
    const char16_t c = character.unicode();
    return c == u'.' || c == u';' || c == u'=' || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

// Cell editors that report every keystroke, and the colour swatches of the colour column.
class TDiagrammForm::CellDelegate : public QStyledItemDelegate
{
public:
    explicit CellDelegate(TDiagrammForm &form) : QStyledItemDelegate(&form), m_form(form) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->installEventFilter(&m_form);
        const int column = index.column();
        const int row = index.row() + 1;
        connect(editor, &QLineEdit::textEdited, &m_form,
                [this, column, row](const QString &text) { m_form.cellEdited(column, row, text); });
        return editor;
    }

    // SGridDrawCell: the colour cell's text is covered by a swatch of its colour.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() != colorColumn)
            return;
        bool isNumber = false;
        const qint64 number = index.data().toString().toLongLong(&isNumber);
        if (!isNumber)
            return;
        painter->fillRect(option.rect, colorFromNumber(number));
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        }
    }

private:
    TDiagrammForm &m_form;
};

TDiagrammForm::TDiagrammForm(UiServices &ui, QPrinter &printer, QWidget *parent)
    : QDialog(parent),
      beep(&QApplication::beep),
      m_ui(ui),
      m_printer(printer),
      m_line(m_chart.addSeries(Series::Kind::Line, Qt::red)),
      m_bar(m_chart.addSeries(Series::Kind::Bar, Qt::green)),
      m_pie(m_chart.addSeries(Series::Kind::Pie, Qt::yellow)),
      m_random(std::random_device{}())
{
    setObjectName(QStringLiteral("DiagrammForm"));
    setWindowTitle(QStringLiteral("Vuno Diagramm"));
    resize(600, 480);

    m_line.setMarksVisible(false);
    m_line.setPointSymbolsVisible(false);
    m_chart.title = QStringList{QStringLiteral("Diagramm - Vuno Office")};
    m_chart.axesVisible = false;
    m_chart.frameVisible = false;
    m_chart.backWallColor = Qt::white;
    m_chart.backWallFilled = false;
    m_chart.view3D = View3D{true, 35, 315, 360, 0, false};
    m_chart.legend = Legend{true, Legend::Alignment::Top};
    m_chart.leftAxisTitle = QStringLiteral("Vuno Diagramm");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    layout->addWidget(toolBar);
    auto *body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(buildPanel());
    m_view = new ChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("Chart"));
    body->addWidget(m_view, 1);
    layout->addLayout(body, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    layout->addWidget(StatusBar1);

    buildMenu();
    buildToolBar(*toolBar);
    connectHandlers();
    FormCreate();
}

TDiagrammForm::~TDiagrammForm() = default;

const QList<TDiagrammForm::PictureType> &TDiagrammForm::pictureTypes()
{
    static const QList<PictureType> types{
        {QStringLiteral("Bitmaps (*.bmp)"), QStringLiteral("*.bmp"), PictureFormat::Bmp, QStringLiteral("bmp")},
        {QStringLiteral("Erweiterte Metadateien (*.emf)"), QStringLiteral("*.emf"), PictureFormat::Emf, QStringLiteral("emf")},
        {QStringLiteral("Metadateien (*.wmf)"), QStringLiteral("*.wmf"), PictureFormat::Wmf, QStringLiteral("wmf")},
        {QStringLiteral("PNG-Bilder (*.png)"), QStringLiteral("*.png"), PictureFormat::Png, QStringLiteral("png")},
        {QStringLiteral("SVG-Grafiken (*.svg)"), QStringLiteral("*.svg"), PictureFormat::Svg, QStringLiteral("svg")},
        {QStringLiteral("PDF-Dokumente (*.pdf)"), QStringLiteral("*.pdf"), PictureFormat::Pdf, QStringLiteral("pdf")},
    };
    return types;
}

QWidget *TDiagrammForm::buildPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedWidth(panelWidth);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);

    CB3D = new QCheckBox(QStringLiteral("3D - Darstellung"), panel);
    CB3D->setObjectName(QStringLiteral("CB3D"));
    CB3D->setChecked(true);
    layout->addWidget(CB3D);
    const auto field = [&](const QString &name, const QString &caption, const QString &text) {
        layout->addWidget(new QLabel(caption, panel));
        auto *edit = new QLineEdit(text, panel);
        edit->setObjectName(name);
        layout->addWidget(edit);
        return edit;
    };
    EditTitle = field(QStringLiteral("EditTitle"), QStringLiteral("Titel:"), QStringLiteral("Vuno Diagramm"));
    EditYAxis = field(QStringLiteral("EditYAxis"), QStringLiteral("Y - Axe:"), QStringLiteral("Titel von Achse"));
    EditXAxis = field(QStringLiteral("EditXAxis"), QStringLiteral("X - Axe:"), QStringLiteral("Titel von Achse"));

    layout->addWidget(new QLabel(QStringLiteral("Anzahl graph. Elemente:"), panel));
    SpinEdit1 = new QSpinBox(panel);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 100000);
    SpinEdit1->setValue(startingCount);
    SpinEdit1->setEnabled(false);
    layout->addWidget(SpinEdit1);

    SGrid = new QTableWidget(startingCount, 3, panel);
    SGrid->setObjectName(QStringLiteral("SGrid"));
    // The header row is the grid's row 0: empty, and the place to drag column widths.
    SGrid->setHorizontalHeaderLabels({QString(), QString(), QString()});
    SGrid->horizontalHeader()->setFixedHeight(rowHeight);
    SGrid->horizontalHeader()->setDefaultSectionSize(columnWidth);
    SGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    SGrid->verticalHeader()->hide();
    SGrid->verticalHeader()->setDefaultSectionSize(rowHeight);
    SGrid->verticalHeader()->setMinimumSectionSize(rowHeight);
    SGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrid->setItemDelegate(new CellDelegate(*this));
    SGrid->installEventFilter(this);
    for (int row = 0; row < startingCount; ++row) {
        for (int column = 0; column < 3; ++column)
            SGrid->setItem(row, column, new QTableWidgetItem);
    }
    layout->addWidget(SGrid, 1);
    return panel;
}

QAction *TDiagrammForm::action(const QString &name, const QString &text, std::function<void()> handler)
{
    auto *item = new QAction(text, this);
    item->setObjectName(name);
    if (handler)
        CommandGuard::connect(item, m_ui, std::move(handler));
    return item;
}

void TDiagrammForm::buildMenu()
{
    auto *bar = static_cast<QMenuBar *>(layout()->menuBar());
    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei1"));
    file->addAction(action(QStringLiteral("Speichernunter1"), QStringLiteral("Speichern &unter..."), [this] { ToolButton12Click(); }));
    file->addSeparator();
    file->addAction(action(QStringLiteral("Drucken1"), QStringLiteral("&Drucken"), [this] { ToolButton13Click(); }));
    file->addSeparator();
    file->addAction(action(QStringLiteral("Beenden1"), QStringLiteral("&Beenden"), [this] { Beenden1Click(); }));

    QMenu *edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("Bearbeiten1"));
    QAction *copy = action(QStringLiteral("Kopieren1"), QStringLiteral("&Kopieren (Bitmap)"), [this] { Kopieren1Click(); });
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WindowShortcut);
    edit->addAction(copy);
    edit->addAction(action(QStringLiteral("SpeziellesKopieren1"), QStringLiteral("K&opieren als Metafile"),
                           [this] { SpeziellesKopieren1Click(); }));
    edit->addSeparator();
    edit->addAction(action(QStringLiteral("Datentabellekopieren1"), QStringLiteral("&Datentabelle kopieren"),
                           [this] { Datentabellekopieren1Click(); }));

    QMenu *view = bar->addMenu(QStringLiteral("&Ansicht"));
    view->setObjectName(QStringLiteral("Ansicht1"));
    view->addAction(action(QStringLiteral("Vergrern1"), QStringLiteral("&Vergrößern"), [this] { ToolButton6Click(); }));
    view->addAction(action(QStringLiteral("Verkleinern1"), QStringLiteral("Verkleine&rn"), [this] { ToolButton7Click(); }));
    view->addAction(action(QStringLiteral("N100Prozent1"), QStringLiteral("100 Prozent"), [this] { ToolButton9Click(); }));
    view->addSeparator();
    for (const auto &[name, text] : {std::pair{QStringLiteral("Kreisdiagramm1"), QStringLiteral("&Kreisdiagramm")},
                                     std::pair{QStringLiteral("Balkendiagramm1"), QStringLiteral("&Balkendiagramm")},
                                     std::pair{QStringLiteral("Liniendiagramm1"), QStringLiteral("&Liniendiagramm")}}) {
        QAction *type = action(name, text, {});
        type->setEnabled(false);
        view->addAction(type);
    }
    view->addSeparator();
    QMenu *legend = view->addMenu(QStringLiteral("Legende"));
    legend->setObjectName(QStringLiteral("Legende1"));
    legend->addAction(action(QStringLiteral("Oben1"), QStringLiteral("&Oben"), [this] { TBLegendTopClick(); }));
    legend->addAction(action(QStringLiteral("Unten1"), QStringLiteral("&Unten"), [this] { TBLegendBottomClick(); }));
    legend->addAction(action(QStringLiteral("Links1"), QStringLiteral("&Links"), [this] { TBLegendLeftClick(); }));
    legend->addAction(action(QStringLiteral("Rechts1"), QStringLiteral("&Rechts"), [this] { TBLegendRightClick(); }));
    legend->addAction(action(QStringLiteral("Ohne1"), QStringLiteral("Ohne"), [this] { TBNoLegendClick(); }));

    QMenu *help = bar->addMenu(QStringLiteral("?"));
    help->setObjectName(QStringLiteral("N1"));
    QAction *helpItem = action(QStringLiteral("Hilfe1"), QStringLiteral("&Hilfe"), {});
    helpItem->setEnabled(false);
    help->addAction(helpItem);
    help->addSeparator();
    help->addAction(action(QStringLiteral("Info1"), QStringLiteral("&Info"), [this] { Info1Click(); }));
}

QToolButton *TDiagrammForm::toolButton(const QString &name, const QString &hint, ChartToolIcons::Kind icon,
                                       std::function<void()> handler)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(ChartToolIcons::icon(icon));
    button->setAutoRaise(true);
    if (handler)
        CommandGuard::connect(button, m_ui, std::move(handler));
    return button;
}

void TDiagrammForm::buildToolBar(QToolBar &bar)
{
    using Icon = ChartToolIcons::Kind;
    bar.setIconSize(QSize(20, 20));
    bar.addWidget(toolButton(QStringLiteral("ToolButton12"), QStringLiteral("Speichern / Exportieren"), Icon::Save,
                             [this] { ToolButton12Click(); }));
    bar.addWidget(toolButton(QStringLiteral("ToolButton13"), QStringLiteral("Drucken"), Icon::Print,
                             [this] { ToolButton13Click(); }));
    bar.addSeparator();

    auto *types = new QButtonGroup(this);
    ToolButton14 = toolButton(QStringLiteral("ToolButton14"), QStringLiteral("Kreisdiagramm"), Icon::Pie, {});
    ToolButton14->setText(QStringLiteral("Kreis"));
    ToolButton14->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (QToolButton *button : {ToolButton14,
                                toolButton(QStringLiteral("ToolButton15"), QStringLiteral("Balkendiagramm"), Icon::Bar, {}),
                                toolButton(QStringLiteral("ToolButton16"), QStringLiteral("Liniendiagramm"), Icon::Line, {})}) {
        button->setCheckable(true);
        button->setEnabled(false);
        types->addButton(button);
        bar.addWidget(button);
    }
    ToolButton14->setChecked(true);
    bar.addSeparator();

    bar.addWidget(toolButton(QStringLiteral("ToolButton6"), QStringLiteral("Vergrößern"), Icon::ZoomIn, [this] { ToolButton6Click(); }));
    bar.addWidget(toolButton(QStringLiteral("ToolButton7"), QStringLiteral("Verkleinern"), Icon::ZoomOut, [this] { ToolButton7Click(); }));
    bar.addWidget(toolButton(QStringLiteral("ToolButton9"), QStringLiteral("100 Prozent"), Icon::Zoom100, [this] { ToolButton9Click(); }));
    bar.addSeparator();

    auto *legends = new QButtonGroup(this);
    const std::initializer_list<std::tuple<QString, QString, Icon, std::function<void()>>> legendButtons{
        {QStringLiteral("TBLegendTop"), QStringLiteral("Legende oben"), Icon::LegendTop, [this] { TBLegendTopClick(); }},
        {QStringLiteral("TBLegendBottom"), QStringLiteral("Legende unten"), Icon::LegendBottom, [this] { TBLegendBottomClick(); }},
        {QStringLiteral("TBLegendLeft"), QStringLiteral("Legende links"), Icon::LegendLeft, [this] { TBLegendLeftClick(); }},
        {QStringLiteral("TBLegendRight"), QStringLiteral("Legende rechts"), Icon::LegendRight, [this] { TBLegendRightClick(); }},
        {QStringLiteral("TBNoLegend"), QStringLiteral("ohne Legende"), Icon::NoLegend, [this] { TBNoLegendClick(); }},
    };
    for (const auto &[name, hint, icon, handler] : legendButtons) {
        QToolButton *button = toolButton(name, hint, icon, handler);
        button->setCheckable(true);
        button->setChecked(name == QStringLiteral("TBLegendTop"));
        legends->addButton(button);
        bar.addWidget(button);
    }
}

void TDiagrammForm::connectHandlers()
{
    CommandGuard::connect(EditTitle, &QLineEdit::textChanged, m_ui, [this] { EditTitleChange(); });
    CommandGuard::connect(EditYAxis, &QLineEdit::textChanged, m_ui, [this] { EditYAxisChange(); });
    CommandGuard::connect(EditXAxis, &QLineEdit::textChanged, m_ui, [this] { EditXAxisChange(); });
    CommandGuard::connect(CB3D, &QCheckBox::clicked, m_ui, [this] { CB3DClick(); });
    CommandGuard::connect(SpinEdit1, &QSpinBox::valueChanged, m_ui, [this] { SpinEdit1Change(); });
    CommandGuard::connect(SGrid, &QTableWidget::cellDoubleClicked, m_ui, [this] { SGridDblClick(); });
    connect(SGrid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        CommandGuard::guard(m_ui, [&] { SGridSelectCell(column, row + 1); });
    });
}

void TDiagrammForm::FormCreate()
{
    m_line.setAttached(false);
    m_bar.setAttached(false);
    m_pie.setAttached(true);
}

Series *TDiagrammForm::chartSeries()
{
    for (Series *series : {&m_line, &m_pie, &m_bar}) {
        if (series->isAttached())
            return series;
    }
    return nullptr;
}

void TDiagrammForm::redraw()
{
    m_view->update();
}

void TDiagrammForm::setElementCount(int count)
{
    const QSignalBlocker blocker(SpinEdit1);
    SpinEdit1->setValue(count);
    SpinEdit1Change();
}

int TDiagrammForm::elementCount() const
{
    return SpinEdit1->value();
}

QString TDiagrammForm::cell(int column, int row) const
{
    if (row < 1)
        return {};
    const QTableWidgetItem *item = SGrid->item(row - 1, column);
    return item ? item->text() : QString();
}

void TDiagrammForm::writeCell(int column, int row, const QString &text)
{
    SGrid->item(row - 1, column)->setText(text);
    SGridSetEditText(column, row, text);
}

void TDiagrammForm::pressPieButton()
{
    ToolButton14->setChecked(true);
}

void TDiagrammForm::setTitleText(const QString &text)
{
    EditTitle->setText(text);
}

void TDiagrammForm::SpinEdit1Change()
{
    const int count = SpinEdit1->value();
    SGrid->setRowCount(count);
    std::uniform_int_distribution<int> letter(0, 23);
    std::uniform_int_distribution<int> value(0, 99);
    std::uniform_int_distribution<int> color(0, 9999999);
    for (int row = 0; row < count; ++row) {
        const QString placeholders[] = {QString(QChar(u'a' + letter(m_random))), QString::number(value(m_random)),
                                        QString::number(color(m_random))};
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem *item = SGrid->item(row, column);
            if (!item)
                SGrid->setItem(row, column, item = new QTableWidgetItem);
            if (item->text().isEmpty())
                item->setText(placeholders[column]);
        }
    }
    rebuildChart();
}

void TDiagrammForm::rebuildChart()
{
    Series *series = chartSeries();
    if (!series)
        return;
    series->clear();
    for (int row = 1; row <= SGrid->rowCount(); ++row)
        series->append(TextForms::parseFloat(cell(valueColumn, row)), cell(labelColumn, row),
                       colorFromNumber(TextForms::parseInteger(cell(colorColumn, row))));
    redraw();
}

void TDiagrammForm::SGridSetEditText(int column, int row, const QString &text)
{
    Series *series = chartSeries();
    if (!series)
        return;
    if (column == labelColumn)
        series->setLabel(row - 1, text);
    else if (column == valueColumn && !text.isEmpty())
        series->setValue(row - 1, TextForms::parseFloat(text));
    else if (column == colorColumn)
        series->setPointColor(row - 1, colorFromNumber(TextForms::parseInteger(text)));
    redraw();
}

void TDiagrammForm::cellEdited(int column, int row, const QString &text)
{
    m_lastEdit = PendingEdit{column, row, text};
    try {
        SGridSetEditText(column, row, text);
    } catch (const std::exception &) {
        // Shown after the keystrokes already typed are handled: a box raised now would take the
        // keystroke that makes the text a number, and a fast typist would see one box per key.
        if (!m_errorCheckQueued) {
            m_errorCheckQueued = true;
            QTimer::singleShot(0, this, [this] { reportPendingCellError(); });
        }
    }
}

void TDiagrammForm::reportPendingCellError()
{
    m_errorCheckQueued = false;
    if (!m_lastEdit)
        return;
    const PendingEdit edit = *m_lastEdit;
    CommandGuard::guard(m_ui, [&] { SGridSetEditText(edit.column, edit.row, edit.text); });
}

void TDiagrammForm::SGridSelectCell(int column, int)
{
    SGrid->setEditTriggers(column == colorColumn ? QAbstractItemView::NoEditTriggers
                                                 : QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed
                                                       | QAbstractItemView::EditKeyPressed);
}

void TDiagrammForm::SGridDblClick()
{
    Series *series = chartSeries();
    if (!series)
        return;
    const int column = SGrid->currentColumn();
    const int row = SGrid->currentRow() + 1;
    if (row < 1 || column != colorColumn)
        return;
    const QColor chosen = m_ui.chooseColor(colorFromNumber(TextForms::parseInteger(cell(colorColumn, row))));
    if (!chosen.isValid())
        return;
    SGrid->item(row - 1, colorColumn)->setText(QString::number(numberFromColor(chosen)));
    series->setPointColor(row - 1, chosen);
    redraw();
}

bool TDiagrammForm::eventFilter(QObject *watched, QEvent *event)
{
    // SGridKeyPress: in the value column, letters and ". ; =" become the digit 0 with a beep.
    if (event->type() == QEvent::KeyPress && SGrid->currentColumn() == valueColumn && SGrid->currentRow() >= 0) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->text().size() == 1 && becomesZero(key->text().front())) {
            beep();
            QKeyEvent zero(QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, QStringLiteral("0"));
            QCoreApplication::sendEvent(watched, &zero);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDiagrammForm::EditTitleChange()
{
    m_chart.title = QStringList{EditTitle->text()};
    redraw();
}

void TDiagrammForm::EditYAxisChange()
{
    m_chart.leftAxisTitle = EditYAxis->text();
    redraw();
}

void TDiagrammForm::EditXAxisChange()
{
    m_chart.bottomAxisTitle = EditXAxis->text();
    redraw();
}

void TDiagrammForm::CB3DClick()
{
    m_chart.view3D.enabled = CB3D->isChecked();
    redraw();
}

void TDiagrammForm::setLegend(bool visible, Legend::Alignment alignment)
{
    m_chart.legend = Legend{visible, alignment};
    redraw();
}

void TDiagrammForm::TBLegendTopClick()
{
    setLegend(true, Legend::Alignment::Top);
}

void TDiagrammForm::TBLegendBottomClick()
{
    setLegend(true, Legend::Alignment::Bottom);
}

void TDiagrammForm::TBLegendLeftClick()
{
    setLegend(true, Legend::Alignment::Left);
}

void TDiagrammForm::TBLegendRightClick()
{
    setLegend(true, Legend::Alignment::Right);
}

void TDiagrammForm::TBNoLegendClick()
{
    setLegend(false, m_chart.legend.alignment);
}

void TDiagrammForm::ToolButton6Click()
{
    m_chart.zoomPercent(110);
    redraw();
}

void TDiagrammForm::ToolButton7Click()
{
    m_chart.zoomPercent(90);
    redraw();
}

void TDiagrammForm::ToolButton9Click()
{
    m_chart.undoZoom();
    redraw();
}

QString TDiagrammForm::PicSaveDlgTypeChange(int typeIndex)
{
    return pictureTypes().value(typeIndex, pictureTypes().first()).extension;
}

void TDiagrammForm::ToolButton12Click()
{
    QStringList filters;
    for (const PictureType &type : pictureTypes())
        filters << type.description;
    SaveOptions options;
    options.defaultSuffix = pictureTypes().first().extension;
    options.confirmOverwrite = true;
    options.suffixForFilter = &TDiagrammForm::PicSaveDlgTypeChange;
    QString chosenType;
    const QString path = m_ui.saveFileName(QStringLiteral("Speichern unter"), QString(), filters.join(QStringLiteral(";;")),
                                           QString(), options, &chosenType);
    if (path.isEmpty())
        return;
    const qsizetype typeIndex = std::max<qsizetype>(0, filters.indexOf(chosenType));
    ChartPicture::save(m_chart, m_view->size(), pictureTypes()[typeIndex].format, path);
}

void TDiagrammForm::ToolButton13Click()
{
    ChartPicture::print(m_chart, m_printer);
}

void TDiagrammForm::Kopieren1Click()
{
    QGuiApplication::clipboard()->setImage(ChartPicture::bitmap(m_chart, m_view->size()));
}

void TDiagrammForm::SpeziellesKopieren1Click()
{
    QGuiApplication::clipboard()->setMimeData(ChartPicture::metafileMimeData(m_chart, m_view->size()));
}

QString TDiagrammForm::dataTableText() const
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString text;
    for (int row = 0; row <= SGrid->rowCount(); ++row)
        text += cell(labelColumn, row) + lineEnd;
    text += lineEnd;
    for (int row = 0; row <= SGrid->rowCount(); ++row)
        text += cell(valueColumn, row) + lineEnd;
    return text;
}

void TDiagrammForm::Datentabellekopieren1Click()
{
    QGuiApplication::clipboard()->setText(dataTableText());
}

void TDiagrammForm::Info1Click()
{
    m_ui.information(QStringLiteral("Vuno Diagramm"));
}

void TDiagrammForm::Beenden1Click()
{
    close();
}

} // namespace kb
