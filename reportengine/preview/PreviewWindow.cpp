#include "PreviewWindow.h"

#include "CommandGuard.h"
#include "FrpFile.h"
#include "PageView.h"
#include "PrinterOutput.h"
#include "UiServices.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kb::report {

namespace {

const QString FrpFilter = QStringLiteral("Report file (*.frp)");

} // namespace

PreviewWindow::PreviewWindow(PreparedReport &report, UiServices &ui, QPrinter &printer,
                             const std::vector<const ReportExport *> &exports, bool printerAvailable,
                             const PreviewButtons &buttons, QWidget *parent)
    : QDialog(parent), m_report(report), m_ui(ui), m_printer(printer), m_exports(exports)
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Preview"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setWindowState(Qt::WindowMaximized);
    build(buttons, printerAvailable);
    m_view->setReport(&m_report);
    refresh();
}

QAction *PreviewWindow::addCommand(const QString &name, const QString &text, const QKeySequence &key,
                                   std::function<void()> command)
{
    auto *act = new QAction(text, this);
    act->setObjectName(name);
    if (!key.isEmpty())
        act->setShortcut(key);
    CommandGuard::connect(act, m_ui, std::move(command));
    addAction(act);
    return act;
}

void PreviewWindow::build(const PreviewButtons &buttons, bool printerAvailable)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(bar);
    m_view = new PageView(this);
    layout->addWidget(m_view, 1);

    if (buttons.zoom) {
        auto *zoom = new QToolButton(bar);
        zoom->setObjectName(QStringLiteral("zoomButton"));
        zoom->setText(QStringLiteral("Zoom"));
        zoom->setPopupMode(QToolButton::InstantPopup);
        auto *menu = new QMenu(zoom);
        menu->addAction(addCommand(QStringLiteral("zoomIn"), QStringLiteral("Zoom in"), QKeySequence(Qt::Key_Plus),
                                   [this] { m_view->setZoom(m_view->zoomPercent() * 1.25); }));
        menu->addAction(addCommand(QStringLiteral("zoomOut"), QStringLiteral("Zoom out"), QKeySequence(Qt::Key_Minus),
                                   [this] { m_view->setZoom(m_view->zoomPercent() / 1.25); }));
        menu->addAction(addCommand(QStringLiteral("zoom100"), QStringLiteral("100 %"), {}, [this] { m_view->setZoom(100); }));
        menu->addAction(addCommand(QStringLiteral("zoomPageWidth"), QStringLiteral("Page width"), {},
                                   [this] { m_view->setFit(PageView::Fit::PageWidth); }));
        menu->addAction(addCommand(QStringLiteral("zoomWholePage"), QStringLiteral("Whole page"), {},
                                   [this] { m_view->setFit(PageView::Fit::WholePage); }));
        zoom->setMenu(menu);
        bar->addWidget(zoom);
        bar->addSeparator();
    }
    bar->addAction(addCommand(QStringLiteral("firstPage"), QStringLiteral("|<"), QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { goToPage(0); }));
    bar->addAction(addCommand(QStringLiteral("priorPage"), QStringLiteral("<"), QKeySequence(Qt::Key_PageUp), [this] { goToPage(currentPage() - 1); }));
    m_pageBox = new QSpinBox(bar);
    m_pageBox->setObjectName(QStringLiteral("pageNumber"));
    m_pageBox->setKeyboardTracking(false);
    bar->addWidget(m_pageBox);
    m_pageCount = new QLabel(bar);
    bar->addWidget(m_pageCount);
    bar->addAction(addCommand(QStringLiteral("nextPage"), QStringLiteral(">"), QKeySequence(Qt::Key_PageDown), [this] { goToPage(currentPage() + 1); }));
    bar->addAction(addCommand(QStringLiteral("lastPage"), QStringLiteral(">|"), QKeySequence(Qt::CTRL | Qt::Key_End),
                              [this] { goToPage(m_report.pageCount() - 1); }));
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int page) {
        if (page - 1 != currentPage())
            m_view->showPage(page - 1);
    });
    connect(m_view, &PageView::currentPageChanged, this, [this](int page) {
        const QSignalBlocker block(m_pageBox);
        m_pageBox->setValue(page + 1);
    });
    bar->addSeparator();
    if (buttons.load)
        bar->addAction(addCommand(QStringLiteral("load"), QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_O), [this] { loadChosen(); }));
    if (buttons.save)
        bar->addAction(addCommand(QStringLiteral("save"), QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); }));
    if (buttons.print) {
        QAction *printAction = addCommand(QStringLiteral("print"), QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print(); });
        printAction->setEnabled(printerAvailable);
        bar->addAction(printAction);
    }
    if (buttons.find) {
        bar->addSeparator();
        m_findText = new QLineEdit(bar);
        m_findText->setObjectName(QStringLiteral("findText"));
        m_findText->setPlaceholderText(QStringLiteral("Find text"));
        m_findText->setMaximumWidth(220);
        bar->addWidget(m_findText);
        CommandGuard::connect(m_findText, &QLineEdit::returnPressed, m_ui, [this] { find(m_findText->text()); });
        bar->addAction(addCommand(QStringLiteral("findPrevious"), QStringLiteral("Previous"), QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findNext(-1); }));
        bar->addAction(addCommand(QStringLiteral("findNext"), QStringLiteral("Next"), QKeySequence(Qt::Key_F3), [this] { findNext(1); }));
        addCommand(QStringLiteral("findFocus"), QStringLiteral("Find"), QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
            m_findText->setFocus();
            m_findText->selectAll();
        });
    }
    bar->addSeparator();
    if (buttons.help)
        bar->addAction(addCommand(QStringLiteral("help"), QStringLiteral("Help"), QKeySequence(Qt::Key_F1), [this] { help(); }));
    if (buttons.exit)
        bar->addAction(addCommand(QStringLiteral("close"), QStringLiteral("Close"), {}, [this] { reject(); }));
}

QAction *PreviewWindow::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void PreviewWindow::refresh()
{
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setRange(m_report.isEmpty() ? 0 : 1, std::max(1, m_report.pageCount()));
    m_pageBox->setValue(currentPage() + 1);
    m_pageCount->setText(QStringLiteral(" of %1 ").arg(m_report.pageCount()));
}

int PreviewWindow::currentPage() const
{
    return m_view->currentPage();
}

void PreviewWindow::goToPage(int page)
{
    m_view->showPage(page);
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setValue(currentPage() + 1);
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Home: goToPage(0); return;
    case Qt::Key_End: goToPage(m_report.pageCount() - 1); return;
    case Qt::Key_Escape: reject(); return;
    default: QDialog::keyPressEvent(event);
    }
}

QString PreviewWindow::saveFilters() const
{
    QStringList filters{FrpFilter};
    for (const ReportExport *e : m_exports)
        filters << e->filter();
    return filters.join(QStringLiteral(";;"));
}

QString PreviewWindow::saveAs(const QString &fileName, const QString &filter)
{
    const ReportExport *chosen = nullptr;
    for (const ReportExport *e : m_exports) {
        if (e->filter() == filter)
            chosen = e;
    }
    const QString extension = chosen ? chosen->extension() : QStringLiteral("frp");
    const QFileInfo info(fileName);
    const QString path = info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + extension);
    if (chosen)
        chosen->write(m_report, path);
    else
        FrpFile::save(m_report, path);
    m_directory = info.absolutePath();
    return path;
}

void PreviewWindow::save()
{
    QString filter;
    const QString name = m_ui.saveFileName(QStringLiteral("Save report"), m_directory, saveFilters(), {},
                                           SaveOptions{QStringLiteral("frp"), true}, &filter);
    if (name.isEmpty())
        return;
    saveAs(name, filter.isEmpty() ? FrpFilter : filter);
}

void PreviewWindow::load(const QString &path)
{
    m_report = FrpFile::load(path);
    m_hits.clear();
    m_hit = -1;
    m_view->setReport(&m_report);
    refresh();
}

void PreviewWindow::loadChosen()
{
    const QString name = m_ui.openFileName(QStringLiteral("Open prepared report"), m_directory, FrpFilter, {});
    if (!name.isEmpty())
        load(name);
}

void PreviewWindow::print()
{
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Print"));
    dialog.setMinMax(1, std::max(1, m_report.pageCount()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (m_ui.runModal(dialog) != QDialog::Accepted)
        return;
    const bool range = m_printer.printRange() == QPrinter::PageRange && m_printer.fromPage() > 0;
    PrinterOutput::print(m_report, m_printer, range ? m_printer.fromPage() : 1,
                         range ? m_printer.toPage() : m_report.pageCount(), m_printer.copyCount());
}

void PreviewWindow::help()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Preview help"),
                    QStringLiteral("Page Up / Page Down: previous / next page\n"
                                   "Ctrl+Home / Ctrl+End: first / last page\n"
                                   "+ / - or Ctrl+wheel: zoom in / out\n"
                                   "Ctrl+F: find text, F3 / Shift+F3: next / previous hit\n"
                                   "Ctrl+S: save or export, Ctrl+O: open a saved report, Ctrl+P: print\n"
                                   "Esc: close the preview"),
                    QMessageBox::Ok, this);
    m_ui.runModal(box);
}

int PreviewWindow::find(const QString &text)
{
    m_hits.clear();
    m_hit = -1;
    if (!text.isEmpty()) {
        for (int page = 0; page < m_report.pageCount(); ++page) {
            const auto &items = m_report.pages[size_t(page)].items;
            for (int i = 0; i < int(items.size()); ++i) {
                if (items[size_t(i)].kind == ObjectKind::Text && items[size_t(i)].text.contains(text, Qt::CaseInsensitive))
                    m_hits.append({page, i});
            }
        }
    }
    if (!m_hits.isEmpty()) {
        m_hit = 0;
        // Start at the first hit on or after the page in sight.
        for (int i = 0; i < m_hits.size(); ++i) {
            if (m_hits[i].first >= currentPage()) {
                m_hit = i;
                break;
            }
        }
    }
    showHit();
    return int(m_hits.size());
}

void PreviewWindow::findNext(int step)
{
    if (m_hits.isEmpty())
        return;
    m_hit = int((m_hit + step + m_hits.size()) % m_hits.size());
    showHit();
}

void PreviewWindow::showHit()
{
    const QPair<int, int> current = m_hit >= 0 ? m_hits[m_hit] : QPair<int, int>{-1, -1};
    m_view->setHighlights(m_hits, current);
    if (m_hit < 0)
        return;
    m_view->showPage(current.first, m_report.pages[size_t(current.first)].items[size_t(current.second)].y);
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setValue(currentPage() + 1);
}

} // namespace kb::report
