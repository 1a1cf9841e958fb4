#pragma once

#include "Value.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace kb::report {

// Where an aggregate collects its rows. Running covers every row printed so far; the others
// hold the total of their whole group, page or report, known in headers too (second pass).
enum class Scope { Group, Page, Report, Running };
enum class AggregateKind { Sum, Count, Min, Max, Avg, First, Last };
enum class Variable { Page, Pages, Line, Date, Time, Now };

// One node of a parsed expression. Field references are bound to a dataset and column index by
// the preparation before evaluation.
struct Node
{
    enum class Kind { Constant, Field, Variable, Unary, Binary, Call, Aggregate };
    Kind kind = Kind::Constant;
    Value constant;
    QString qualifier; // dataset name of a field reference, may be empty
    QString name;      // field, function or operator
    Variable variable = Variable::Page;
    AggregateKind aggregate = AggregateKind::Sum;
    Scope scope = Scope::Report;
    std::vector<std::shared_ptr<const Node>> args;
    int dataset = -1;
    int field = -1;
    int slot = -1; // an aggregate's place among the report's aggregates
};
using NodePtr = std::shared_ptr<const Node>;

class ExpressionParser
{
public:
    // Throws kb::Error describing where the text stops making sense.
    static NodePtr parse(const QString &text);
};

// True when the value is known only once every page is laid out: the page count and aggregates
// over a whole group, page or report.
bool isLate(const Node &node);

// Calls visit on every node, children before parents.
void forEachNode(const Node &node, const std::function<void(const Node &)> &visit);

} // namespace kb::report
