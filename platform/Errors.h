#pragma once

#include <QString>
#include <exception>

namespace kb {

// Base of every failure the system reports; text() is what the general error display shows.
class Error : public std::exception
{
public:
    explicit Error(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// A failure of the table engine: SQLite's message and the statement that failed.
class EngineError : public Error
{
public:
    EngineError(const QString &message, QString statement = {})
        : Error(message), m_statement(std::move(statement)) {}
    const QString &statement() const noexcept { return m_statement; }

private:
    QString m_statement;
};

// A text that cannot be read as the number or date asked for, or a value out of its range.
class ConversionError : public Error
{
public:
    using Error::Error;
    static ConversionError notAnInteger(const QString &text);
    static ConversionError notAFloat(const QString &text);
    static ConversionError notADate(const QString &text);
    static ConversionError invalidDate();
};

class FileError : public Error
{
public:
    using Error::Error;
    static FileError cannotOpen(const QString &path);
    static FileError cannotCreate(const QString &path);
};

// The silent abort: ends the operation without any message.
class Abort : public std::exception
{
public:
    const char *what() const noexcept override { return "Abort"; }
};

} // namespace kb
