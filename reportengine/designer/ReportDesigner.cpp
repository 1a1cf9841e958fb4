#include "ReportDesigner.h"

#include "CommandGuard.h"
#include "DesignerCanvas.h"
#include "Errors.h"
#include "PropertyPanel.h"
#include "Report.h"
#include "UiServices.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace kb::report {

ReportDesigner::ReportDesigner(Report &report, UiServices &ui, QWidget *parent)
    : QDialog(parent), m_report(report), m_ui(ui), m_loaded(report.reportTemplate()), m_document(report.reportTemplate())
{
    setObjectName(QStringLiteral("ReportDesigner"));
    setModal(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_canvas = new DesignerCanvas(m_document);
    m_properties = new PropertyPanel(m_document);

    auto *bar = new QToolBar;
    buildToolBar(*bar);
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_canvas);
    scroll->setAlignment(Qt::AlignHCenter);
    m_canvas->resize(m_canvas->sizeHint());
    auto *split = new QSplitter;
    split->addWidget(scroll);
    split->addWidget(m_properties);
    split->setStretchFactor(0, 1);
    split->setSizes({880, 300});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(split, 1);

    connect(m_canvas, &DesignerCanvas::selectionChanged, this, [this] { m_properties->showObjects(m_canvas->selection()); });
    connect(&m_document.undoStack(), &QUndoStack::cleanChanged, this, &ReportDesigner::updateTitle);
    connect(&m_document.undoStack(), &QUndoStack::canUndoChanged, action(QStringLiteral("Undo")), &QAction::setEnabled);
    connect(&m_document.undoStack(), &QUndoStack::canRedoChanged, action(QStringLiteral("Redo")), &QAction::setEnabled);
    action(QStringLiteral("Undo"))->setEnabled(false);
    action(QStringLiteral("Redo"))->setEnabled(false);
    updateTitle();
    resize(1200, 900);
    m_canvas->setFocus();
}

void ReportDesigner::install(Report &report, UiServices &ui)
{
    report.designer = [&ui](Report &designed) {
        ReportDesigner designer(designed, ui, QApplication::activeWindow());
        ui.runModal(designer);
    };
}

QAction *ReportDesigner::addAction(QToolBar &bar, const QString &name, const QString &text, const QKeySequence &shortcut,
                                   std::function<void()> command)
{
    QAction *action = bar.addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    CommandGuard::connect(action, m_ui, std::move(command));
    return action;
}

QAction *ReportDesigner::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void ReportDesigner::buildToolBar(QToolBar &bar)
{
    bar.setToolButtonStyle(Qt::ToolButtonTextOnly);
    addAction(bar, QStringLiteral("Save"), QStringLiteral("Save"), QKeySequence::Save, [this] { save(); });
    addAction(bar, QStringLiteral("Preview"), QStringLiteral("Preview"), Qt::Key_F5, [this] { preview(); });
    bar.addSeparator();
    addAction(bar, QStringLiteral("Undo"), QStringLiteral("Undo"), QKeySequence::Undo, [this] { m_document.undoStack().undo(); });
    addAction(bar, QStringLiteral("Redo"), QStringLiteral("Redo"), QKeySequence::Redo, [this] { m_document.undoStack().redo(); });
    addAction(bar, QStringLiteral("Delete"), QStringLiteral("Delete"), {}, [this] { m_document.deleteObjects(m_canvas->selection()); });
    bar.addSeparator();
    for (ObjectKind kind : {ObjectKind::Text, ObjectKind::Line, ObjectKind::Rectangle, ObjectKind::Picture}) {
        const QString name = ObjectProperties::kindName(kind);
        addAction(bar, QStringLiteral("Add") + name, name, {}, [this, kind] { place(kind); });
    }
    bar.addSeparator();
    const std::pair<Alignment, QString> alignments[] = {
        {Alignment::Left, QStringLiteral("Left")},     {Alignment::Right, QStringLiteral("Right")},
        {Alignment::Top, QStringLiteral("Top")},       {Alignment::Bottom, QStringLiteral("Bottom")},
        {Alignment::HorizontalCenter, QStringLiteral("Centre")}, {Alignment::VerticalCenter, QStringLiteral("Middle")},
    };
    for (const auto &[alignment, text] : alignments) {
        addAction(bar, QStringLiteral("Align") + text, QStringLiteral("Align ") + text.toLower(), {},
                  [this, alignment] { m_document.align(m_canvas->selection(), alignment); });
    }
    bar.addSeparator();
    addAction(bar, QStringLiteral("ZoomIn"), QStringLiteral("Zoom +"), QKeySequence::ZoomIn, [this] { m_canvas->setZoom(m_canvas->zoom() * 1.25); });
    addAction(bar, QStringLiteral("ZoomOut"), QStringLiteral("Zoom -"), QKeySequence::ZoomOut, [this] { m_canvas->setZoom(m_canvas->zoom() / 1.25); });
}

void ReportDesigner::place(ObjectKind kind)
{
    ReportObject prototype;
    prototype.kind = kind;
    switch (kind) {
    case ObjectKind::Text:
        prototype.geometry = {0, 0, 30, 5};
        prototype.text = QStringLiteral("Text");
        break;
    case ObjectKind::Line: prototype.geometry = {0, 0, 30, 0}; break;
    case ObjectKind::Rectangle: prototype.geometry = {0, 0, 30, 10}; break;
    case ObjectKind::Picture: {
        const QString path = m_ui.openFileName(QStringLiteral("Open picture"), {}, QStringLiteral("Pictures (*.png *.svg)"), {});
        if (path.isEmpty())
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Cannot open %1").arg(path));
        prototype.picture = file.readAll();
        prototype.pictureType = QFileInfo(path).suffix().toLower() == QLatin1String("svg") ? QStringLiteral("svg") : QStringLiteral("png");
        prototype.geometry = {0, 0, 20, 20};
        break;
    }
    }
    prototype.name = ObjectProperties::kindName(kind);
    m_canvas->setPlacing(prototype);
    m_canvas->setFocus();
}

void ReportDesigner::preview()
{
    m_report.showReport();
}

bool ReportDesigner::save()
{
    const bool saved = CommandGuard::guard(m_ui, [this] { m_report.saveTemplate(); });
    if (saved) {
        m_loaded = m_report.reportTemplate();
        m_document.setSaved();
    }
    return saved;
}

bool ReportDesigner::mayClose()
{
    if (!m_document.isModified())
        return true;
    QMessageBox question(QMessageBox::Question, QStringLiteral("Confirm"),
                         QStringLiteral("Save changes to %1?").arg(m_report.fileName()),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    question.setObjectName(QStringLiteral("SaveChangesQuestion"));
    switch (m_ui.runModal(question)) {
    case QMessageBox::Yes: return save();
    case QMessageBox::No:
        // The report keeps the template as it was last saved, as the next print would read it.
        m_report.reportTemplate() = m_loaded;
        return true;
    default: return false;
    }
}

void ReportDesigner::done(int result)
{
    if (mayClose())
        QDialog::done(result);
}

void ReportDesigner::updateTitle()
{
    setWindowTitle(QStringLiteral("Report designer - %1%2").arg(m_report.fileName(), m_document.isModified() ? QStringLiteral(" *") : QString()));
}

} // namespace kb::report
