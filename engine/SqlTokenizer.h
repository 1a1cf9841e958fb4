#pragma once

#include <QList>
#include <QString>

namespace kb {

struct SqlToken
{
    enum class Kind { Space, String, QuotedIdentifier, Number, Word, Symbol };

    Kind kind;
    QString text; // exactly as written, quotes included

    bool isIdentifier() const { return kind == Kind::Word || kind == Kind::QuotedIdentifier; }
    bool isSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    bool isWord(QStringView word) const;
    // The identifier as SQLite reads it: quotes removed, doubled quotes undone.
    QString identifier() const;
    // The content of a string literal: quotes removed, doubled apostrophes undone.
    QString stringValue() const;
};

// Splits SQL text into tokens whose texts, joined, give the text back unchanged. Blanks and
// comments are Space tokens. An unterminated literal runs to the end; SQLite reports it later.
class SqlTokenizer
{
public:
    static QList<SqlToken> tokenize(const QString &sql);
};

} // namespace kb
