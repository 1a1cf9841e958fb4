#pragma once

#include "PreparedReport.h"
#include "ReportExport.h"

#include <QDialog>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QSpinBox;

namespace kb {
class UiServices;
}

namespace kb::report {

class PageView;

// What the preview offers besides the pages; the buttons of the ones switched off are hidden.
struct PreviewButtons
{
    bool zoom = true;
    bool load = true;
    bool save = true;
    bool print = true;
    bool find = true;
    bool help = true;
    bool exit = true;
};

// The preview "Preview": the prepared pages with zoom, navigation, load, save and export, print
// and find. Every button runs guarded; the window speaks English.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    PreviewWindow(PreparedReport &report, UiServices &ui, QPrinter &printer,
                  const std::vector<const ReportExport *> &exports, bool printerAvailable,
                  const PreviewButtons &buttons, QWidget *parent = nullptr);

    // The save dialog's filter list, in order: the prepared-report file, then the exports.
    QString saveFilters() const;
    // Writes the file of the chosen filter; the name takes the filter's extension. Returns the
    // path written.
    QString saveAs(const QString &fileName, const QString &filter);
    void load(const QString &path);
    // Finds every item containing the text (without regard to case); the number of hits.
    int find(const QString &text);
    void findNext(int step);

    PageView &view() { return *m_view; }
    int currentPage() const;
    void goToPage(int page);
    QAction *action(const QString &objectName) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void build(const PreviewButtons &buttons, bool printerAvailable);
    QAction *addCommand(const QString &name, const QString &text, const QKeySequence &key, std::function<void()> command);
    void save();
    void loadChosen();
    void print();
    void help();
    void refresh();
    void showHit();

    PreparedReport &m_report;
    UiServices &m_ui;
    QPrinter &m_printer;
    std::vector<const ReportExport *> m_exports;
    PageView *m_view = nullptr;
    QSpinBox *m_pageBox = nullptr;
    QLabel *m_pageCount = nullptr;
    QLineEdit *m_findText = nullptr;
    QList<QPair<int, int>> m_hits;
    int m_hit = -1;
    QString m_directory;
};

} // namespace kb::report
