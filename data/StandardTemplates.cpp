#include "StandardTemplates.h"

#include "TemplateFile.h"

#include <QDir>
#include <QFileInfo>

namespace kb {

namespace {

using namespace report;

constexpr double ContentWidth = 183.0; // A4 less the default margins

const QColor HeaderFill(0xe8, 0xe8, 0xe8);
const QColor GroupFill(0xf2, 0xf2, 0xf2);
const QColor RuleColor(0xc0, 0xc0, 0xc0);

struct T
{
    ReportObject o;
    T(const QString &name, double x, double y, double w, double h, const QString &text)
    {
        o.name = name;
        o.geometry = QRectF(x, y, w, h);
        o.text = text;
        o.font.size = 7.5;
    }
    T &right() { o.hAlign = HAlign::Right; return *this; }
    T &center() { o.hAlign = HAlign::Center; return *this; }
    T &bold() { o.font.bold = true; return *this; }
    T &italic() { o.font.italic = true; return *this; }
    T &size(double points) { o.font.size = points; return *this; }
    T &format(const QString &f) { o.format = f; return *this; }
    T &money() { return format(QStringLiteral("number:2")).right(); }
    T &fill(const QColor &c) { o.fill = c; return *this; }
    T &wrap() { o.wordWrap = true; o.stretch = true; return *this; }
    T &middle() { o.vAlign = VAlign::Middle; return *this; }
    T &rule(const QColor &c = RuleColor, double width = 0.1) { o.frame.bottom = true; o.frame.color = c; o.frame.width = width; return *this; }
    operator ReportObject() const { return o; }
};

ReportObject line(double x, double y, double w, double width = 0.3)
{
    ReportObject o;
    o.kind = ObjectKind::Line;
    o.geometry = QRectF(x, y, w, 0);
    o.lineWidth = width;
    return o;
}

Band band(double height, std::vector<ReportObject> objects)
{
    return Band{height, std::move(objects)};
}

// Company, address and period on every page, with the report's name at the right.
Band pageHeader(const QString &title)
{
    return band(19, {
        T({}, 0, 0, 120, 6, QStringLiteral("[Firma.Firma]")).bold().size(12),
        T({}, 120, 0, ContentWidth - 120, 7, title).bold().size(14).right(),
        T({}, 0, 6.5, 120, 4.5, QStringLiteral("[Firma.Strasse]")).size(9),
        T({}, 0, 11, 120, 4.5, QStringLiteral("[Firma.PLZ] [Firma.Ort]")).size(9),
        T({}, 100, 8, ContentWidth - 100, 5, QStringLiteral("Zeitraum: [Firma.Print1]")).size(10).right(),
        line(0, 16.5, ContentWidth, 0.4),
    });
}

Band pageFooter()
{
    return band(7, {
        line(0, 1, ContentWidth, 0.2),
        T({}, 0, 2, 90, 4.5, QStringLiteral("Gedruckt am [DATE]")).size(7.5),
        T({}, 93, 2, 90, 4.5, QStringLiteral("Seite [PAGE] von [PAGES]")).size(7.5).right(),
    });
}

struct Column
{
    const char *name;
    const char *title;
    double x;
    double width;
    bool right;
};

Band columnHeader(const std::vector<Column> &columns)
{
    std::vector<ReportObject> objects;
    for (const Column &c : columns) {
        T t(QString::fromUtf8(c.name), c.x, 0, c.width, 6, QString::fromUtf8(c.title));
        t.bold().fill(HeaderFill).middle().rule(Qt::black, 0.3);
        if (c.right)
            t.right();
        objects.push_back(t);
    }
    return band(6.5, objects);
}

// ---- cash book

const std::vector<Column> CashBookColumns{
    {"Datum", "Datum", 0, 18, false},        {"lfdNr", "lfdNr", 18, 10, true},
    {"Beleg", "Beleg", 28, 15, false},       {"Konto", "Konto", 43, 27, false},
    {"Text", "Text", 70, 35, false},         {"Einnahme", "Einnahme", 105, 18, true},
    {"Ausgabe", "Ausgabe", 123, 18, true},   {"UStProzent", "USt %", 141, 10, true},
    {"USt", "USt", 151, 15, true},           {"Bestand", "Bestand", 166, 17, true},
};

const QString Income = QStringLiteral("IF(Minuskonto, 0, Buchungsbetrag)");
const QString Expense = QStringLiteral("IF(Minuskonto, Buchungsbetrag, 0)");

// The running totals a page hands to the next: brought forward at its top, carried at its foot.
Band carriedTotals(const QString &label, bool topRule)
{
    const auto total = [](const QString &name, double x, double w, const QString &expr) {
        return T(name, x, 0.5, w, 5, QStringLiteral("[SUM(%1, running)]").arg(expr)).money().bold();
    };
    std::vector<ReportObject> objects{
        T(QStringLiteral("Uebertrag"), 43, 0.5, 62, 5, label).italic().bold(),
        total(QStringLiteral("Einnahme"), 105, 18, Income),
        total(QStringLiteral("Ausgabe"), 123, 18, Expense),
        total(QStringLiteral("USt"), 151, 15, QStringLiteral("UMSTinEURO")),
        T(QStringLiteral("Bestand"), 166, 0.5, 17, 5, QStringLiteral("[Zeilenbestand]")).money().bold(),
        line(0, topRule ? 0 : 6, ContentWidth, 0.3),
    };
    return band(6.5, objects);
}

ReportTemplate cashBook()
{
    ReportTemplate r;
    r.name = QStringLiteral("Kassenbuch");
    r.pageHeader = pageHeader(QStringLiteral("Kassenbuch"));
    r.columnHeader = columnHeader(CashBookColumns);
    r.broughtForward = carriedTotals(QStringLiteral("Übertrag von Seite [PAGE - 1]"), false);
    DataSection rows;
    rows.detail = band(5, {
        T(QStringLiteral("Datum"), 0, 0, 18, 5, QStringLiteral("[Datum]")).rule(),
        T(QStringLiteral("lfdNr"), 18, 0, 10, 5, QStringLiteral("[lfdNr]")).right().rule(),
        T(QStringLiteral("Beleg"), 28, 0, 15, 5, QStringLiteral("[BelegNr]")).rule(),
        T(QStringLiteral("Konto"), 43, 0, 27, 5, QStringLiteral("[Kontoname]")).rule(),
        T(QStringLiteral("Text"), 70, 0, 35, 5, QStringLiteral("[Text]")).wrap().rule(),
        T(QStringLiteral("Einnahme"), 105, 0, 18, 5, QStringLiteral("[IF(Minuskonto, null, Buchungsbetrag)]")).money().rule(),
        T(QStringLiteral("Ausgabe"), 123, 0, 18, 5, QStringLiteral("[IF(Minuskonto, Buchungsbetrag, null)]")).money().rule(),
        T(QStringLiteral("UStProzent"), 141, 0, 10, 5, QStringLiteral("[UMSTinProzent]")).format(QStringLiteral("number")).right().rule(),
        T(QStringLiteral("USt"), 151, 0, 15, 5, QStringLiteral("[UMSTinEURO]")).money().rule(),
        T(QStringLiteral("Bestand"), 166, 0, 17, 5, QStringLiteral("[Zeilenbestand]")).money().rule(),
    });
    r.data.push_back(rows);
    const auto summaryLine = [](double y, const QString &label, const QString &expr, bool strong = false) {
        T l({}, 95, y, 50, 5, label);
        T v({}, 145, y, 38, 5, expr);
        v.format(QStringLiteral("money")).right();
        if (strong) {
            l.bold();
            v.bold();
        }
        return std::pair<ReportObject, ReportObject>(l, v);
    };
    std::vector<ReportObject> summary{line(0, 1, ContentWidth, 0.4)};
    const std::pair<ReportObject, ReportObject> lines[] = {
        summaryLine(3, QStringLiteral("Anfangsbestand"),
                    QStringLiteral("[FIRST(Zeilenbestand - IF(Minuskonto, 0 - Buchungsbetrag, Buchungsbetrag), report)]")),
        summaryLine(8, QStringLiteral("Summe Einnahmen"), QStringLiteral("[SUM(%1, report)]").arg(Income)),
        summaryLine(13, QStringLiteral("Summe Ausgaben"), QStringLiteral("[SUM(%1, report)]").arg(Expense)),
        summaryLine(18, QStringLiteral("darin enthaltene USt"), QStringLiteral("[SUM(UMSTinEURO, report)]")),
        summaryLine(24, QStringLiteral("Endbestand"), QStringLiteral("[LAST(Zeilenbestand, report)]"), true),
    };
    for (const auto &[label, value] : lines) {
        summary.push_back(label);
        summary.push_back(value);
    }
    summary.push_back(line(145, 23, 38, 0.3));
    summary.push_back(T({}, 0, 3, 80, 5, QStringLiteral("Buchungen im Zeitraum: [COUNT(report)]")));
    r.summary = band(30, summary);
    r.carriedForward = carriedTotals(QStringLiteral("Übertrag auf Seite [PAGE + 1]"), true);
    r.pageFooter = pageFooter();
    return r;
}

// ---- account and group overviews

const std::vector<Column> OverviewColumns{
    {"Datum", "Datum", 0, 18, false},      {"Beleg", "Beleg", 18, 18, false}, {"Text", "Text", 36, 65, false},
    {"UStProzent", "USt %", 101, 12, true}, {"USt", "USt", 113, 22, true},    {"Netto", "Netto", 135, 24, true},
    {"Betrag", "Betrag", 159, 24, true},
};

Band overviewDetail()
{
    return band(5, {
        T(QStringLiteral("Datum"), 0, 0, 18, 5, QStringLiteral("[Datum]")).rule(),
        T(QStringLiteral("Beleg"), 18, 0, 18, 5, QStringLiteral("[BelegNr]")).rule(),
        T(QStringLiteral("Text"), 36, 0, 65, 5, QStringLiteral("[Text]")).wrap().rule(),
        T(QStringLiteral("UStProzent"), 101, 0, 12, 5, QStringLiteral("[UMSTinProzent]")).format(QStringLiteral("number")).right().rule(),
        T(QStringLiteral("USt"), 113, 0, 22, 5, QStringLiteral("[UMSTinEURO]")).money().rule(),
        T(QStringLiteral("Netto"), 135, 0, 24, 5, QStringLiteral("[Nettobuchungsbetrag]")).money().rule(),
        T(QStringLiteral("Betrag"), 159, 0, 24, 5, QStringLiteral("[Buchungsbetrag]")).money().rule(),
    });
}

Band subtotal(const QString &label, bool strong)
{
    const auto sum = [strong](double x, double w, const QString &field) {
        T t({}, x, 0.5, w, 5, QStringLiteral("[SUM(%1, group)]").arg(field));
        t.format(QStringLiteral("money")).right();
        if (strong)
            t.bold();
        return t;
    };
    T caption({}, 36, 0.5, 77, 5, label);
    caption.bold();
    return band(strong ? 9 : 7.5, {
        line(113, 0, 70, 0.2),
        caption,
        sum(113, 22, QStringLiteral("UMSTinEURO")),
        sum(135, 24, QStringLiteral("Nettobuchungsbetrag")),
        sum(159, 24, QStringLiteral("Buchungsbetrag")),
    });
}

Band accountHeader(double x)
{
    return band(7, {
        T({}, x, 1, ContentWidth - x, 5.5, QStringLiteral("[Konto]  [Kontoname]  ([IF(Minuskonto, 'Ausgaben', 'Einnahmen')])"))
            .bold().size(9).fill(GroupFill).middle(),
    });
}

Band grandTotal()
{
    const auto value = [](double y, const QString &expr, bool strong = false) {
        T t({}, 135, y, 48, 5, expr);
        t.format(QStringLiteral("money")).right();
        if (strong)
            t.bold();
        return t;
    };
    return band(24, {
        line(0, 1, ContentWidth, 0.4),
        T({}, 60, 3, 75, 5, QStringLiteral("Gesamtsumme Einnahmen")),
        value(3, QStringLiteral("[SUM(IF(Minuskonto, 0, Buchungsbetrag), report)]")),
        T({}, 60, 8, 75, 5, QStringLiteral("Gesamtsumme Ausgaben")),
        value(8, QStringLiteral("[SUM(IF(Minuskonto, Buchungsbetrag, 0), report)]")),
        T({}, 60, 13, 75, 5, QStringLiteral("darin enthaltene USt")),
        value(13, QStringLiteral("[SUM(UMSTinEURO, report)]")),
        line(135, 18.5, 48, 0.3),
        T({}, 60, 19, 75, 5, QStringLiteral("Saldo (Einnahmen - Ausgaben)")).bold(),
        value(19, QStringLiteral("[SUM(IF(Minuskonto, 0 - Buchungsbetrag, Buchungsbetrag), report)]"), true),
    });
}

ReportTemplate accounts()
{
    ReportTemplate r;
    r.name = QStringLiteral("Kontenübersicht");
    r.pageHeader = pageHeader(QStringLiteral("Kontenübersicht"));
    r.columnHeader = columnHeader(OverviewColumns);
    DataSection rows;
    rows.groups.push_back(Group{QStringLiteral("KontoNr"), true, false, accountHeader(0),
                                subtotal(QStringLiteral("Summe [Kontoname]"), false)});
    rows.detail = overviewDetail();
    r.data.push_back(rows);
    r.summary = grandTotal();
    r.pageFooter = pageFooter();
    return r;
}

ReportTemplate groups()
{
    ReportTemplate r;
    r.name = QStringLiteral("Gruppenübersicht");
    r.pageHeader = pageHeader(QStringLiteral("Gruppenübersicht"));
    r.columnHeader = columnHeader(OverviewColumns);
    DataSection rows;
    rows.groups.push_back(Group{QStringLiteral("GruppenNr"), false, false,
                                band(9, {T({}, 0, 2, ContentWidth, 6, QStringLiteral("Gruppe: [Gruppe]"))
                                             .bold().size(10.5).fill(HeaderFill).middle()}),
                                subtotal(QStringLiteral("Summe Gruppe [Gruppe]"), true)});
    rows.groups.push_back(Group{QStringLiteral("KontoNr"), true, false, accountHeader(4),
                                subtotal(QStringLiteral("Summe [Kontoname]"), false)});
    rows.detail = overviewDetail();
    r.data.push_back(rows);
    r.summary = grandTotal();
    r.pageFooter = pageFooter();
    return r;
}

// ---- one cash count

struct Denomination
{
    const char *field;
    const char *label;
    const char *value;
};

constexpr Denomination Denominations[] = {
    {"500_Euro", "500,00 €", "500"}, {"200_Euro", "200,00 €", "200"}, {"100_Euro", "100,00 €", "100"},
    {"50_Euro", "50,00 €", "50"},    {"20_Euro", "20,00 €", "20"},    {"10_Euro", "10,00 €", "10"},
    {"5_Euro", "5,00 €", "5"},       {"2_Euro", "2,00 €", "2"},       {"1_Euro", "1,00 €", "1"},
    {"50_Cent", "0,50 €", "0.5"},    {"20_Cent", "0,20 €", "0.2"},    {"10_Cent", "0,10 €", "0.1"},
    {"5_Cent", "0,05 €", "0.05"},    {"2_Cent", "0,02 €", "0.02"},    {"1_Cent", "0,01 €", "0.01"},
};

ReportTemplate cashCount()
{
    ReportTemplate r;
    r.name = QStringLiteral("Kassenauszählung");
    r.pageHeader = band(19, {
        T({}, 0, 0, 120, 6, QStringLiteral("[Firma.Firma]")).bold().size(12),
        T({}, 100, 0, ContentWidth - 100, 7, QStringLiteral("Kassenauszählung")).bold().size(14).right(),
        T({}, 0, 6.5, 120, 4.5, QStringLiteral("[Firma.Strasse]")).size(9),
        T({}, 0, 11, 120, 4.5, QStringLiteral("[Firma.PLZ] [Firma.Ort]")).size(9),
        line(0, 16.5, ContentWidth, 0.4),
    });
    std::vector<ReportObject> objects{
        T({}, 0, 2, 30, 5, QStringLiteral("Datum:")).bold().size(9),
        T(QStringLiteral("Datum"), 30, 2, 60, 5, QStringLiteral("[Datum]")).size(9),
        T({}, 0, 7, 30, 5, QStringLiteral("Kasse:")).bold().size(9),
        T(QStringLiteral("Kasse"), 30, 7, 100, 5, QStringLiteral("[KassenName]")).size(9),
        T({}, 0, 12, 30, 5, QStringLiteral("Bemerkung:")).bold().size(9),
        T(QStringLiteral("Bemerkung"), 30, 12, 120, 5, QStringLiteral("[Bemerkung]")).size(9),
        T({}, 20, 21, 35, 6, QStringLiteral("Stückelung")).bold().size(9).fill(HeaderFill).middle().rule(Qt::black, 0.3),
        T({}, 55, 21, 30, 6, QStringLiteral("Anzahl")).bold().size(9).fill(HeaderFill).middle().right().rule(Qt::black, 0.3),
        T({}, 85, 21, 40, 6, QStringLiteral("Wert")).bold().size(9).fill(HeaderFill).middle().right().rule(Qt::black, 0.3),
    };
    double y = 28;
    for (const Denomination &d : Denominations) {
        const QString field = QStringLiteral("\"%1\"").arg(QString::fromUtf8(d.field));
        objects.push_back(T({}, 20, y, 35, 5.5, QString::fromUtf8(d.label)).size(9).rule());
        objects.push_back(T(QString::fromUtf8(d.field), 55, y, 30, 5.5, QStringLiteral("[%1]").arg(field)).size(9).right().rule());
        objects.push_back(T(QStringLiteral("Wert %1").arg(QString::fromUtf8(d.field)), 85, y, 40, 5.5,
                            QStringLiteral("[%1 * %2]").arg(field, QString::fromUtf8(d.value)))
                              .size(9).format(QStringLiteral("money")).right().rule());
        y += 5.5;
    }
    objects.push_back(line(20, y + 1, 105, 0.4));
    objects.push_back(T({}, 20, y + 2, 65, 6, QStringLiteral("Summe")).bold().size(10));
    objects.push_back(T(QStringLiteral("Summe"), 85, y + 2, 40, 6, QStringLiteral("[Summe]")).bold().size(10).format(QStringLiteral("money")).right());
    objects.push_back(T({}, 20, y + 25, 60, 5, QStringLiteral("Gezählt von:")).size(9));
    objects.push_back(line(45, y + 29, 80, 0.2));
    DataSection count;
    count.detail = band(y + 35, objects);
    r.data.push_back(count);
    r.pageFooter = pageFooter();
    return r;
}

} // namespace

QStringList StandardTemplates::fileNames()
{
    return {QStringLiteral("Kassenbuch.frf"), QStringLiteral("Konten.frf"), QStringLiteral("Gruppen.frf"),
            QStringLiteral("BarKasse.frf")};
}

ReportTemplate StandardTemplates::make(const QString &fileName)
{
    if (fileName == QLatin1String("Konten.frf"))
        return accounts();
    if (fileName == QLatin1String("Gruppen.frf"))
        return groups();
    if (fileName == QLatin1String("BarKasse.frf"))
        return cashCount();
    return cashBook();
}

QStringList StandardTemplates::writeMissing(const QString &dataDirectory)
{
    QStringList written;
    for (const QString &name : fileNames()) {
        const QString path = QDir(dataDirectory).filePath(name);
        if (QFileInfo::exists(path))
            continue;
        TemplateFile::save(make(name), path);
        written << name;
    }
    return written;
}

} // namespace kb
