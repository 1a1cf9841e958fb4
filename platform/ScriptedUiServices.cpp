#include "ScriptedUiServices.h"

#include <QDialog>

#include <utility>

namespace kb {

namespace {

QStringList &leftOver()
{
    static QStringList problems;
    return problems;
}

QString className(const QDialog &dialog)
{
    const QString name = QString::fromLatin1(dialog.metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

} // namespace

ScriptedUiServices::~ScriptedUiServices()
{
    leftOver() << problems();
}

QStringList ScriptedUiServices::takeLeftOverProblems()
{
    return std::exchange(leftOver(), {});
}

template <typename Answer>
Answer ScriptedUiServices::take(QList<Answer> &queue, const QString &question)
{
    if (queue.isEmpty())
        fail(question);
    return queue.takeFirst();
}

void ScriptedUiServices::fail(const QString &question)
{
    const Unanswered problem(question);
    m_unanswered << QString::fromUtf8(problem.what());
    throw problem;
}

void ScriptedUiServices::expectDialog(const QString &nameOrClass, DialogPart part)
{
    m_dialogs.append({nameOrClass, std::move(part)});
}

QStringList ScriptedUiServices::takeErrors()
{
    const QStringList errors = texts(Kind::Error);
    const QStringList fresh = errors.mid(m_errorsTaken);
    m_errorsTaken = errors.size();
    return fresh;
}

QStringList ScriptedUiServices::problems() const
{
    QStringList result = m_unanswered;
    for (const QString &error : texts(Kind::Error).mid(m_errorsTaken))
        result << QStringLiteral("Unexpected error box: %1").arg(error);
    for (const ExpectedDialog &dialog : m_dialogs)
        result << QStringLiteral("The dialog %1 was queued but never shown").arg(dialog.nameOrClass);
    return result;
}

ScriptedUiServices::Unanswered::Unanswered(const QString &question)
    : std::logic_error(QStringLiteral("No scripted answer for %1").arg(question).toStdString())
{
}

QStringList ScriptedUiServices::texts() const
{
    QStringList result;
    for (const Shown &entry : shown)
        result << entry.text;
    return result;
}

QStringList ScriptedUiServices::texts(Kind kind) const
{
    QStringList result;
    for (const Shown &entry : shown) {
        if (entry.kind == kind)
            result << entry.text;
    }
    return result;
}

bool ScriptedUiServices::allAnswersTaken() const
{
    return confirmations.isEmpty() && inputs.isEmpty() && directories.isEmpty() && fileNames.isEmpty()
        && selectedFilters.isEmpty() && colors.isEmpty();
}

void ScriptedUiServices::record(Kind kind, const QString &caption, const QString &text, const QString &preset)
{
    shown.append({kind, caption, text, preset});
}

bool ScriptedUiServices::confirm(const QString &text)
{
    record(Kind::Confirmation, confirmationCaption(), text);
    return take(confirmations, QStringLiteral("the question \"%1\"").arg(text));
}

void ScriptedUiServices::warning(const QString &text)
{
    record(Kind::Warning, warningCaption(), text);
}

void ScriptedUiServices::information(const QString &text)
{
    record(Kind::Information, informationCaption(), text);
}

void ScriptedUiServices::message(const QString &text)
{
    record(Kind::Message, programTitle(), text);
}

void ScriptedUiServices::showError(const QString &text)
{
    record(Kind::Error, programTitle(), errorDisplayText(text));
}

QString ScriptedUiServices::inputBox(const QString &caption, const QString &prompt, const QString &defaultText,
                                     bool *ok)
{
    record(Kind::Input, caption, prompt, defaultText);
    const std::optional<QString> answer = take(inputs, QStringLiteral("the input box \"%1\"").arg(prompt));
    if (ok)
        *ok = answer.has_value();
    return answer.value_or(defaultText);
}

QString ScriptedUiServices::chooseDirectory(const QString &title, const QString &start)
{
    record(Kind::Directory, title, {}, start);
    return take(directories, QStringLiteral("the directory chooser \"%1\"").arg(title));
}

QString ScriptedUiServices::openFileName(const QString &title, const QString &, const QString &filter,
                                         const QString &defaultName)
{
    record(Kind::OpenFile, title, filter, defaultName);
    return take(fileNames, QStringLiteral("the open dialog \"%1\"").arg(title));
}

QString ScriptedUiServices::saveFileName(const QString &title, const QString &, const QString &filter,
                                         const QString &defaultName, const SaveOptions &, QString *selectedFilter)
{
    record(Kind::SaveFile, title, filter, defaultName);
    const QString name = take(fileNames, QStringLiteral("the save dialog \"%1\"").arg(title));
    if (selectedFilter && !name.isEmpty())
        *selectedFilter = take(selectedFilters, QStringLiteral("the filter of \"%1\"").arg(title));
    return name;
}

QColor ScriptedUiServices::chooseColor(const QColor &initial)
{
    record(Kind::Color, {}, {}, initial.name());
    return take(colors, QStringLiteral("the colour dialog"));
}

int ScriptedUiServices::runModal(QDialog &dialog)
{
    record(Kind::Modal, dialog.windowTitle(), {});
    const QString question = QStringLiteral("the dialog \"%1\" (%2, %3)")
                                 .arg(dialog.windowTitle(), dialog.objectName(), className(dialog));
    if (m_dialogs.isEmpty())
        fail(question);
    const QString expected = m_dialogs.first().nameOrClass;
    if (expected != dialog.objectName() && expected != className(dialog))
        fail(QStringLiteral("%1 where %2 was queued").arg(question, expected));
    return m_dialogs.takeFirst().part(dialog);
}

} // namespace kb
