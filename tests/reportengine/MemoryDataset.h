#pragma once

#include "DatasetRegistry.h"
#include "FormatSettings.h"
#include "PreparedReport.h"
#include "ReportPreparer.h"

#include <QStringList>

#include <vector>

namespace kb::test {

// Rows held in memory, for templates tested without a database.
class MemoryDataset : public report::ReportDataset
{
public:
    MemoryDataset(QStringList fields, std::vector<std::vector<report::Value>> rows = {})
        : m_fields(std::move(fields)), rows(std::move(rows)) {}

    void first() override { m_position = 0; ++walks; }
    void next() override { ++m_position; }
    bool eof() const override { return m_position >= int(rows.size()); }
    int fieldIndex(const QString &name) override
    {
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
    report::Value value(int field) const override
    {
        return m_position < int(rows.size()) ? rows[size_t(m_position)][size_t(field)] : report::Value();
    }
    int position() const override { return m_position; }
    void moveTo(int position) override { m_position = position; }

    QStringList m_fields;
    std::vector<std::vector<report::Value>> rows;
    int walks = 0;

private:
    int m_position = 0;
};

inline report::ReportObject textObject(const QString &name, double x, double w, const QString &text, double h = 5)
{
    report::ReportObject o;
    o.name = name;
    o.geometry = QRectF(x, 0, w, h);
    o.text = text;
    return o;
}

inline report::PreparedReport prepare(const report::ReportTemplate &t, const report::DatasetRegistry &datasets,
                                      const QString &main, const report::ReportPreparer::Progress &progress = {})
{
    static const FormatSettings formats;
    return report::ReportPreparer(t, datasets, main, formats, QDateTime(QDate(2007, 4, 2), QTime(9, 30))).prepare(progress);
}

// The texts of one band's items on a page, left to right, one entry per band instance.
inline QStringList texts(const report::PreparedPage &page, report::BandKind band)
{
    QStringList out;
    float y = -1;
    for (const report::Primitive &p : page.items) {
        if (p.band != band || p.kind != report::ObjectKind::Text)
            continue;
        if (p.y != y || out.isEmpty())
            out << p.text;
        else
            out.last() += QLatin1Char('|') + p.text;
        y = p.y;
    }
    return out;
}

} // namespace kb::test
