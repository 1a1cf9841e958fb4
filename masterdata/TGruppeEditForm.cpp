#include "TGruppeEditForm.h"

#include "CommandGuard.h"
#include "DbGrid.h"
#include "MasterDataIcons.h"
#include "TDataForm.h"
#include "UiServices.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace kb {

namespace {

constexpr int typeWidth = 80;
constexpr int accountColumnWidth = 140;

MasterDialogFrame::Frame frame()
{
    MasterDialogFrame::Frame frame{QStringLiteral("GruppeEditForm"), QStringLiteral("Konten-Gruppe bearbeiten"),
                                   {547, 446}, MasterDataIcons::icon(QStringLiteral("groups")),
                                   QStringLiteral("Konten-Gruppe bearbeiten"),
                                   QStringLiteral("Geben Sie links die Daten der Gruppe ein, der Sie Konten zuordnen wollen."),
                                   17};
    frame.sideWidth = 110;
    return frame;
}

} // namespace

TGruppeEditForm::TGruppeEditForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data,
                                 QWidget *parent)
    : MasterEditDialog(services, data.GruppenSource, Closing::StoreOnClose, frame(), parent), m_formats(formats),
      m_data(data)
{
    alsoStoreOnClose(data.GrpLinkTable);
    addRow({{QStringLiteral("Gruppenbezeichnung"), QStringLiteral("Gruppe"), QStringLiteral("DBEdit1"), 0, {}}});
    addRow({{QStringLiteral("Typ"), QStringLiteral("Typ"), QStringLiteral("DBEdit2"), typeWidth,
             QStringLiteral("Nummer für die Buchhaltung")}});
    form().addStretch(1);

    auto *lists = new QHBoxLayout;
    m_DBGrid1 = addGrid(QStringLiteral("Der Gruppe zugeordnete Konten:"), QStringLiteral("DBGrid1"), data.GrpLinkSource);
    m_DBGrid2 = addGrid(QStringLiteral("alle verfügbaren Konten:"), QStringLiteral("DBGrid2"), data.KontenSource);
    auto *moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(addMoveButton(QStringLiteral("SpeedButton1"), QStringLiteral("<- Hinzufügen"),
                                   [this] { SpeedButton1Click(); }));
    moves->addWidget(addMoveButton(QStringLiteral("SpeedButton2"), QStringLiteral("Entfernen ->"),
                                   [this] { SpeedButton2Click(); }));
    moves->addStretch(1);
    lists->addWidget(m_DBGrid1->parentWidget(), 1);
    lists->addLayout(moves);
    lists->addWidget(m_DBGrid2->parentWidget(), 1);
    below().addLayout(lists);
}

DbGrid *TGruppeEditForm::addGrid(const QString &title, const QString &objectName, DataSource &source)
{
    auto *box = new QGroupBox(title, this);
    auto *grid = new DbGrid(ui(), m_formats, box);
    grid->setObjectName(objectName);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setColumns({{QStringLiteral("Kontoname"), {}, accountColumnWidth}});
    grid->bind(&source);
    grid->tableModel()->setReadOnly(true);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(grid);
    return grid;
}

QToolButton *TGruppeEditForm::addMoveButton(const QString &objectName, const QString &caption,
                                            std::function<void()> handler)
{
    auto *button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    CommandGuard::connect(button, ui(), std::move(handler));
    return button;
}

bool TGruppeEditForm::groupReady()
{
    Table &groups = m_data.GruppenTable;
    if (groups.isEditing())
        groups.post();
    if (groups.recordCount() == 0) {
        ui().message(QStringLiteral("Sie müssen erst eine Gruppe anlegen."));
        return false;
    }
    return true;
}

void TGruppeEditForm::SpeedButton1Click()
{
    if (!groupReady())
        return;
    Table &accounts = m_data.KontenTable;
    if (accounts.recordCount() == 0) {
        ui().message(QStringLiteral("Sie müssen erst Konten anlegen, um diese zuordnen zu können."));
        return;
    }
    Table &links = m_data.GrpLinkTable;
    const qint64 account = accounts.fieldByName(QStringLiteral("KontoNr")).asInteger();
    if (links.locate(QStringLiteral("KontoID"), account)) {
        ui().message(QStringLiteral("Dieses Konto ist bereits in der aktuellen Gruppe enthalten."));
        return;
    }
    links.append();
    links.fieldByName(QStringLiteral("KontoID")).setAsInteger(account);
    links.fieldByName(QStringLiteral("Kontoname")).setAsString(accounts.fieldByName(QStringLiteral("Kontoname")).asString());
    links.post();
}

void TGruppeEditForm::SpeedButton2Click()
{
    if (!groupReady())
        return;
    Table &links = m_data.GrpLinkTable;
    if (links.recordCount() == 0) {
        ui().message(QStringLiteral("Die Tabelle ist bereits leer."));
        return;
    }
    links.deleteRecord();
}

} // namespace kb
