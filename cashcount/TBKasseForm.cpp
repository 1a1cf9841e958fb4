#include "TBKasseForm.h"

#include "ApplicationContext.h"
#include "Clock.h"
#include "CommandGuard.h"
#include "DbGrid.h"
#include "DenominationPicture.h"
#include "Errors.h"
#include "HelpViewer.h"
#include "TBKasseEditForm.h"
#include "TDataForm.h"
#include "TextForms.h"
#include "UiServices.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kb {

TBKasseForm::TBKasseForm(ApplicationContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("BKasseForm"));
    setWindowTitle(QStringLiteral("Kasse auszählen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (parent)
        setFont(parent->font());
    setFixedSize(460, 330);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(DenominationPicture::icon(QSize(32, 32)));
    auto *heading = new QLabel(QStringLiteral("Kasse auszählen / Bargeld-Inventuren"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    heading->setFont(bold);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    m_DBGrid1 = new DbGrid(context.ui, context.formats, this);
    m_DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_DBGrid1->bind(&context.data.BKasseSource);
    m_DBGrid1->setColumns({{QStringLiteral("Datum"), {}, 120, true}, {QStringLiteral("Summe"), {}, 120, true}});
    m_DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);

    QPushButton *create = addButton(QStringLiteral("Button1"), QStringLiteral("Neue Auszählung anlegen ..."), [this] { Button1Click(); });
    create->setDefault(true);
    QPushButton *edit = addButton(QStringLiteral("Button3"), QStringLiteral("Auszählung bearbeiten ..."), [this] { Button3Click(); });
    QPushButton *remove = addButton(QStringLiteral("Button2"), QStringLiteral("Auszählung löschen ..."), [this] { Button2Click(); });
    auto *note = new QLabel(QStringLiteral("Wählen Sie links die Inventur aus, für die Sie Bargeldbestände eintragen wollen."), this);
    note->setObjectName(QStringLiteral("Label2"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPushButton *close = addButton(QStringLiteral("Button4"), QStringLiteral("Schließen"), [this] { reject(); });
    QPushButton *help = addButton(QStringLiteral("Button5"), QStringLiteral("Hilfe ..."), [this] { Button5Click(); });

    auto *side = new QVBoxLayout;
    for (QWidget *widget : {static_cast<QWidget *>(create), static_cast<QWidget *>(edit), static_cast<QWidget *>(remove)})
        side->addWidget(widget);
    side->addSpacing(8);
    side->addWidget(note);
    side->addStretch(1);
    side->addWidget(close);
    side->addWidget(help);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_DBGrid1, 1);
    middle->addSpacing(8);
    middle->addLayout(side);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(heading, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addWidget(rule);
    layout->addLayout(middle, 1);
}

QPushButton *TBKasseForm::addButton(const QString &objectName, const QString &caption, std::function<void()> handler)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setFixedWidth(172);
    CommandGuard::connect(button, m_context.ui, std::move(handler));
    return button;
}

std::optional<QDate> TBKasseForm::askDate(QString &text)
{
    const QDate today = m_context.clock.today();
    bool ok = false;
    text = m_context.ui.inputBox(QStringLiteral("Eingabe"), QStringLiteral("Datum:"), TextForms::formatDate(today), &ok);
    if (!ok)
        return std::nullopt;
    try {
        return TextForms::parseDateLenient(text.trimmed(), today);
    } catch (const ConversionError &) {
        m_context.ui.message(QStringLiteral("Das Datum %1 ist ungültig. Das heutige Datum wird anstelle dessen verwendet.").arg(text));
        text = TextForms::formatDate(today);
        return today;
    }
}

void TBKasseForm::warnIfCounted(const QDate &day, const QString &text)
{
    Table &bkasse = m_context.data.BKasseTable;
    if (bkasse.locate(QStringLiteral("Datum"), day))
        m_context.ui.warningWithYes(QStringLiteral("Eine Kassenauszählung vom %1 liegt bereits vor.").arg(text));
}

void TBKasseForm::Button1Click()
{
    QString text;
    const std::optional<QDate> day = askDate(text);
    if (!day)
        return;
    warnIfCounted(*day, text);
    TDataForm &data = m_context.data;
    data.BKasseTable.append();
    data.BKasseTable.fieldByName(QStringLiteral("KassenName"))
        .setAsString(data.FirmaTable.fieldByName(QStringLiteral("Firma")).asString());
    data.BKasseTable.fieldByName(QStringLiteral("Datum")).setAsDate(*day);
    showEditForm();
}

void TBKasseForm::Button3Click()
{
    showEditForm();
}

void TBKasseForm::showEditForm()
{
    TBKasseEditForm form(m_context, this);
    m_context.ui.runModal(form);
}

void TBKasseForm::Button2Click()
{
    Table &bkasse = m_context.data.BKasseTable;
    if (bkasse.recordCount() == 0) {
        m_context.ui.message(QStringLiteral("Es sind noch keine Auszählungen vorhanden."));
        return;
    }
    const QString day = TextForms::formatDate(bkasse.fieldByName(QStringLiteral("Datum")).asDate());
    if (m_context.ui.confirm(QStringLiteral("Wollen Sie tatsächlich die Auszählung vom %1 löschen?").arg(day)))
        bkasse.deleteRecord();
}

void TBKasseForm::Button5Click()
{
    m_context.help.showTopic(TBKasseEditForm::HelpContext);
}

} // namespace kb
