#include "ReportPreparer.h"

#include "Errors.h"
#include "Evaluator.h"
#include "Expression.h"
#include "PageFonts.h"
#include "TextMeasure.h"
#include "ValueFormat.h"

#include <optional>

namespace kb::report {

namespace {

struct Segment
{
    QString literal;
    NodePtr expr;
};

struct CompiledObject
{
    const ReportObject *object = nullptr;
    int style = 0;
    int tag = -1;
    int picture = -1;
    std::vector<Segment> segments;
    bool single = false; // the text is exactly one expression
    bool late = false;
    QString label;
};

struct CompiledBand
{
    const Band *band = nullptr;
    BandKind kind = BandKind::Detail;
    std::vector<CompiledObject> objects;
    bool stretch = false;
    bool snapshot = false; // reads the last row printed instead of the cursor's current one
};

struct CompiledGroup
{
    const Group *group = nullptr;
    NodePtr condition;
    std::optional<CompiledBand> header;
    std::optional<CompiledBand> footer;
};

struct CompiledSection
{
    int dataset = -1;
    std::vector<CompiledGroup> groups;
    CompiledBand detail;
};

struct Accumulator
{
    Value sum;
    qint64 count = 0;
    Value min, max, first, last;
};

struct AggregateSlot
{
    AggregateKind kind = AggregateKind::Sum;
    Scope scope = Scope::Report;
    NodePtr argument;
    int section = -1; // -1: rows of every section
    int level = -1;
    Accumulator acc;
    std::vector<Value> pageFinals;
    std::vector<Value> groupFinals; // by group instance
};

struct Deferred
{
    size_t page = 0;
    size_t item = 0;
    const CompiledObject *object = nullptr;
    std::vector<Segment> segments;
    int pageNumber = 0;
    std::vector<int> groupInstances;
};

QString bandName(BandKind kind)
{
    switch (kind) {
    case BandKind::PageHeader: return QStringLiteral("page header");
    case BandKind::Title: return QStringLiteral("title");
    case BandKind::ColumnHeader: return QStringLiteral("column header");
    case BandKind::BroughtForward: return QStringLiteral("brought-forward band");
    case BandKind::GroupHeader: return QStringLiteral("group header");
    case BandKind::Detail: return QStringLiteral("detail band");
    case BandKind::GroupFooter: return QStringLiteral("group footer");
    case BandKind::Summary: return QStringLiteral("summary");
    case BandKind::CarriedForward: return QStringLiteral("carried-forward band");
    case BandKind::PageFooter: return QStringLiteral("page footer");
    }
    return {};
}

// Splits "Seite [PAGE] von [PAGES]" into literal text and expressions; "[[" is a literal "[".
std::vector<std::pair<QString, QString>> splitText(const QString &text)
{
    std::vector<std::pair<QString, QString>> parts; // literal before, expression text
    QString literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('[')) {
            literal += c;
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('[')) {
            literal += c;
            ++i;
            continue;
        }
        QChar quote;
        qsizetype end = i + 1;
        for (; end < text.size(); ++end) {
            const QChar e = text.at(end);
            if (!quote.isNull()) {
                if (e == quote)
                    quote = QChar();
            } else if (e == QLatin1Char('\'') || e == QLatin1Char('"')) {
                quote = e;
            } else if (e == QLatin1Char(']')) {
                break;
            }
        }
        if (end >= text.size())
            throw Error(QStringLiteral("missing ']'"));
        parts.emplace_back(literal, text.mid(i + 1, end - i - 1));
        literal.clear();
        i = end;
    }
    if (!literal.isEmpty() || parts.empty())
        parts.emplace_back(literal, QString());
    return parts;
}

class Preparation : public EvalContext
{
public:
    Preparation(const ReportTemplate &report, const DatasetRegistry &datasets, const QString &mainDataset,
                const FormatSettings &formats, const QDateTime &now, const ReportPreparer::Progress &progress)
        : m_report(report), m_datasets(datasets), m_formats(formats), m_now(now), m_progress(progress),
          m_snapshots(size_t(datasets.size())), m_referenced(size_t(datasets.size())), m_walked(size_t(datasets.size()), false)
    {
        m_mainDataset = mainDataset.isEmpty() ? -1 : datasets.indexOf(mainDataset);
        compile();
    }

    PreparedReport run()
    {
        if (m_report.isEmpty())
            return {};
        m_limit = m_report.page.height - m_report.page.marginBottom - height(m_pageFooter) - height(m_carriedForward);
        newPage(true);
        for (size_t s = 0; s < m_sections.size(); ++s)
            runSection(int(s));
        if (m_summary) {
            m_snapshotMode = true;
            printBand(*m_summary, -1);
            m_snapshotMode = false;
        }
        finishPage(true);
        resolveDeferred();
        return std::move(m_out);
    }

    // EvalContext
    Value field(const Node &ref) const override
    {
        if (m_snapshotMode && m_referenced[size_t(ref.dataset)].walkable) {
            if (!m_walked[size_t(ref.dataset)])
                return {};
            return m_snapshots[size_t(ref.dataset)][size_t(ref.field)];
        }
        return m_datasets.at(ref.dataset).value(ref.field);
    }

    Value variable(Variable v) const override
    {
        switch (v) {
        case Variable::Page: return Value(qint64(m_lateContext ? m_lateContext->pageNumber : m_pageNumber));
        case Variable::Pages: return Value(qint64(m_out.pages.size()));
        case Variable::Line: return Value(qint64(m_line));
        case Variable::Date: return Value(m_now.date());
        case Variable::Time: return Value(m_now.time().toString(QStringLiteral("HH:mm")));
        case Variable::Now: return Value(m_now);
        }
        return {};
    }

    Value aggregate(const Node &node) const override
    {
        const AggregateSlot &slot = m_slots.at(size_t(node.slot));
        if (slot.scope == Scope::Running || !m_lateContext)
            return result(slot, slot.acc);
        switch (slot.scope) {
        case Scope::Report: return result(slot, slot.acc);
        case Scope::Page: {
            const size_t page = size_t(m_lateContext->pageNumber - 1);
            return page < slot.pageFinals.size() ? slot.pageFinals[page] : Value();
        }
        case Scope::Group: {
            const int instance = m_lateContext->groupInstances.at(size_t(slot.level));
            return instance >= 0 && size_t(instance) < slot.groupFinals.size() ? slot.groupFinals[size_t(instance)] : Value();
        }
        case Scope::Running: break;
        }
        return {};
    }

    const FormatSettings &formats() const override { return m_formats; }

private:
    struct BindScope
    {
        int dataset = -1;
        int section = -1;
        int level = -1;
    };

    struct Referenced
    {
        bool walkable = false;
        std::vector<int> fields;
    };

    // ---- compiling

    void compile()
    {
        const BindScope outside{m_mainDataset, -1, -1};
        m_pageHeader = compileBand(m_report.pageHeader, BandKind::PageHeader, outside, false);
        m_title = compileBand(m_report.title, BandKind::Title, outside, false);
        m_columnHeader = compileBand(m_report.columnHeader, BandKind::ColumnHeader, outside, false);
        m_broughtForward = compileBand(m_report.broughtForward, BandKind::BroughtForward, outside, true);
        for (size_t s = 0; s < m_report.data.size(); ++s)
            m_sections.push_back(compileSection(m_report.data[s], int(s)));
        m_summary = compileBand(m_report.summary, BandKind::Summary, outside, true);
        m_carriedForward = compileBand(m_report.carriedForward, BandKind::CarriedForward, outside, true);
        m_pageFooter = compileBand(m_report.pageFooter, BandKind::PageFooter, outside, true);
        for (CompiledSection &section : m_sections)
            m_referenced[size_t(section.dataset)].walkable = true;
    }

    CompiledSection compileSection(const DataSection &data, int index)
    {
        CompiledSection section;
        section.dataset = data.dataset.isEmpty() ? m_mainDataset : m_datasets.indexOf(data.dataset);
        if (section.dataset < 0)
            throw Error(data.dataset.isEmpty()
                            ? QStringLiteral("The report has no main dataset for its data band")
                            : QStringLiteral("Unknown dataset \"%1\" in a data band").arg(data.dataset));
        m_levels = std::max(m_levels, int(data.groups.size()));
        for (size_t level = 0; level < data.groups.size(); ++level) {
            const Group &group = data.groups[level];
            const BindScope scope{section.dataset, index, int(level)};
            CompiledGroup compiled;
            compiled.group = &group;
            compiled.condition = compileExpression(group.condition, scope,
                                                   QStringLiteral("The condition of group %1").arg(level + 1));
            compiled.header = compileBand(group.header, BandKind::GroupHeader, scope, false);
            compiled.footer = compileBand(group.footer, BandKind::GroupFooter, scope, true);
            section.groups.push_back(std::move(compiled));
        }
        const BindScope detail{section.dataset, index, int(data.groups.size()) - 1};
        section.detail = *compileBand(data.detail, BandKind::Detail, detail, false);
        return section;
    }

    std::optional<CompiledBand> compileBand(const std::optional<Band> &band, BandKind kind, const BindScope &scope, bool snapshot)
    {
        if (!band)
            return std::nullopt;
        return compileBand(*band, kind, scope, snapshot);
    }

    std::optional<CompiledBand> compileBand(const Band &band, BandKind kind, const BindScope &scope, bool snapshot)
    {
        CompiledBand compiled;
        compiled.band = &band;
        compiled.kind = kind;
        compiled.snapshot = snapshot;
        for (const ReportObject &object : band.objects) {
            compiled.objects.push_back(compileObject(object, kind, scope));
            compiled.stretch = compiled.stretch || (object.kind == ObjectKind::Text && object.stretch);
        }
        return compiled;
    }

    CompiledObject compileObject(const ReportObject &object, BandKind kind, const BindScope &scope)
    {
        CompiledObject c;
        c.object = &object;
        c.label = object.name.isEmpty()
                      ? QStringLiteral("The object at %1 mm, %2 mm in the %3").arg(object.geometry.x()).arg(object.geometry.y()).arg(bandName(kind))
                      : QStringLiteral("The object \"%1\" in the %2").arg(object.name, bandName(kind));
        c.style = m_out.styleIndex(Style{object.font, object.color, object.fill, object.hAlign, object.vAlign,
                                         object.wordWrap, object.frame, object.lineWidth});
        if (object.kind == ObjectKind::Picture) {
            m_out.pictures.push_back(Picture{object.pictureType, object.picture});
            c.picture = int(m_out.pictures.size() - 1);
        }
        if (object.kind != ObjectKind::Text)
            return c;
        std::vector<std::pair<QString, QString>> parts;
        try {
            parts = splitText(object.text);
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1 cannot be evaluated: \"%2\": %3").arg(c.label, object.text, e.text()));
        }
        for (const auto &[literal, expression] : parts) {
            Segment segment{literal, {}};
            if (!expression.isNull())
                segment.expr = compileExpression(expression, scope, c.label);
            c.late = c.late || (segment.expr && isLate(*segment.expr));
            c.segments.push_back(segment);
        }
        c.single = c.segments.size() == 1 && c.segments[0].literal.isEmpty() && c.segments[0].expr;
        QString tag = object.name;
        if (tag.isEmpty() && c.single && c.segments[0].expr->kind == Node::Kind::Field)
            tag = c.segments[0].expr->name;
        const bool literal = std::none_of(c.segments.begin(), c.segments.end(), [](const Segment &s) { return bool(s.expr); });
        // A fixed caption is page decoration, not data: data exports skip items without a tag.
        c.tag = literal ? -1 : m_out.tagIndex(tag.isEmpty() ? object.text : tag);
        return c;
    }

    NodePtr compileExpression(const QString &text, const BindScope &scope, const QString &label)
    {
        try {
            return bind(*ExpressionParser::parse(text), scope);
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1 cannot be evaluated: \"[%2]\": %3").arg(label, text, e.text()));
        }
    }

    NodePtr bind(const Node &node, const BindScope &scope)
    {
        auto bound = std::make_shared<Node>(node);
        for (NodePtr &arg : bound->args)
            arg = bind(*arg, scope);
        switch (node.kind) {
        case Node::Kind::Field: bindField(*bound, scope); break;
        case Node::Kind::Call:
            if (!Evaluator::knowsFunction(node.name))
                throw Error(QStringLiteral("unknown function %1").arg(node.name));
            break;
        case Node::Kind::Aggregate: {
            AggregateSlot slot;
            slot.kind = node.aggregate;
            slot.scope = node.scope == Scope::Group && scope.level < 0 ? Scope::Report : node.scope;
            slot.argument = bound->args.empty() ? NodePtr() : bound->args[0];
            slot.section = scope.section;
            slot.level = scope.level;
            bound->slot = int(m_slots.size());
            m_slots.push_back(std::move(slot));
            break;
        }
        default: break;
        }
        return bound;
    }

    void bindField(Node &node, const BindScope &scope)
    {
        node.dataset = node.qualifier.isEmpty() ? scope.dataset : m_datasets.indexOf(node.qualifier);
        if (node.dataset < 0)
            throw Error(node.qualifier.isEmpty() ? QStringLiteral("no dataset for the field \"%1\"").arg(node.name)
                                                 : QStringLiteral("unknown dataset \"%1\"").arg(node.qualifier));
        node.field = m_datasets.at(node.dataset).fieldIndex(node.name);
        if (node.field < 0)
            throw Error(QStringLiteral("unknown field \"%1\" in %2").arg(node.name, m_datasets.nameAt(node.dataset)));
        std::vector<int> &fields = m_referenced[size_t(node.dataset)].fields;
        if (std::find(fields.begin(), fields.end(), node.field) == fields.end())
            fields.push_back(node.field);
        std::vector<Value> &snapshot = m_snapshots[size_t(node.dataset)];
        if (snapshot.size() <= size_t(node.field))
            snapshot.resize(size_t(node.field) + 1);
    }

    // ---- walking the data

    void runSection(int index)
    {
        const CompiledSection &section = m_sections[size_t(index)];
        ReportDataset &dataset = m_datasets.at(section.dataset);
        m_groupInstances.resize(size_t(m_levels), -1);
        std::vector<Value> keys(section.groups.size());
        bool firstRow = true;
        m_line = 0;
        for (dataset.first(); !dataset.eof(); dataset.next()) {
            ++m_line;
            const int changed = firstRow ? 0 : changedLevel(section, keys);
            if (!firstRow && changed < int(section.groups.size()))
                closeGroups(section, changed);
            for (int level = changed; level < int(section.groups.size()); ++level)
                openGroup(section, index, level, keys, firstRow);
            printBand(section.detail, m_line - 1);
            collect(index);
            takeSnapshot(section.dataset);
            firstRow = false;
        }
        if (!firstRow)
            closeGroups(section, 0);
    }

    Value evaluateGuarded(const NodePtr &expr, const QString &label, const QString &text) const
    {
        try {
            return Evaluator::evaluate(*expr, *this);
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1 cannot be evaluated: \"%2\": %3").arg(label, text, e.text()));
        }
    }

    int changedLevel(const CompiledSection &section, std::vector<Value> &keys) const
    {
        int changed = int(section.groups.size());
        for (size_t level = 0; level < section.groups.size(); ++level) {
            const CompiledGroup &group = section.groups[level];
            Value key = evaluateGuarded(group.condition, QStringLiteral("The group condition"), group.group->condition);
            if (changed == int(section.groups.size()) && !(key == keys[level]))
                changed = int(level);
            keys[level] = std::move(key);
        }
        return changed;
    }

    void openGroup(const CompiledSection &section, int index, int level, std::vector<Value> &keys, bool firstRow)
    {
        const CompiledGroup &group = section.groups[size_t(level)];
        if (firstRow) {
            keys[size_t(level)] = evaluateGuarded(group.condition, QStringLiteral("The group condition"), group.group->condition);
        }
        if (group.group->startNewPage && m_groupSeen && m_y > m_bodyTop + 0.01)
            newPage(false);
        else if (group.group->keepTogether && m_y > m_bodyTop + 0.01)
            keepTogether(section, level);
        m_groupSeen = true;
        ++m_groupCounter[level];
        m_groupInstances[size_t(level)] = m_groupCounter[level];
        for (AggregateSlot &slot : m_slots) {
            if (slot.scope == Scope::Group && slot.section == index && slot.level >= level)
                slot.acc = {};
        }
        if (group.header)
            printBand(*group.header, -1);
    }

    void closeGroups(const CompiledSection &section, int downTo)
    {
        const int index = int(&section - m_sections.data());
        for (int level = int(section.groups.size()) - 1; level >= downTo; --level) {
            const CompiledGroup &group = section.groups[size_t(level)];
            if (group.footer) {
                m_snapshotMode = true;
                printBand(*group.footer, -1);
                m_snapshotMode = false;
            }
            const int instance = m_groupInstances[size_t(level)];
            for (AggregateSlot &slot : m_slots) {
                if (slot.scope == Scope::Group && slot.section == index && slot.level == level) {
                    if (slot.groupFinals.size() <= size_t(instance))
                        slot.groupFinals.resize(size_t(instance) + 1);
                    slot.groupFinals[size_t(instance)] = result(slot, slot.acc);
                }
            }
        }
    }

    // Moves a group that does not fit on the rest of the page, but would on a page of its own, to
    // the next page.
    void keepTogether(const CompiledSection &section, int level)
    {
        ReportDataset &dataset = m_datasets.at(section.dataset);
        const int start = dataset.position();
        const CompiledGroup &group = section.groups[size_t(level)];
        const Value key = evaluateGuarded(group.condition, QStringLiteral("The group condition"), group.group->condition);
        double needed = height(group.header) + height(group.footer);
        for (; !dataset.eof(); dataset.next()) {
            if (!(evaluateGuarded(group.condition, QStringLiteral("The group condition"), group.group->condition) == key))
                break;
            needed += section.detail.band->height;
        }
        dataset.moveTo(start);
        if (m_y + needed > m_limit && m_bodyTop + needed <= m_limit)
            newPage(false);
    }

    void collect(int section)
    {
        for (AggregateSlot &slot : m_slots) {
            if (slot.section >= 0 && slot.section != section)
                continue;
            const Value v = slot.argument ? evaluateGuarded(slot.argument, QStringLiteral("An aggregate"), slot.argument->name)
                                          : Value();
            add(slot.acc, v);
        }
    }

    void add(Accumulator &acc, const Value &v) const
    {
        if (acc.count == 0) {
            acc.sum = v;
            acc.first = v;
        } else {
            acc.sum = Evaluator::apply(QStringLiteral("+"), acc.sum, v, m_formats);
        }
        if (!v.isNull()) {
            if (acc.min.isNull() || Evaluator::apply(QStringLiteral("<"), v, acc.min, m_formats).toBool())
                acc.min = v;
            if (acc.max.isNull() || Evaluator::apply(QStringLiteral(">"), v, acc.max, m_formats).toBool())
                acc.max = v;
        }
        acc.last = v;
        ++acc.count;
    }

    Value result(const AggregateSlot &slot, const Accumulator &acc) const
    {
        switch (slot.kind) {
        case AggregateKind::Sum: return acc.count == 0 || acc.sum.isNull() ? Value(qint64(0)) : acc.sum;
        case AggregateKind::Count: return Value(acc.count);
        case AggregateKind::Min: return acc.min;
        case AggregateKind::Max: return acc.max;
        case AggregateKind::First: return acc.first;
        case AggregateKind::Last: return acc.last;
        case AggregateKind::Avg:
            if (acc.count == 0)
                return {};
            return Evaluator::apply(QStringLiteral("/"), acc.sum.isNull() ? Value(qint64(0)) : acc.sum,
                                    acc.sum.type() == Value::Type::Integer ? Value(kb::Money::fromInteger(acc.count))
                                                                           : Value(acc.count),
                                    m_formats);
        }
        return {};
    }

    void takeSnapshot(int dataset)
    {
        ReportDataset &source = m_datasets.at(dataset);
        std::vector<Value> &snapshot = m_snapshots[size_t(dataset)];
        for (int field : m_referenced[size_t(dataset)].fields)
            snapshot[size_t(field)] = source.value(field);
        m_walked[size_t(dataset)] = true;
    }

    // ---- pages

    static double height(const std::optional<CompiledBand> &band) { return band ? band->band->height : 0.0; }

    void newPage(bool first)
    {
        if (!first)
            finishPage(false);
        PreparedPage page;
        page.width = m_report.page.width;
        page.height = m_report.page.height;
        // Pages of a report hold about as many items as the one before: no regrowth per page.
        page.items.reserve(m_out.pages.empty() ? 64 : m_out.pages.back().items.size() + 16);
        m_out.pages.push_back(std::move(page));
        m_pageNumber = int(m_out.pages.size());
        if (m_progress && !m_progress(m_pageNumber))
            throw Abort();
        for (AggregateSlot &slot : m_slots) {
            if (slot.scope == Scope::Page)
                slot.acc = {};
        }
        m_y = m_report.page.marginTop;
        m_bodyTop = m_report.page.height; // nothing may move to a new page while the page begins
        if (m_pageHeader && (!first || m_report.pageHeaderOnFirstPage))
            printBand(*m_pageHeader, -1);
        if (first && m_title)
            printBand(*m_title, -1);
        if (m_columnHeader)
            printBand(*m_columnHeader, -1);
        if (!first && m_broughtForward) {
            m_snapshotMode = true;
            printBand(*m_broughtForward, -1);
            m_snapshotMode = false;
        }
        m_bodyTop = m_y;
    }

    void finishPage(bool last)
    {
        const bool snapshot = m_snapshotMode;
        m_snapshotMode = true;
        const double footerTop = m_report.page.height - m_report.page.marginBottom - height(m_pageFooter);
        if (!last && m_carriedForward)
            emitBand(*m_carriedForward, evaluateTexts(*m_carriedForward), footerTop - height(m_carriedForward),
                     m_carriedForward->band->height, -1);
        if (m_pageFooter)
            emitBand(*m_pageFooter, evaluateTexts(*m_pageFooter), footerTop, m_pageFooter->band->height, -1);
        m_snapshotMode = snapshot;
        for (AggregateSlot &slot : m_slots) {
            if (slot.scope == Scope::Page)
                slot.pageFinals.push_back(result(slot, slot.acc));
        }
    }

    struct EvaluatedText
    {
        QString text;
        Value raw;
        std::vector<Segment> deferred; // the late rest, when the text waits for the second pass
    };

    std::vector<EvaluatedText> evaluateTexts(const CompiledBand &band) const
    {
        std::vector<EvaluatedText> texts(band.objects.size());
        for (size_t i = 0; i < band.objects.size(); ++i) {
            const CompiledObject &object = band.objects[i];
            if (object.object->kind != ObjectKind::Text)
                continue;
            try {
                texts[i] = evaluateText(object);
            } catch (const Error &e) {
                throw Error(QStringLiteral("%1 cannot be evaluated: \"%2\": %3").arg(object.label, object.object->text, e.text()));
            }
        }
        return texts;
    }

    EvaluatedText evaluateText(const CompiledObject &object) const
    {
        EvaluatedText out;
        if (object.late) {
            for (const Segment &segment : object.segments)
                out.deferred.push_back({segment.literal, segment.expr ? Evaluator::fold(segment.expr, *this) : NodePtr()});
            return out;
        }
        if (object.single) {
            out.raw = Evaluator::evaluate(*object.segments[0].expr, *this);
            out.text = ValueFormat::format(out.raw, object.object->format, m_formats);
            return out;
        }
        for (const Segment &segment : object.segments) {
            out.text += segment.literal;
            if (segment.expr)
                out.text += ValueFormat::plain(Evaluator::evaluate(*segment.expr, *this), m_formats);
        }
        out.raw = Value(out.text);
        return out;
    }

    void printBand(const CompiledBand &band, int row)
    {
        std::vector<EvaluatedText> texts = evaluateTexts(band);
        double h = band.band->height;
        if (band.stretch) {
            for (size_t i = 0; i < band.objects.size(); ++i) {
                const ReportObject &o = *band.objects[i].object;
                if (o.kind == ObjectKind::Text && o.stretch)
                    h = std::max(h, o.geometry.y() + m_measure.wrappedHeight(o.font, o.geometry.width() - 2 * TextPadding - MeasuringSlack, texts[i].text) + 0.5);
            }
        }
        if (m_y + h > m_limit && m_y > m_bodyTop + 0.01)
            newPage(false);
        emitBand(band, std::move(texts), m_y, h, row);
        m_y += h;
    }

    void emitBand(const CompiledBand &band, std::vector<EvaluatedText> texts, double top, double h, int row)
    {
        PreparedPage &page = m_out.pages.back();
        const double grow = h - band.band->height;
        for (size_t i = 0; i < band.objects.size(); ++i) {
            const CompiledObject &c = band.objects[i];
            const ReportObject &o = *c.object;
            Primitive p;
            p.kind = o.kind;
            p.band = band.kind;
            p.style = c.style;
            p.tag = c.tag;
            p.row = row;
            p.picture = c.picture;
            p.x = float(m_report.page.marginLeft + o.geometry.x());
            p.y = float(top + o.geometry.y());
            p.width = float(o.geometry.width());
            const bool reachesBottom = o.geometry.bottom() >= band.band->height - 0.01;
            p.height = float(o.geometry.height() + (grow > 0 && reachesBottom && o.kind != ObjectKind::Line ? grow : 0.0));
            if (o.kind == ObjectKind::Text) {
                p.text = std::move(texts[i].text);
                p.raw = std::move(texts[i].raw);
                if (!texts[i].deferred.empty()) {
                    m_deferred.push_back(Deferred{m_out.pages.size() - 1, page.items.size(), &c,
                                                  std::move(texts[i].deferred), m_pageNumber, m_groupInstances});
                }
            }
            page.items.push_back(std::move(p));
        }
    }

    void resolveDeferred()
    {
        for (const Deferred &d : m_deferred) {
            m_lateContext = &d;
            Primitive &p = m_out.pages[d.page].items[d.item];
            const CompiledObject &object = *d.object;
            try {
                if (object.single) {
                    p.raw = Evaluator::evaluate(*d.segments[0].expr, *this);
                    p.text = ValueFormat::format(p.raw, object.object->format, m_formats);
                } else {
                    for (const Segment &segment : d.segments) {
                        p.text += segment.literal;
                        if (segment.expr)
                            p.text += ValueFormat::plain(Evaluator::evaluate(*segment.expr, *this), m_formats);
                    }
                    p.raw = Value(p.text);
                }
            } catch (const Error &e) {
                m_lateContext = nullptr;
                throw Error(QStringLiteral("%1 cannot be evaluated: \"%2\": %3").arg(object.label, object.object->text, e.text()));
            }
        }
        m_lateContext = nullptr;
    }

    const ReportTemplate &m_report;
    const DatasetRegistry &m_datasets;
    const FormatSettings &m_formats;
    QDateTime m_now;
    ReportPreparer::Progress m_progress;
    int m_mainDataset = -1;

    std::optional<CompiledBand> m_pageHeader, m_title, m_columnHeader, m_broughtForward, m_summary, m_carriedForward, m_pageFooter;
    std::vector<CompiledSection> m_sections;
    std::vector<AggregateSlot> m_slots;
    int m_levels = 0;

    std::vector<std::vector<Value>> m_snapshots;
    std::vector<Referenced> m_referenced;
    std::vector<bool> m_walked;
    bool m_snapshotMode = false;

    TextMeasure m_measure;
    PreparedReport m_out;
    std::vector<Deferred> m_deferred;
    const Deferred *m_lateContext = nullptr;
    std::map<int, int> m_groupCounter;
    std::vector<int> m_groupInstances;
    bool m_groupSeen = false;
    int m_pageNumber = 0;
    int m_line = 0;
    double m_y = 0;
    double m_bodyTop = 0;
    double m_limit = 0;
};

} // namespace

ReportPreparer::ReportPreparer(const ReportTemplate &report, const DatasetRegistry &datasets, const QString &mainDataset,
                               const FormatSettings &formats, const QDateTime &now)
    : m_report(report), m_datasets(datasets), m_mainDataset(mainDataset), m_formats(formats), m_now(now)
{
}

PreparedReport ReportPreparer::prepare(const Progress &progress)
{
    return Preparation(m_report, m_datasets, m_mainDataset, m_formats, m_now, progress).run();
}

} // namespace kb::report
