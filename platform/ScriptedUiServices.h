#pragma once

#include "UiServices.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>

namespace kb {

// The user of a test: answers every question from the queues below, front first, and records
// everything shown, in order. A question without a queued answer throws Unanswered, so a test
// never waits for a dialog. It is strict: an unanswered question, an unqueued dialog and an error
// box the test did not take with takeErrors() are problems(); whatever is left of them when the
// object dies is kept in leftOverProblems() for the test's cleanup to fail on.
class ScriptedUiServices : public UiServices
{
public:
    enum class Kind { Confirmation, Warning, Information, Message, Error, Input, Directory, OpenFile, SaveFile, Color, Modal };

    // caption: the box's caption or the dialog's title. text: the message (after the full-stop
    // rule for errors), the input prompt or the file filter. preset: the input's default, the
    // start directory, the default file name or the initial colour's name.
    struct Shown
    {
        Kind kind;
        QString caption;
        QString text;
        QString preset;
        bool operator==(const Shown &) const = default;
    };

    class Unanswered : public std::logic_error
    {
    public:
        explicit Unanswered(const QString &question);
    };

    QList<bool> confirmations;
    QList<std::optional<QString>> inputs;  // std::nullopt cancels the input box
    QStringList directories;               // an empty entry cancels
    QStringList fileNames;                 // for open and save dialogs; an empty entry cancels
    QStringList selectedFilters;           // taken only when the caller asks for the filter
    QList<QColor> colors;                  // an invalid colour cancels

    // The user's part in one modal dialog: gets the dialog, returns its result code.
    using DialogPart = std::function<int(QDialog &)>;
    // Queues the user's part in the next modal dialog, which must carry this object name or
    // class name (without namespace); dialogs are played in the order they were queued.
    void expectDialog(const QString &nameOrClass, DialogPart part);

    QList<Shown> shown;

    // The text of every entry shown, or of those of one kind.
    QStringList texts() const;
    QStringList texts(Kind kind) const;
    // True when the command asked for every answer the test queued.
    bool allAnswersTaken() const;
    // The error texts shown since the last call; the test has seen them, so they are no problem.
    QStringList takeErrors();
    // What went wrong behind the test's back: unanswered questions, unqueued or unexpected
    // dialogs, error boxes not taken.
    QStringList problems() const;
    // Problems of every scripted user that has died since the last call, taken out.
    static QStringList takeLeftOverProblems();

    ~ScriptedUiServices() override;

    bool confirm(const QString &text) override;
    void warning(const QString &text) override;
    void information(const QString &text) override;
    void message(const QString &text) override;
    void showError(const QString &text) override;
    QString inputBox(const QString &caption, const QString &prompt, const QString &defaultText,
                     bool *ok = nullptr) override;
    QString chooseDirectory(const QString &title, const QString &start) override;
    QString openFileName(const QString &title, const QString &directory, const QString &filter,
                         const QString &defaultName) override;
    QString saveFileName(const QString &title, const QString &directory, const QString &filter,
                         const QString &defaultName, const SaveOptions &options = {},
                         QString *selectedFilter = nullptr) override;
    QColor chooseColor(const QColor &initial) override;
    int runModal(QDialog &dialog) override;

private:
    struct ExpectedDialog
    {
        QString nameOrClass;
        DialogPart part;
    };

    void record(Kind kind, const QString &caption, const QString &text, const QString &preset = {});
    template <typename Answer>
    Answer take(QList<Answer> &queue, const QString &question);
    [[noreturn]] void fail(const QString &question);

    QList<ExpectedDialog> m_dialogs;
    QStringList m_unanswered;
    qsizetype m_errorsTaken = 0;
};

} // namespace kb
