#include "Expression.h"

#include "Errors.h"
#include "TextForms.h"

#include <functional>

namespace kb::report {

namespace {

enum class Tok { End, Number, String, Identifier, QuotedIdentifier, Op, LParen, RParen, Comma, Dot };

struct Token
{
    Tok type = Tok::End;
    QString text;
    int position = 0;
};

class Lexer
{
public:
    explicit Lexer(const QString &text) : m_text(text) {}

    std::vector<Token> tokens()
    {
        std::vector<Token> out;
        for (;;) {
            skipBlanks();
            Token t;
            t.position = m_pos;
            if (m_pos >= m_text.size()) {
                out.push_back(t);
                return out;
            }
            const QChar c = m_text.at(m_pos);
            if (c.isDigit())
                t = number();
            else if (c == QLatin1Char('\''))
                t = quoted(QLatin1Char('\''), Tok::String);
            else if (c == QLatin1Char('"'))
                t = quoted(QLatin1Char('"'), Tok::QuotedIdentifier);
            else if (c.isLetter() || c == QLatin1Char('_'))
                t = identifier();
            else
                t = punctuation();
            out.push_back(t);
        }
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    Token number()
    {
        const int start = m_pos;
        while (m_pos < m_text.size() && m_text.at(m_pos).isDigit())
            ++m_pos;
        if (m_pos + 1 < m_text.size() && m_text.at(m_pos) == QLatin1Char('.') && m_text.at(m_pos + 1).isDigit()) {
            ++m_pos;
            while (m_pos < m_text.size() && m_text.at(m_pos).isDigit())
                ++m_pos;
        }
        return {Tok::Number, m_text.mid(start, m_pos - start), start};
    }

    Token quoted(QChar quote, Tok type)
    {
        const int start = m_pos++;
        QString value;
        for (;;) {
            if (m_pos >= m_text.size())
                throw Error(QStringLiteral("unterminated %1 at position %2")
                                .arg(type == Tok::String ? QStringLiteral("string") : QStringLiteral("name"))
                                .arg(start + 1));
            const QChar c = m_text.at(m_pos++);
            if (c == quote) {
                if (m_pos < m_text.size() && m_text.at(m_pos) == quote) {
                    value += quote;
                    ++m_pos;
                    continue;
                }
                return {type, value, start};
            }
            value += c;
        }
    }

    Token identifier()
    {
        const int start = m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == QLatin1Char('_')))
            ++m_pos;
        return {Tok::Identifier, m_text.mid(start, m_pos - start), start};
    }

    Token punctuation()
    {
        const int start = m_pos;
        const QChar c = m_text.at(m_pos++);
        switch (c.unicode()) {
        case '(': return {Tok::LParen, QStringLiteral("("), start};
        case ')': return {Tok::RParen, QStringLiteral(")"), start};
        case ',': return {Tok::Comma, QStringLiteral(","), start};
        case '.': return {Tok::Dot, QStringLiteral("."), start};
        case '+': case '-': case '*': case '/': case '=': case '&':
            return {Tok::Op, QString(c), start};
        case '<':
            if (m_pos < m_text.size() && (m_text.at(m_pos) == QLatin1Char('=') || m_text.at(m_pos) == QLatin1Char('>')))
                return {Tok::Op, QString(c) + m_text.at(m_pos++), start};
            return {Tok::Op, QString(c), start};
        case '>':
            if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('='))
                return {Tok::Op, QString(c) + m_text.at(m_pos++), start};
            return {Tok::Op, QString(c), start};
        default:
            throw Error(QStringLiteral("unexpected character '%1' at position %2").arg(c).arg(start + 1));
        }
    }

    const QString &m_text;
    int m_pos = 0;
};

bool is(const Token &t, const char *word)
{
    return t.type == Tok::Identifier && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

std::optional<AggregateKind> aggregateNamed(const QString &name)
{
    static const std::pair<const char *, AggregateKind> names[] = {
        {"SUM", AggregateKind::Sum}, {"COUNT", AggregateKind::Count}, {"MIN", AggregateKind::Min},
        {"MAX", AggregateKind::Max}, {"AVG", AggregateKind::Avg}, {"FIRST", AggregateKind::First},
        {"LAST", AggregateKind::Last}};
    for (const auto &[n, kind] : names) {
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

std::optional<Variable> variableNamed(const QString &name)
{
    static const std::pair<const char *, Variable> names[] = {
        {"PAGE", Variable::Page}, {"PAGES", Variable::Pages}, {"LINE", Variable::Line},
        {"DATE", Variable::Date}, {"TIME", Variable::Time}, {"NOW", Variable::Now}};
    for (const auto &[n, variable] : names) {
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return variable;
    }
    return std::nullopt;
}

std::optional<Scope> scopeNamed(const QString &name)
{
    static const std::pair<const char *, Scope> names[] = {
        {"group", Scope::Group}, {"page", Scope::Page}, {"report", Scope::Report}, {"running", Scope::Running}};
    for (const auto &[n, scope] : names) {
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return scope;
    }
    return std::nullopt;
}

// Precedence, loosest first: or; and; not; comparison; + - &; * /; unary minus.
class Parser
{
public:
    explicit Parser(const QString &text) : m_tokens(Lexer(text).tokens()) {}

    NodePtr parse()
    {
        if (peek().type == Tok::End)
            throw Error(QStringLiteral("empty expression"));
        NodePtr node = orExpr();
        if (peek().type != Tok::End)
            fail(QStringLiteral("unexpected '%1'").arg(peek().text));
        return node;
    }

private:
    const Token &peek() const { return m_tokens[m_index]; }
    Token take() { return m_tokens[m_index++]; }

    [[noreturn]] void fail(const QString &what) const
    {
        throw Error(QStringLiteral("%1 at position %2").arg(what).arg(peek().position + 1));
    }

    void expect(Tok type, const char *what)
    {
        if (peek().type != type)
            fail(QStringLiteral("'%1' expected").arg(QLatin1String(what)));
        ++m_index;
    }

    static NodePtr binary(const QString &op, NodePtr left, NodePtr right)
    {
        auto node = std::make_shared<Node>();
        node->kind = Node::Kind::Binary;
        node->name = op;
        node->args = {std::move(left), std::move(right)};
        return node;
    }

    static NodePtr unary(const QString &op, NodePtr operand)
    {
        auto node = std::make_shared<Node>();
        node->kind = Node::Kind::Unary;
        node->name = op;
        node->args = {std::move(operand)};
        return node;
    }

    NodePtr orExpr()
    {
        NodePtr left = andExpr();
        while (is(peek(), "or")) {
            take();
            left = binary(QStringLiteral("or"), left, andExpr());
        }
        return left;
    }

    NodePtr andExpr()
    {
        NodePtr left = notExpr();
        while (is(peek(), "and")) {
            take();
            left = binary(QStringLiteral("and"), left, notExpr());
        }
        return left;
    }

    NodePtr notExpr()
    {
        if (is(peek(), "not")) {
            take();
            return unary(QStringLiteral("not"), notExpr());
        }
        return comparison();
    }

    NodePtr comparison()
    {
        NodePtr left = additive();
        static const QStringList ops{QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"),
                                     QStringLiteral("<="), QStringLiteral(">"), QStringLiteral(">=")};
        if (peek().type == Tok::Op && ops.contains(peek().text)) {
            const QString op = take().text;
            left = binary(op, left, additive());
        }
        return left;
    }

    NodePtr additive()
    {
        NodePtr left = multiplicative();
        while (peek().type == Tok::Op
               && (peek().text == QLatin1String("+") || peek().text == QLatin1String("-") || peek().text == QLatin1String("&"))) {
            const QString op = take().text;
            left = binary(op, left, multiplicative());
        }
        return left;
    }

    NodePtr multiplicative()
    {
        NodePtr left = signedPrimary();
        while (peek().type == Tok::Op && (peek().text == QLatin1String("*") || peek().text == QLatin1String("/"))) {
            const QString op = take().text;
            left = binary(op, left, signedPrimary());
        }
        return left;
    }

    NodePtr signedPrimary()
    {
        if (peek().type == Tok::Op && peek().text == QLatin1String("-")) {
            take();
            return unary(QStringLiteral("-"), signedPrimary());
        }
        return primary();
    }

    NodePtr primary()
    {
        const Token t = peek();
        switch (t.type) {
        case Tok::Number:
            take();
            return constant(numberValue(t.text));
        case Tok::String:
            take();
            return constant(Value(t.text));
        case Tok::LParen: {
            take();
            NodePtr inner = orExpr();
            expect(Tok::RParen, ")");
            return inner;
        }
        case Tok::QuotedIdentifier:
            take();
            return fieldReference(t.text);
        case Tok::Identifier:
            take();
            return named(t.text);
        default:
            fail(t.type == Tok::End ? QStringLiteral("unexpected end") : QStringLiteral("unexpected '%1'").arg(t.text));
        }
    }

    static NodePtr constant(const Value &value)
    {
        auto node = std::make_shared<Node>();
        node->constant = value;
        return node;
    }

    // A literal with up to four decimals is money, so that decimal arithmetic stays exact.
    static Value numberValue(const QString &text)
    {
        const int dot = text.indexOf(QLatin1Char('.'));
        if (dot < 0)
            return Value(text.toLongLong());
        if (text.size() - dot - 1 <= 4)
            return Value(TextForms::parseMoney(QString(text).replace(QLatin1Char('.'), QLatin1Char(','))));
        return Value(text.toDouble());
    }

    NodePtr named(const QString &name)
    {
        if (peek().type == Tok::LParen)
            return call(name);
        if (peek().type == Tok::Dot)
            return fieldReference(name);
        if (name.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return constant(Value(true));
        if (name.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return constant(Value(false));
        if (name.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0)
            return constant(Value());
        if (const auto variable = variableNamed(name)) {
            auto node = std::make_shared<Node>();
            node->kind = Node::Kind::Variable;
            node->variable = *variable;
            node->name = name.toUpper();
            return node;
        }
        auto node = std::make_shared<Node>();
        node->kind = Node::Kind::Field;
        node->name = name;
        return node;
    }

    NodePtr fieldReference(const QString &first)
    {
        auto node = std::make_shared<Node>();
        node->kind = Node::Kind::Field;
        if (peek().type == Tok::Dot) {
            take();
            if (peek().type != Tok::Identifier && peek().type != Tok::QuotedIdentifier)
                fail(QStringLiteral("field name expected"));
            node->qualifier = first;
            node->name = take().text;
        } else {
            node->name = first;
        }
        return node;
    }

    NodePtr call(const QString &name)
    {
        expect(Tok::LParen, "(");
        std::vector<NodePtr> args;
        std::optional<Scope> scope;
        const auto aggregate = aggregateNamed(name);
        if (peek().type != Tok::RParen) {
            for (;;) {
                if (aggregate && peek().type == Tok::Identifier && scopeNamed(peek().text)
                    && m_tokens[m_index + 1].type == Tok::RParen) {
                    scope = scopeNamed(take().text);
                    break;
                }
                args.push_back(orExpr());
                if (peek().type != Tok::Comma)
                    break;
                take();
            }
        }
        expect(Tok::RParen, ")");
        auto node = std::make_shared<Node>();
        node->name = name.toUpper();
        node->args = std::move(args);
        if (aggregate) {
            node->kind = Node::Kind::Aggregate;
            node->aggregate = *aggregate;
            node->scope = scope.value_or(Scope::Report);
            const size_t wanted = *aggregate == AggregateKind::Count ? 0 : 1;
            if (node->args.size() != wanted)
                throw Error(QStringLiteral("%1 takes %2 and a scope").arg(node->name,
                    wanted ? QStringLiteral("one value") : QStringLiteral("no value")));
        } else {
            node->kind = Node::Kind::Call;
        }
        return node;
    }

    std::vector<Token> m_tokens;
    size_t m_index = 0;
};

} // namespace

NodePtr ExpressionParser::parse(const QString &text)
{
    return Parser(text).parse();
}

void forEachNode(const Node &node, const std::function<void(const Node &)> &visit)
{
    for (const NodePtr &arg : node.args)
        forEachNode(*arg, visit);
    visit(node);
}

bool isLate(const Node &node)
{
    if (node.kind == Node::Kind::Variable && node.variable == Variable::Pages)
        return true;
    if (node.kind == Node::Kind::Aggregate)
        return node.scope != Scope::Running;
    for (const NodePtr &arg : node.args) {
        if (isLate(*arg))
            return true;
    }
    return false;
}

} // namespace kb::report
