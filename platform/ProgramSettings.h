#pragma once

#include "IniFile.h"

#include <QString>

namespace kb {

// program.cfg beside the program: the company that was current when the program was last used.
// Every read and write goes to the file at once.
class ProgramSettings
{
public:
    explicit ProgramSettings(const QString &programDirectory);

    static QString defaultCompany() { return QStringLiteral("Beispielfirma"); }

    const QString &path() const { return m_file.path(); }
    QString lastCompany() const;
    // Throws FileError when the file cannot be written.
    void setLastCompany(const QString &name);

private:
    IniFile m_file;
};

} // namespace kb
