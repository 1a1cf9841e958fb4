#include "TSearchForm.h"

#include "CommandGuard.h"
#include "TDataForm.h"
#include "TextForms.h"
#include "UiServices.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

// Resources of a static library must be registered by name, outside any namespace.
static void registerSearchPictures()
{
    Q_INIT_RESOURCE(searchpictures);
}

namespace kb {

namespace {

constexpr int clientWidth = 454;
constexpr int clientHeight = 415;
constexpr int margin = 8;
constexpr int buttonHeight = 25;
constexpr int columnWidth = 150;
constexpr int pictureSize = 112;

QLineEdit *addCriterion(QGroupBox &box, const QString &name, const QString &caption, int top)
{
    auto *edit = new QLineEdit(&box);
    edit->setObjectName(name);
    edit->setGeometry(96, top, 196, 21);
    auto *label = new QLabel(caption, &box);
    label->setGeometry(12, top + 3, 80, 15);
    label->setBuddy(edit);
    return edit;
}

QPushButton *addButton(QWidget &parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, &parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TSearchForm::TSearchForm(TDataForm &data, UiServices &ui, QWidget *parent)
    : QDialog(parent), m_data(data), m_ui(ui)
{
    registerSearchPictures();
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Vorgang suchen"));
    setFixedSize(clientWidth, clientHeight);
    createControls();
    arrangeTabOrder();
    connectHandlers();
}

void TSearchForm::createControls()
{
    createCriteria();

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QIcon(QStringLiteral(":/search/searchpicture.svg")).pixmap(pictureSize, pictureSize));
    picture->setGeometry(clientWidth - margin - pictureSize - 8, margin + 10, pictureSize, pictureSize);

    const int buttonTop = m_criteriaBox->geometry().bottom() + margin;
    m_BtnStart = addButton(*this, QStringLiteral("BtnStart"), QStringLiteral("&Suche starten"),
                           QRect(margin, buttonTop, 120, buttonHeight));
    m_BtnStart->setDefault(true);
    m_BtnStart->setEnabled(false);
    m_BtnClear = addButton(*this, QStringLiteral("BtnClear"), QStringLiteral("&Felder löschen"),
                           QRect(margin + 128, buttonTop, 120, buttonHeight));

    createList();
    m_LVContacts->setGeometry(margin, buttonTop + buttonHeight + margin, clientWidth - 2 * margin,
                              clientHeight - buttonTop - 2 * buttonHeight - 4 * margin);

    const int bottom = clientHeight - margin - buttonHeight;
    m_BtnCancel = addButton(*this, QStringLiteral("BtnCancel"), QStringLiteral("Abbrechen"),
                            QRect(clientWidth - margin - 90, bottom, 90, buttonHeight));
    m_BtnOk = addButton(*this, QStringLiteral("BtnOk"), QStringLiteral("Ü&bernehmen"),
                        QRect(m_BtnCancel->x() - margin - 90, bottom, 90, buttonHeight));
    QFont bold = m_BtnOk->font();
    bold.setBold(true);
    m_BtnOk->setFont(bold);
    m_BtnOk->setEnabled(false);
}

void TSearchForm::createCriteria()
{
    m_criteriaBox = new QGroupBox(QStringLiteral("Suchkriterien:"), this);
    m_criteriaBox->setObjectName(QStringLiteral("GroupBox1"));
    m_criteriaBox->setGeometry(margin, margin, 304, 134);
    m_EditBeleg = addCriterion(*m_criteriaBox, QStringLiteral("EditBeleg"), QStringLiteral("Beleg:"), 24);
    m_EditKontoname = addCriterion(*m_criteriaBox, QStringLiteral("EditKontoname"), QStringLiteral("Kontoname:"), 50);
    m_EditDatum = addCriterion(*m_criteriaBox, QStringLiteral("EditDatum"), QStringLiteral("Datum:"), 76);
    m_EditText = addCriterion(*m_criteriaBox, QStringLiteral("EditText"), QStringLiteral("Text:"), 102);
}

void TSearchForm::createList()
{
    m_LVContacts = new QTreeWidget(this);
    m_LVContacts->setObjectName(QStringLiteral("LVContacts"));
    m_LVContacts->setHeaderLabels({QStringLiteral("Beleg, Datum"), QStringLiteral("Nr")});
    m_LVContacts->setColumnWidth(0, columnWidth);
    m_LVContacts->setColumnWidth(1, columnWidth);
    m_LVContacts->setRootIsDecorated(false);
    m_LVContacts->setItemsExpandable(false);
    m_LVContacts->setUniformRowHeights(true);
    m_LVContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    m_LVContacts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_LVContacts->header()->setStretchLastSection(false);
    // The chosen hit stays marked while the focus is on a button.
    QPalette palette = m_LVContacts->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    m_LVContacts->setPalette(palette);
}

void TSearchForm::arrangeTabOrder()
{
    const QList<QWidget *> order = {m_EditBeleg, m_EditKontoname, m_EditDatum, m_EditText, m_BtnStart,
                                    m_BtnClear, m_LVContacts, m_BtnOk, m_BtnCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TSearchForm::connectHandlers()
{
    for (QLineEdit *edit : {m_EditBeleg, m_EditKontoname, m_EditDatum, m_EditText})
        CommandGuard::connect(edit, &QLineEdit::textChanged, m_ui, [this] { EditChange(); });
    CommandGuard::connect(m_BtnStart, m_ui, [this] { BtnStartClick(); });
    CommandGuard::connect(m_BtnClear, m_ui, [this] { BtnClearClick(); });
    CommandGuard::connect(m_LVContacts, &QTreeWidget::itemDoubleClicked, m_ui, [this] { LVContactsDblClick(); });
    CommandGuard::connect(m_BtnOk, m_ui, [this] { accept(); });
    CommandGuard::connect(m_BtnCancel, m_ui, [this] { reject(); });
}

SearchCriteria TSearchForm::criteria() const
{
    return {m_EditBeleg->text(), m_EditKontoname->text(), m_EditDatum->text(), m_EditText->text()};
}

std::optional<qint64> TSearchForm::selectedNr() const
{
    const QList<QTreeWidgetItem *> selected = m_LVContacts->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first()->text(1).toLongLong();
}

void TSearchForm::EditChange()
{
    m_BtnStart->setEnabled(!criteria().isEmpty());
}

void TSearchForm::BtnClearClick()
{
    for (QLineEdit *edit : {m_EditBeleg, m_EditKontoname, m_EditDatum, m_EditText})
        edit->clear();
    m_BtnOk->setEnabled(false);
    m_BtnStart->setEnabled(false);
    m_LVContacts->clear();
}

// A statement the engine refuses leaves the list empty and nothing to take over.
void TSearchForm::BtnStartClick()
{
    m_LVContacts->clear();
    m_BtnOk->setEnabled(false);
    kb::Query &query = m_data.Query;
    query.setSql(SearchStatement::lines(m_data.FirmaTable.fieldByName(QStringLiteral("ID")).asInteger(), criteria()));
    query.open();
    const Field &nr = query.fieldByName(QStringLiteral("Nr"));
    const Field &belegNr = query.fieldByName(QStringLiteral("BelegNr"));
    const Field &datum = query.fieldByName(QStringLiteral("Datum"));
    for (; !query.eof(); query.next())
        addHit(belegNr.asString(), datum.asDate(), nr.asInteger());
    if (m_LVContacts->topLevelItemCount() == 0)
        return;
    m_LVContacts->setCurrentItem(m_LVContacts->topLevelItem(0));
    m_BtnOk->setEnabled(true);
}

void TSearchForm::addHit(const QString &belegNr, const QDate &datum, qint64 nr)
{
    new QTreeWidgetItem(m_LVContacts, {belegNr + QStringLiteral(", ") + TextForms::formatDate(datum), QString::number(nr)});
}

void TSearchForm::LVContactsDblClick()
{
    if (selectedNr())
        accept();
}

} // namespace kb
