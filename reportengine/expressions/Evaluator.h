#pragma once

#include "Expression.h"
#include "FormatSettings.h"

namespace kb::report {

// What an expression reads while it is evaluated: the bound fields of the current rows, the
// engine's variables and the aggregates collected so far.
class EvalContext
{
public:
    virtual ~EvalContext() = default;
    virtual Value field(const Node &reference) const = 0;
    virtual Value variable(Variable variable) const = 0;
    virtual Value aggregate(const Node &aggregate) const = 0;
    virtual const FormatSettings &formats() const = 0;
};

// Evaluates expressions. Arithmetic keeps the narrowest exact type: integer with integer stays
// integer, money with integer or money stays money (multiplication and division rounded onto the
// grid), anything with a float is a float. An empty operand counts as 0 in arithmetic. "+" with a
// text operand and "&" always join texts.
class Evaluator
{
public:
    // Throws kb::Error with a short English description of what went wrong.
    static Value evaluate(const Node &node, const EvalContext &context);
    // A copy in which every part that is not late is replaced by its value now; the rest can be
    // evaluated later, when the late values are known, without the rows of now.
    static NodePtr fold(const NodePtr &node, const EvalContext &context);
    static bool knowsFunction(const QString &name);
    // One binary operator ("+", "<", "&", …) applied to two values, as in an expression.
    static Value apply(const QString &op, const Value &a, const Value &b, const FormatSettings &formats);
};

} // namespace kb::report
