#include "ChartCommands.h"

#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "MainWindowServices.h"
#include "TDataForm.h"
#include "TDiagrammForm.h"
#include "TTimeSpanForm.h"
#include "TextForms.h"
#include "UiServices.h"

namespace kb {

QStringList ChartCommands::totalsSql(Totals totals, const QDate &first, const QDate &last, qint64 company)
{
    const QString period = QStringLiteral("and Datum>='") + TextForms::formatDate(first) + QStringLiteral("' and Datum<='")
                         + TextForms::formatDate(last) + QStringLiteral("'");
    const QString companyLine = QStringLiteral("and Firma_ID=") + QString::number(company);
    if (totals == Totals::Accounts)
        return {QStringLiteral("SELECT \"KONTEN.ADT\".kontoname, sum(buchungsbetrag) as bsum FROM \"KONTEN.ADT\", \"KASSE.ADT\""),
                QStringLiteral("WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\""), period, companyLine,
                QStringLiteral("GROUP BY \"KONTEN.ADT\".KontoName")};
    return {QStringLiteral("SELECT gruppe, sum(buchungsbetrag) bsum FROM \"KONTEN.ADT\", \"GRPLINK.ADT\", \"GRUPPEN.ADT\", \"KASSE.ADT\""),
            QStringLiteral("WHERE GruppenNR=GruppenID and \"GRPLINK.ADT\".\"KontoID\"=KontoNr and \"Kasse.adt\".\"KontoID\"=\"KontoNr\""),
            period, companyLine, QStringLiteral("GROUP BY gruppe")};
}

QString ChartCommands::title(Totals totals, const QDate &first, const QDate &last)
{
    const QString overview = totals == Totals::Accounts ? QStringLiteral("Kontenübersicht vom ")
                                                        : QStringLiteral("Gruppenübersicht vom ");
    return overview + TextForms::formatDate(first) + QStringLiteral(" bis zum ") + TextForms::formatDate(last);
}

void ChartCommands::showTotals(TDataForm &data, UiServices &ui, QPrinter &printer, QWidget *parent, Totals totals,
                               const QDate &first, const QDate &last)
{
    const qint64 company = data.FirmaTable.fieldByName(QStringLiteral("ID")).asInteger();
    data.Query.setSql(totalsSql(totals, first, last, company));
    data.Query.open();
    const int count = data.Query.recordCount();
    if (count == 0) {
        ui.message(QStringLiteral("Es liegen keine Umsätze in diesem Zeitraum vor."));
        return;
    }
    const QString labelField = totals == Totals::Accounts ? QStringLiteral("Kontoname") : QStringLiteral("Gruppe");
    TDiagrammForm form(ui, printer, parent);
    form.setElementCount(count);
    form.pressPieButton();
    data.Query.first();
    for (int row = 1; !data.Query.eof(); ++row) {
        form.writeCell(0, row, data.Query.fieldByName(labelField).asString());
        form.writeCell(1, row, data.Query.fieldByName(QStringLiteral("bsum")).asString());
        data.Query.next();
    }
    form.setTitleText(title(totals, first, last));
    ui.runModal(form);
}

void ChartCommands::install(ApplicationContext &context)
{
    const auto installTotals = [&context](const QString &handler, const QString &control, Totals totals) {
        context.commands.install(handler, {control}, [&context, totals] {
            QWidget *parent = &context.mainWindow.window();
            if (const std::optional<Period> period = TTimeSpanForm::ask(context.ui, context.clock, parent))
                showTotals(context.data, context.ui, context.printer, parent, totals, period->first, period->last);
        });
    };
    installTotals(QStringLiteral("Kontensummen1Click"), QStringLiteral("Kontensummen1"), Totals::Accounts);
    installTotals(QStringLiteral("Kontengruppen2Click"), QStringLiteral("Kontengruppen2"), Totals::Groups);
}

} // namespace kb
