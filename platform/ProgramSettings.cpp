#include "ProgramSettings.h"

#include <QDir>

namespace kb {

namespace {

QString section()
{
    return QStringLiteral("Firma");
}

QString lastCompanyKey()
{
    return QStringLiteral("Letzte Firma");
}

} // namespace

ProgramSettings::ProgramSettings(const QString &programDirectory)
    : m_file(QDir(programDirectory).filePath(QStringLiteral("program.cfg")))
{
}

QString ProgramSettings::lastCompany() const
{
    return m_file.readString(section(), lastCompanyKey(), defaultCompany());
}

void ProgramSettings::setLastCompany(const QString &name)
{
    m_file.writeString(section(), lastCompanyKey(), name);
}

} // namespace kb
