#pragma once

#include <QColor>
#include <QString>

#include <functional>

class QDialog;

namespace kb {

// How a save dialog treats the name the user chooses.
struct SaveOptions
{
    QString defaultSuffix;        // added when the chosen name has none, e.g. "csv"
    bool confirmOverwrite = true; // ask before an existing file is chosen
    // When given, the default suffix follows the file type the user picks (its index in the
    // filter list), as with a type-change handler of the dialog.
    std::function<QString(int filterIndex)> suffixForFilter = {};
};

// Every question and message the system puts to the user goes through this seam: the program
// shows real dialogs (QtUiServices), a test answers from a script (ScriptedUiServices).
class UiServices
{
public:
    virtual ~UiServices() = default;

    static QString programTitle();
    static QString confirmationCaption();
    static QString warningCaption();
    static QString informationCaption();
    // What the general error display shows: the text with a full stop appended when its last
    // character sorts after ".".
    static QString errorDisplayText(const QString &text);

    // A question with "&Ja" and "&Nein"; true only for "&Ja".
    virtual bool confirm(const QString &text) = 0;
    // A question with "OK" and "Abbrechen"; true only for "OK".
    virtual bool confirmOkCancel(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    virtual void information(const QString &text) = 0;
    // An information box whose only button is "&Ja" in place of "OK".
    virtual void informationWithYes(const QString &text) = 0;
    // A warning the user acknowledges with a single "&Ja" button.
    virtual void warningWithYes(const QString &text) = 0;
    // A plain message without icon, captioned with the program's title.
    virtual void message(const QString &text) = 0;
    // The general error display: error icon, "OK", the program's title, errorDisplayText().
    virtual void showError(const QString &text) = 0;

    // The text entered; on cancel the default, and *ok (when given) tells which.
    virtual QString inputBox(const QString &caption, const QString &prompt, const QString &defaultText,
                             bool *ok = nullptr) = 0;
    // The chosen directory, created when the user typed a new one and agreed; empty when cancelled.
    virtual QString chooseDirectory(const QString &title, const QString &start) = 0;
    // Filters in Qt's form: "CSV-Dateien (*.csv *.txt);;alle Dateien (*)". Empty when cancelled.
    virtual QString openFileName(const QString &title, const QString &directory, const QString &filter,
                                 const QString &defaultName) = 0;
    // *selectedFilter (when given) receives the filter the user chose, whatever the name's suffix.
    virtual QString saveFileName(const QString &title, const QString &directory, const QString &filter,
                                 const QString &defaultName, const SaveOptions &options = {},
                                 QString *selectedFilter = nullptr) = 0;
    // Invalid when cancelled.
    virtual QColor chooseColor(const QColor &initial) = 0;
    // Shows the dialog modally and returns its result code.
    virtual int runModal(QDialog &dialog) = 0;
};

} // namespace kb
