#include "ScriptedUiServices.h"

#include <QDialog>

namespace kb {

namespace {

template <typename Answer>
Answer takeAnswer(QList<Answer> &queue, const QString &question)
{
    if (queue.isEmpty())
        throw ScriptedUiServices::Unanswered(question);
    return queue.takeFirst();
}

} // namespace

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
    return takeAnswer(confirmations, QStringLiteral("the question \"%1\"").arg(text));
}

void ScriptedUiServices::warning(const QString &text)
{
    record(Kind::Warning, warningCaption(), text);
}

void ScriptedUiServices::information(const QString &text)
{
    record(Kind::Information, informationCaption(), text);
}

void ScriptedUiServices::informationWithYes(const QString &text)
{
    record(Kind::Information, informationCaption(), text, QStringLiteral("&Ja"));
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
    const std::optional<QString> answer = takeAnswer(inputs, QStringLiteral("the input box \"%1\"").arg(prompt));
    if (ok)
        *ok = answer.has_value();
    return answer.value_or(defaultText);
}

QString ScriptedUiServices::chooseDirectory(const QString &title, const QString &start)
{
    record(Kind::Directory, title, {}, start);
    return takeAnswer(directories, QStringLiteral("the directory chooser \"%1\"").arg(title));
}

QString ScriptedUiServices::openFileName(const QString &title, const QString &, const QString &filter,
                                         const QString &defaultName)
{
    record(Kind::OpenFile, title, filter, defaultName);
    return takeAnswer(fileNames, QStringLiteral("the open dialog \"%1\"").arg(title));
}

QString ScriptedUiServices::saveFileName(const QString &title, const QString &, const QString &filter,
                                         const QString &defaultName, const SaveOptions &, QString *selectedFilter)
{
    record(Kind::SaveFile, title, filter, defaultName);
    const QString name = takeAnswer(fileNames, QStringLiteral("the save dialog \"%1\"").arg(title));
    if (selectedFilter && !name.isEmpty())
        *selectedFilter = takeAnswer(selectedFilters, QStringLiteral("the filter of \"%1\"").arg(title));
    return name;
}

QColor ScriptedUiServices::chooseColor(const QColor &initial)
{
    record(Kind::Color, {}, {}, initial.name());
    return takeAnswer(colors, QStringLiteral("the colour dialog"));
}

int ScriptedUiServices::runModal(QDialog &dialog)
{
    record(Kind::Modal, dialog.windowTitle(), {});
    if (!modal)
        throw Unanswered(QStringLiteral("the dialog \"%1\"").arg(dialog.windowTitle()));
    return modal(dialog);
}

} // namespace kb
