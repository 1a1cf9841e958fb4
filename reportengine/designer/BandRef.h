#pragma once

#include <tuple>

namespace kb::report {

// Where a band sits in a template: its slot and, for the bands of a data section, the section and
// the group level. Refs are positions, so they are only valid for the template they came from.
struct BandRef
{
    enum Slot { Title, PageHeader, ColumnHeader, BroughtForward, GroupHeader, Detail, GroupFooter, Summary, CarriedForward, PageFooter };
    Slot slot = PageHeader;
    int section = -1;
    int group = -1;
    bool operator==(const BandRef &) const = default;
    bool operator<(const BandRef &o) const { return std::tie(slot, section, group) < std::tie(o.slot, o.section, o.group); }
};

// One object of a band.
struct ObjectRef
{
    BandRef band;
    int index = -1;
    bool operator==(const ObjectRef &) const = default;
    bool operator<(const ObjectRef &o) const { return std::tie(band, index) < std::tie(o.band, o.index); }
};

} // namespace kb::report
