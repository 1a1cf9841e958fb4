#pragma once

#include <QString>
#include <QStringList>

namespace kb {

// A settings file of "[Section]" headers and "Key=Value" lines in code page 1252 with CR LF.
// Every read goes to the file and every write reaches it at once, so nothing is held between
// calls. Sections and keys are matched without regard to case; keys are written as given.
class IniFile
{
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    // The default when the file, the section or the key is missing or the file cannot be read.
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Keeps every other line of the file; creates the file when it is missing. Line breaks in the
    // value become blanks so they cannot split the entry. Throws FileError::cannotOpen when the
    // file exists but cannot be read (it is left alone), FileError::cannotCreate when it cannot
    // be written.
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    QStringList lines() const;

    QString m_path;
};

} // namespace kb
