#pragma once

#include "ReportDataset.h"

#include <QString>

#include <utility>
#include <vector>

namespace kb::report {

// The datasets a template may name, by name (without regard to case). The registry does not own
// them.
class DatasetRegistry
{
public:
    void add(const QString &name, ReportDataset &dataset) { m_entries.emplace_back(name, &dataset); }
    // -1 when there is none of that name.
    int indexOf(const QString &name) const
    {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].first.compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        }
        return -1;
    }
    int size() const { return int(m_entries.size()); }
    ReportDataset &at(int index) const { return *m_entries.at(size_t(index)).second; }
    const QString &nameAt(int index) const { return m_entries.at(size_t(index)).first; }

private:
    std::vector<std::pair<QString, ReportDataset *>> m_entries;
};

} // namespace kb::report
