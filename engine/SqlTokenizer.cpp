#include "SqlTokenizer.h"

namespace kb {

namespace {

using Kind = SqlToken::Kind;

class Scanner
{
public:
    explicit Scanner(const QString &sql) : m_sql(sql) {}

    bool atEnd() const { return m_pos >= m_sql.size(); }

    SqlToken next()
    {
        const qsizetype start = m_pos;
        const Kind kind = scan();
        return {kind, m_sql.mid(start, m_pos - start)};
    }

private:
    QChar at(qsizetype pos) const { return pos < m_sql.size() ? m_sql.at(pos) : QChar(); }
    bool startsHere(QStringView text) const { return QStringView(m_sql).mid(m_pos).startsWith(text); }

    Kind scan()
    {
        const QChar c = at(m_pos);
        if (c.isSpace()) {
            skipWhile([](QChar ch) { return ch.isSpace(); });
            return Kind::Space;
        }
        if (startsHere(u"--")) {
            skipWhile([](QChar ch) { return ch != u'\n'; });
            return Kind::Space;
        }
        if (startsHere(u"/*")) {
            skipBlockComment();
            return Kind::Space;
        }
        if (c == u'\'' || c == u'"') {
            skipQuoted(c);
            return c == u'\'' ? Kind::String : Kind::QuotedIdentifier;
        }
        if (c.isDigit() || (c == u'.' && at(m_pos + 1).isDigit())) {
            skipNumber();
            return Kind::Number;
        }
        if (isWordStart(c)) {
            skipWhile(isWordPart);
            return Kind::Word;
        }
        skipSymbol();
        return Kind::Symbol;
    }

    static bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
    static bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

    template<typename Predicate>
    void skipWhile(Predicate predicate)
    {
        while (!atEnd() && predicate(at(m_pos)))
            ++m_pos;
    }

    void skipBlockComment()
    {
        const qsizetype end = m_sql.indexOf(QStringLiteral("*/"), m_pos + 2);
        m_pos = end < 0 ? m_sql.size() : end + 2;
    }

    // A doubled quote inside stands for the quote itself and does not end the token.
    void skipQuoted(QChar quote)
    {
        ++m_pos;
        while (!atEnd()) {
            if (at(m_pos) == quote && at(m_pos + 1) != quote) {
                ++m_pos;
                return;
            }
            m_pos += at(m_pos) == quote ? 2 : 1;
        }
    }

    void skipNumber()
    {
        auto isDigit = [](QChar ch) { return ch.isDigit(); };
        skipWhile(isDigit);
        if (at(m_pos) == u'.') {
            ++m_pos;
            skipWhile(isDigit);
        }
        const bool sign = at(m_pos + 1) == u'+' || at(m_pos + 1) == u'-';
        const bool exponent = (at(m_pos) == u'e' || at(m_pos) == u'E')
            && (at(m_pos + 1).isDigit() || (sign && at(m_pos + 2).isDigit()));
        if (exponent) {
            m_pos += 2;
            skipWhile(isDigit);
        }
    }

    void skipSymbol()
    {
        constexpr QStringView pairs[] = {u"<=", u">=", u"<>", u"!=", u"==", u"||", u"<<", u">>"};
        for (QStringView pair : pairs) {
            if (startsHere(pair)) {
                m_pos += 2;
                return;
            }
        }
        ++m_pos;
    }

    const QString &m_sql;
    qsizetype m_pos = 0;
};

QString unquote(const QString &text, QChar quote)
{
    QString inner = text.mid(1);
    if (inner.endsWith(quote))
        inner.chop(1);
    return inner.replace(QString(2, quote), QString(quote));
}

} // namespace

bool SqlToken::isWord(QStringView word) const
{
    return kind == Kind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
}

QString SqlToken::identifier() const
{
    return kind == Kind::QuotedIdentifier ? unquote(text, u'"') : text;
}

QString SqlToken::stringValue() const
{
    return unquote(text, u'\'');
}

QList<SqlToken> SqlTokenizer::tokenize(const QString &sql)
{
    QList<SqlToken> tokens;
    Scanner scanner(sql);
    while (!scanner.atEnd())
        tokens.append(scanner.next());
    return tokens;
}

} // namespace kb
