#include "DesignerCanvas.h"
#include "FormatSettings.h"
#include "Report.h"
#include "ReportDesigner.h"
#include "ScriptedUiServices.h"
#include "TemplateFile.h"
#include "TestFiles.h"

#include <QAction>
#include <QDir>
#include <QMessageBox>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace kb;
using namespace kb::report;

// The designer window on a report loaded from a template file of its own directory.
class tst_ReportDesigner : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedUiServices> m_ui;
    FormatSettings m_formats;
    QPrinter m_printer;
    std::unique_ptr<Report> m_report;
    const ObjectRef m_first{{BandRef::PageHeader}, 0};

    QString path() const { return m_dir->filePath(QStringLiteral("Kassenbuch.frf")); }

    static ReportTemplate smallTemplate()
    {
        ReportTemplate t;
        ReportObject heading;
        heading.name = QStringLiteral("Heading");
        heading.geometry = {10, 2, 60, 6};
        heading.text = QStringLiteral("Kassenbuch [Firma.Print1]");
        t.pageHeader = Band{20.0, {heading}};
        t.data.push_back(DataSection{});
        return t;
    }

    ReportObject &first() { return m_report->reportTemplate().pageHeader->objects.front(); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        TemplateFile::save(smallTemplate(), path());
        m_ui = std::make_unique<ScriptedUiServices>();
        m_report = std::make_unique<Report>(*m_ui, m_formats, m_printer);
        m_report->loadTemplate(path());
    }

    void cleanup()
    {
        m_report.reset();
        m_ui.reset();
        m_dir.reset();
    }

    // The real widget: a click selects, the arrow keys move by the grid or by a tenth of a
    // millimetre with Shift, Ctrl+Z takes the last step back.
    void clickNudgeUndo()
    {
        ReportDesigner designer(*m_report, *m_ui);
        designer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&designer));
        DesignerCanvas &canvas = designer.canvas();
        const double bandTop = canvas.layout().front().top;
        const QPointF centre = canvas.toWidget(first().geometry.center() + QPointF(m_report->reportTemplate().page.marginLeft, bandTop));
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, centre.toPoint());
        QCOMPARE(canvas.selection(), std::vector<ObjectRef>{m_first});

        QTest::keyClick(&canvas, Qt::Key_Right);
        QCOMPARE(first().geometry.topLeft(), QPointF(12.5, 2));
        QTest::keyClick(&canvas, Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(qAbs(first().geometry.top() - 2.1) < 1e-9);
        QVERIFY(designer.document().isModified());
        QVERIFY(designer.windowTitle().endsWith(QLatin1String(" *")));
        QVERIFY(designer.action(QStringLiteral("Undo"))->isEnabled());

        designer.action(QStringLiteral("Undo"))->trigger();
        designer.action(QStringLiteral("Undo"))->trigger();
        QCOMPARE(m_report->reportTemplate(), smallTemplate());
        QVERIFY(!designer.document().isModified());
        designer.action(QStringLiteral("Redo"))->trigger();
        QCOMPARE(first().geometry.topLeft(), QPointF(12.5, 2));
        m_ui->expectDialog(QStringLiteral("SaveChangesQuestion"), [](QDialog &) { return int(QMessageBox::No); });
        designer.reject();
        QVERIFY(m_problemsFree());
    }

    // Save goes back to the loaded file, which the engine then reads as the designer left it,
    // and leaves no other file behind.
    void saveWritesTheLoadedFile()
    {
        ReportDesigner designer(*m_report, *m_ui);
        designer.document().moveObjects({m_first}, {5, 3});
        designer.document().resizeBand({BandRef::Detail, 0}, 7.5);
        QVERIFY(designer.save());
        QVERIFY(!designer.document().isModified());
        QCOMPARE(TemplateFile::load(path()), m_report->reportTemplate());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("Kassenbuch.frf")});
        Report reloaded(*m_ui, m_formats, m_printer);
        reloaded.loadTemplate(path());
        QCOMPARE(reloaded.reportTemplate().pageHeader->objects.front().geometry, QRectF(15, 5, 60, 6));
    }

    // A write that fails half-way leaves the template as it was, no temporary file, the changes
    // unsaved and the error shown.
    void failedSaveKeepsTheOldFile()
    {
        const QByteArray before = testfiles::readBytes(path());
        ReportDesigner designer(*m_report, *m_ui);
        ReportObject big;
        big.text = QString(4000, QLatin1Char('x'));
        designer.document().addObject({BandRef::Detail, 0}, big);

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool saved = designer.save();
        setrlimit(RLIMIT_FSIZE, &old);

        QVERIFY(!saved);
        QCOMPARE(m_ui->takeErrors().size(), 1);
        QCOMPARE(testfiles::readBytes(path()), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Kassenbuch.frf")});
        QVERIFY(designer.document().isModified());
    }

    void closingWithChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("fileChanged");
        QTest::addColumn<bool>("templateKept");
        QTest::newRow("yes saves") << int(QMessageBox::Yes) << true << true << true;
        QTest::newRow("no drops the changes") << int(QMessageBox::No) << true << false << false;
        QTest::newRow("cancel stays open") << int(QMessageBox::Cancel) << false << false << true;
    }

    void closingWithChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, fileChanged);
        QFETCH(bool, templateKept);
        const QByteArray before = testfiles::readBytes(path());
        ReportDesigner designer(*m_report, *m_ui);
        designer.show();
        designer.document().moveObjects({m_first}, {5, 0});
        const ReportTemplate changed = m_report->reportTemplate();
        QString question;
        m_ui->expectDialog(QStringLiteral("SaveChangesQuestion"), [&](QDialog &box) {
            question = static_cast<QMessageBox &>(box).text();
            return answer;
        });
        designer.reject();
        QCOMPARE(question, QStringLiteral("Save changes to %1?").arg(path()));
        QCOMPARE(designer.isVisible(), !closes);
        QCOMPARE(testfiles::readBytes(path()) != before, fileChanged);
        QCOMPARE(m_report->reportTemplate() == changed, templateKept);
    }

    void closingWithoutChangesAsksNothing()
    {
        ReportDesigner designer(*m_report, *m_ui);
        designer.show();
        designer.reject();
        QVERIFY(!designer.isVisible());
    }

    // A report without pages opens on one empty page, which the designer can fill and save to
    // the loaded file name.
    void reportWithoutPagesGetsOnePage()
    {
        TemplateFile::save(ReportTemplate(), path());
        m_report->loadTemplate(path());
        QVERIFY(!m_report->hasPages());
        ReportDesigner::install(*m_report, *m_ui);
        int bands = -1;
        m_ui->expectDialog(QStringLiteral("ReportDesigner"), [&](QDialog &dialog) {
            auto &designer = static_cast<ReportDesigner &>(dialog);
            bands = int(designer.document().bands().size());
            designer.document().addObject(designer.document().bands().front(), ReportObject{});
            return designer.save() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        m_report->designReport();
        QCOMPARE(bands, 1);
        QVERIFY(m_report->hasPages());
        QCOMPARE(TemplateFile::load(path()), m_report->reportTemplate());
    }

private:
    bool m_problemsFree() const { return m_ui->problems().isEmpty(); }
};

QTEST_MAIN(tst_ReportDesigner)
#include "tst_reportdesigner.moc"
