#include "Evaluator.h"

#include "Errors.h"
#include "ValueFormat.h"

#include <QDateTime>

#include <cmath>

namespace kb::report {

namespace {

using Type = Value::Type;

int rank(const Value &v)
{
    switch (v.type()) {
    case Type::Null: case Type::Boolean: case Type::Integer: return 0;
    case Type::Money: return 1;
    default: return 2;
    }
}

bool numericOperand(const Value &v)
{
    return v.isNumber() || v.isNull() || v.type() == Type::Boolean;
}

QString typeName(const Value &v)
{
    switch (v.type()) {
    case Type::Null: return QStringLiteral("empty");
    case Type::Boolean: return QStringLiteral("logical");
    case Type::Integer: return QStringLiteral("integer");
    case Type::Money: return QStringLiteral("money");
    case Type::Float: return QStringLiteral("number");
    case Type::Date: return QStringLiteral("date");
    case Type::DateTime: return QStringLiteral("date and time");
    case Type::String: return QStringLiteral("text");
    }
    return {};
}

[[noreturn]] void typeMismatch(const QString &op, const Value &a, const Value &b)
{
    throw Error(QStringLiteral("cannot apply '%1' to %2 and %3").arg(op, typeName(a), typeName(b)));
}

Value arithmetic(const QString &op, const Value &a, const Value &b)
{
    if (a.type() == Type::Date && b.type() == Type::Date && op == QLatin1String("-"))
        return Value(qint64(b.toDate().daysTo(a.toDate())));
    if (a.type() == Type::Date && b.type() == Type::Integer && (op == QLatin1String("+") || op == QLatin1String("-")))
        return Value(a.toDate().addDays(op == QLatin1String("+") ? b.toInteger() : -b.toInteger()));
    if (!numericOperand(a) || !numericOperand(b))
        typeMismatch(op, a, b);
    const int r = std::max(rank(a), rank(b));
    const char o = op.at(0).toLatin1();
    if (r == 0 && o != '/') {
        const qint64 x = a.toInteger(), y = b.toInteger();
        return Value(o == '+' ? x + y : o == '-' ? x - y : x * y);
    }
    if (r == 1) {
        const kb::Money x = a.toMoney(), y = b.toMoney();
        if (o == '/' && y.isZero())
            throw Error(QStringLiteral("division by zero"));
        switch (o) {
        case '+': return Value(x + y);
        case '-': return Value(x - y);
        case '*': return Value(x * y);
        default: return Value(x / y);
        }
    }
    const double x = a.toDouble(), y = b.toDouble();
    if (o == '/' && y == 0.0)
        throw Error(QStringLiteral("division by zero"));
    switch (o) {
    case '+': return Value(x + y);
    case '-': return Value(x - y);
    case '*': return Value(x * y);
    default: return Value(x / y);
    }
}

// -1, 0, 1; empty sorts first.
int compare(const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    if (numericOperand(a) && numericOperand(b)) {
        if (std::max(rank(a), rank(b)) <= 1) {
            const auto x = a.toMoney(), y = b.toMoney();
            return x < y ? -1 : x > y ? 1 : 0;
        }
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    if ((a.type() == Type::Date || a.type() == Type::DateTime) && (b.type() == Type::Date || b.type() == Type::DateTime)) {
        const QDateTime x = a.type() == Type::Date ? a.toDate().startOfDay() : std::get<QDateTime>(a.data());
        const QDateTime y = b.type() == Type::Date ? b.toDate().startOfDay() : std::get<QDateTime>(b.data());
        return x < y ? -1 : x > y ? 1 : 0;
    }
    if (a.type() == Type::String && b.type() == Type::String) {
        const int c = QString::compare(std::get<QString>(a.data()), std::get<QString>(b.data()));
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    typeMismatch(QStringLiteral("compare"), a, b);
}

Value binary(const QString &op, const Value &a, const Value &b, const FormatSettings &formats)
{
    if (op == QLatin1String("&")
        || (op == QLatin1String("+") && (a.type() == Type::String || b.type() == Type::String)))
        return Value(ValueFormat::plain(a, formats) + ValueFormat::plain(b, formats));
    if (op.size() == 1 && QStringLiteral("+-*/").contains(op))
        return arithmetic(op, a, b);
    const int c = compare(a, b);
    if (op == QLatin1String("=")) return Value(c == 0);
    if (op == QLatin1String("<>")) return Value(c != 0);
    if (op == QLatin1String("<")) return Value(c < 0);
    if (op == QLatin1String("<=")) return Value(c <= 0);
    if (op == QLatin1String(">")) return Value(c > 0);
    return Value(c >= 0);
}

void checkArity(const Node &call, size_t min, size_t max)
{
    if (call.args.size() < min || call.args.size() > max)
        throw Error(QStringLiteral("%1 takes %2 argument(s)").arg(call.name,
            min == max ? QString::number(min) : QStringLiteral("%1 to %2").arg(min).arg(max)));
}

Value roundValue(const Value &v, qint64 decimals)
{
    if (v.type() == Type::Integer)
        return v;
    const double scale = std::pow(10.0, double(decimals));
    if (v.type() == Type::Money && decimals >= 0 && decimals <= 4) {
        qint64 step = 1;
        for (qint64 i = decimals; i < 4; ++i)
            step *= 10;
        const qint64 units = v.toMoney().units();
        const qint64 half = step / 2;
        const qint64 magnitude = ((units < 0 ? -units : units) + half) / step * step;
        return Value(kb::Money::fromUnits(units < 0 ? -magnitude : magnitude));
    }
    return Value(std::round(v.toDouble() * scale) / scale);
}

Value call(const Node &node, const EvalContext &context)
{
    const QString &f = node.name;
    auto arg = [&](size_t i) { return Evaluator::evaluate(*node.args.at(i), context); };
    if (f == QLatin1String("IF")) {
        checkArity(node, 3, 3);
        return arg(0).toBool() ? arg(1) : arg(2);
    }
    if (f == QLatin1String("FORMAT")) {
        checkArity(node, 2, 2);
        return Value(ValueFormat::format(arg(0), ValueFormat::plain(arg(1), context.formats()), context.formats()));
    }
    if (f == QLatin1String("STR")) {
        checkArity(node, 1, 1);
        return Value(ValueFormat::plain(arg(0), context.formats()));
    }
    if (f == QLatin1String("UPPER") || f == QLatin1String("LOWER") || f == QLatin1String("TRIM")) {
        checkArity(node, 1, 1);
        const QString s = ValueFormat::plain(arg(0), context.formats());
        return Value(f == QLatin1String("UPPER") ? s.toUpper() : f == QLatin1String("LOWER") ? s.toLower() : s.trimmed());
    }
    if (f == QLatin1String("LEN")) {
        checkArity(node, 1, 1);
        return Value(qint64(ValueFormat::plain(arg(0), context.formats()).size()));
    }
    if (f == QLatin1String("ABS")) {
        checkArity(node, 1, 1);
        const Value v = arg(0);
        return compare(v, Value(qint64(0))) < 0 ? arithmetic(QStringLiteral("-"), Value(qint64(0)), v) : v;
    }
    if (f == QLatin1String("ROUND")) {
        checkArity(node, 1, 2);
        return roundValue(arg(0), node.args.size() > 1 ? arg(1).toInteger() : 0);
    }
    if (f == QLatin1String("YEAR") || f == QLatin1String("MONTH") || f == QLatin1String("DAY")) {
        checkArity(node, 1, 1);
        const QDate d = arg(0).toDate();
        if (!d.isValid())
            return {};
        return Value(qint64(f == QLatin1String("YEAR") ? d.year() : f == QLatin1String("MONTH") ? d.month() : d.day()));
    }
    throw Error(QStringLiteral("unknown function %1").arg(f));
}

} // namespace

bool Evaluator::knowsFunction(const QString &name)
{
    static const QStringList names{QStringLiteral("IF"), QStringLiteral("FORMAT"), QStringLiteral("STR"),
                                   QStringLiteral("UPPER"), QStringLiteral("LOWER"), QStringLiteral("TRIM"),
                                   QStringLiteral("LEN"), QStringLiteral("ABS"), QStringLiteral("ROUND"),
                                   QStringLiteral("YEAR"), QStringLiteral("MONTH"), QStringLiteral("DAY")};
    return names.contains(name.toUpper());
}

Value Evaluator::apply(const QString &op, const Value &a, const Value &b, const FormatSettings &formats)
{
    return binary(op, a, b, formats);
}

Value Evaluator::evaluate(const Node &node, const EvalContext &context)
{
    switch (node.kind) {
    case Node::Kind::Constant:
        return node.constant;
    case Node::Kind::Field:
        return context.field(node);
    case Node::Kind::Variable:
        return context.variable(node.variable);
    case Node::Kind::Aggregate:
        return context.aggregate(node);
    case Node::Kind::Call:
        return call(node, context);
    case Node::Kind::Unary: {
        const Value v = evaluate(*node.args[0], context);
        if (node.name == QLatin1String("not"))
            return Value(!v.toBool());
        return arithmetic(QStringLiteral("-"), Value(qint64(0)), v);
    }
    case Node::Kind::Binary: {
        if (node.name == QLatin1String("and"))
            return Value(evaluate(*node.args[0], context).toBool() && evaluate(*node.args[1], context).toBool());
        if (node.name == QLatin1String("or"))
            return Value(evaluate(*node.args[0], context).toBool() || evaluate(*node.args[1], context).toBool());
        return binary(node.name, evaluate(*node.args[0], context), evaluate(*node.args[1], context), context.formats());
    }
    }
    return {};
}

NodePtr Evaluator::fold(const NodePtr &node, const EvalContext &context)
{
    if (!isLate(*node)) {
        auto constant = std::make_shared<Node>();
        constant->constant = evaluate(*node, context);
        return constant;
    }
    if (node->kind == Node::Kind::Aggregate || node->kind == Node::Kind::Variable)
        return node;
    auto copy = std::make_shared<Node>(*node);
    for (NodePtr &arg : copy->args)
        arg = fold(arg, context);
    return copy;
}

} // namespace kb::report
