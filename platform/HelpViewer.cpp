#include "HelpViewer.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <map>

namespace kb {

namespace {

constexpr int topicRole = Qt::UserRole;

QUrl topicUrl(int contextNumber)
{
    return QUrl(QStringLiteral("topic:%1").arg(contextNumber));
}

int topicNumber(const QUrl &url)
{
    return url.scheme() == u"topic" ? url.path().toInt() : 0;
}

// Serves the topics of the help file as pages, so that links, anchors and the history of the
// browser work as they do for documents.
class TopicBrowser : public QTextBrowser
{
public:
    TopicBrowser(const HelpFile &file, QWidget *parent) : QTextBrowser(parent), m_file(file)
    {
        document()->setDefaultStyleSheet(QStringLiteral(
            "h1 { font-size: x-large; color: #1f4e79; }"
            "h2 { font-size: large; color: #1f4e79; }"
            "table { border-collapse: collapse; margin-top: 4px; margin-bottom: 4px; }"
            "th { background-color: #dde7f0; text-align: left; }"
            "td, th { border: 1px solid #b8c4d0; padding: 3px; }"));
    }

    QVariant loadResource(int, const QUrl &name) override
    {
        const HelpTopic *topic = m_file.topic(topicNumber(name));
        if (!topic)
            return {};
        return QStringLiteral("<h1>%1</h1>%2").arg(topic->title.toHtmlEscaped(), topic->html);
    }

private:
    const HelpFile &m_file;
};

} // namespace

class HelpWindow : public QWidget
{
public:
    explicit HelpWindow(const HelpFile &file);

    void showTopic(int contextNumber);
    void showContentsTab();
    void showIndexFilteredTo(const QString &word);
    int currentTopic() const { return topicNumber(m_browser->source()); }
    void present();

private:
    QToolBar *createToolBar();
    QWidget *createContentsTab();
    QWidget *createIndexTab();
    void addContents(const std::vector<HelpContentsNode> &nodes, QTreeWidgetItem *parent);
    void addIndexEntry(const HelpIndexEntry &entry);
    void filterIndex(const QString &text);
    void openIndexItem(QTreeWidgetItem *item);
    void followLink(const QUrl &url);
    void markInContents(const QUrl &url);

    const HelpFile &m_file;
    QTabWidget *m_tabs = nullptr;
    QTreeWidget *m_contents = nullptr;
    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_index = nullptr;
    QLabel *m_noMatch = nullptr;
    QTextBrowser *m_browser = nullptr;
    std::map<int, QTreeWidgetItem *> m_contentsItems;
};

HelpWindow::HelpWindow(const HelpFile &file) : m_file(file)
{
    setWindowTitle(QStringLiteral("Vuno Kassenbuch - Hilfe"));
    resize(820, 600);

    m_browser = new TopicBrowser(file, this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::markInContents);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("helpTabs"));
    m_tabs->addTab(createContentsTab(), QStringLiteral("Inhalt"));
    m_tabs->addTab(createIndexTab(), QStringLiteral("Index"));

    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 560});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(createToolBar());
    layout->addWidget(splitter);

    auto *hide = new QAction(this);
    hide->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(hide, &QAction::triggered, this, &QWidget::close);
    addAction(hide);
}

QToolBar *HelpWindow::createToolBar()
{
    auto *toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction *back = toolBar->addAction(QStringLiteral("Zurück"), m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction *forward = toolBar->addAction(QStringLiteral("Vorwärts"), m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    toolBar->addAction(QStringLiteral("Übersicht"), this, [this] {
        showContentsTab();
        showTopic(m_file.contentsTopic());
    });
    return toolBar;
}

QWidget *HelpWindow::createContentsTab()
{
    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("helpContents"));
    m_contents->setHeaderHidden(true);
    addContents(m_file.contents(), nullptr);
    m_contents->expandAll();
    connect(m_contents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && item->data(0, topicRole).toInt() > 0)
            showTopic(item->data(0, topicRole).toInt());
    });
    return m_contents;
}

void HelpWindow::addContents(const std::vector<HelpContentsNode> &nodes, QTreeWidgetItem *parent)
{
    for (const HelpContentsNode &node : nodes) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
        item->setText(0, node.title);
        item->setData(0, topicRole, node.contextNumber);
        if (node.contextNumber > 0)
            m_contentsItems.emplace(node.contextNumber, item);
        addContents(node.children, item);
    }
}

QWidget *HelpWindow::createIndexTab()
{
    auto *tab = new QWidget(this);
    m_filter = new QLineEdit(tab);
    m_filter->setObjectName(QStringLiteral("helpIndexFilter"));
    m_index = new QTreeWidget(tab);
    m_index->setObjectName(QStringLiteral("helpIndex"));
    m_index->setHeaderHidden(true);
    m_noMatch = new QLabel(QStringLiteral("Kein passender Eintrag."), tab);
    m_noMatch->setObjectName(QStringLiteral("helpNoMatch"));
    m_noMatch->hide();
    auto *open = new QPushButton(QStringLiteral("Anzeigen"), tab);

    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Suchwort:"), tab));
    search->addWidget(m_filter);
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(search);
    layout->addWidget(m_noMatch);
    layout->addWidget(m_index);
    layout->addWidget(open);

    for (const HelpIndexEntry &entry : m_file.index())
        addIndexEntry(entry);

    connect(m_filter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { openIndexItem(m_index->currentItem()); });
    connect(open, &QPushButton::clicked, this, [this] { openIndexItem(m_index->currentItem()); });
    connect(m_index, &QTreeWidget::itemClicked, this, &HelpWindow::openIndexItem);
    connect(m_index, &QTreeWidget::itemActivated, this, &HelpWindow::openIndexItem);
    return tab;
}

// A keyword of one topic leads straight to it; one of several topics lists their titles below it.
void HelpWindow::addIndexEntry(const HelpIndexEntry &entry)
{
    auto *item = new QTreeWidgetItem(m_index, {entry.keyword});
    if (entry.topics.size() == 1) {
        item->setData(0, topicRole, entry.topics.first());
        return;
    }
    for (int number : entry.topics) {
        auto *choice = new QTreeWidgetItem(item, {m_file.topic(number)->title});
        choice->setData(0, topicRole, number);
    }
}

void HelpWindow::filterIndex(const QString &text)
{
    QTreeWidgetItem *first = nullptr;
    for (int row = 0; row < m_index->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_index->topLevelItem(row);
        const bool matches = item->text(0).contains(text, Qt::CaseInsensitive);
        item->setHidden(!matches);
        if (matches && !first)
            first = item;
    }
    m_noMatch->setVisible(!first);
    m_index->setCurrentItem(first);
}

void HelpWindow::openIndexItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const int number = item->data(0, topicRole).toInt();
    if (number > 0)
        showTopic(number);
    else
        item->setExpanded(true);
}

void HelpWindow::followLink(const QUrl &url)
{
    if (m_file.topic(topicNumber(url)))
        m_browser->setSource(url);
}

void HelpWindow::markInContents(const QUrl &url)
{
    const auto found = m_contentsItems.find(topicNumber(url));
    if (found == m_contentsItems.end())
        return;
    const QSignalBlocker quiet(m_contents);
    m_contents->setCurrentItem(found->second);
    m_contents->scrollToItem(found->second);
}

void HelpWindow::showTopic(int contextNumber)
{
    m_browser->setSource(topicUrl(contextNumber));
}

void HelpWindow::showContentsTab()
{
    m_tabs->setCurrentIndex(0);
}

// The first matching entry is selected, and opened up when it offers several topics.
void HelpWindow::showIndexFilteredTo(const QString &word)
{
    m_tabs->setCurrentIndex(1);
    m_filter->setText(word);
    filterIndex(word);
    if (QTreeWidgetItem *first = m_index->currentItem())
        first->setExpanded(true);
}

// A modal dialog blocks every window that does not belong to it. Help asked for from a dialog
// therefore becomes a transient window of that dialog, so it can be read and used meanwhile.
void HelpWindow::present()
{
    QWidget *modal = QApplication::activeModalWidget();
    QWindow *owner = modal ? modal->windowHandle() : nullptr;
    winId();
    if (windowHandle()->transientParent() != owner) {
        hide();
        windowHandle()->setTransientParent(owner);
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

HelpViewer::HelpViewer(const QString &helpFilePath) : m_file(HelpFile::read(helpFilePath)) {}

HelpViewer::~HelpViewer() = default;

void HelpViewer::showContents()
{
    if (!m_file)
        return;
    HelpWindow &window = ensureWindow();
    window.showContentsTab();
    window.showTopic(m_file->contentsTopic());
    window.present();
}

void HelpViewer::searchKeyword(const QString &word)
{
    if (!m_file)
        return;
    const QString wanted = word.left(255).trimmed();
    HelpWindow &window = ensureWindow();
    window.showIndexFilteredTo(wanted);
    if (const int best = m_file->bestTopicFor(wanted))
        window.showTopic(best);
    else if (window.currentTopic() == 0)
        window.showTopic(m_file->contentsTopic());
    window.present();
}

void HelpViewer::showTopic(int contextNumber)
{
    if (!m_file)
        return;
    HelpWindow &window = ensureWindow();
    window.showTopic(m_file->topic(contextNumber) ? contextNumber : m_file->contentsTopic());
    window.present();
}

void HelpViewer::close()
{
    if (m_window)
        m_window->close();
}

bool HelpViewer::isVisible() const
{
    return m_window && m_window->isVisible();
}

int HelpViewer::currentTopic() const
{
    return m_window ? m_window->currentTopic() : 0;
}

QWidget *HelpViewer::window() const
{
    return m_window.get();
}

HelpWindow &HelpViewer::ensureWindow()
{
    if (!m_window)
        m_window = std::make_unique<HelpWindow>(*m_file);
    return *m_window;
}

} // namespace kb
