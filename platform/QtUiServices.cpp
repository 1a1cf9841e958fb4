#include "QtUiServices.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

namespace kb {

namespace {

// Qt's own file dialog, so that its texts can be German and the choice checked before it closes.
class ChooserDialog : public QFileDialog
{
public:
    using Check = std::function<bool(const QString &)>;

    ChooserDialog(QWidget *parent, const QString &title, const QString &directory, Check check)
        : QFileDialog(parent, title, directory), m_check(std::move(check))
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
        setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
        setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
        setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
        setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    }

    void setFilter(const QString &filter)
    {
        if (!filter.isEmpty())
            setNameFilter(filter);
    }

    void accept() override
    {
        if (m_check(selectedFiles().value(0)))
            QFileDialog::accept();
    }

private:
    Check m_check;
};

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text,
             const QString &button = QStringLiteral("OK"))
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    box.addButton(button, QMessageBox::AcceptRole);
    box.exec();
}

void setGermanButtons(QDialog &dialog)
{
    for (QDialogButtonBox *buttons : dialog.findChildren<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
        if (QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel))
            cancel->setText(QStringLiteral("Abbrechen"));
    }
}

QString chosenPath(ChooserDialog &dialog)
{
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

bool QtUiServices::confirm(const QString &text)
{
    return ask(text, QStringLiteral("&Ja"), QStringLiteral("&Nein"));
}

bool QtUiServices::confirmOkCancel(const QString &text)
{
    return ask(text, QStringLiteral("OK"), QStringLiteral("Abbrechen"));
}

bool QtUiServices::ask(const QString &text, const QString &accept, const QString &decline)
{
    QMessageBox box(QMessageBox::Question, confirmationCaption(), text, QMessageBox::NoButton, m_parent);
    QPushButton *yes = box.addButton(accept, QMessageBox::YesRole);
    QPushButton *no = box.addButton(decline, QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtUiServices::warning(const QString &text)
{
    showBox(m_parent, QMessageBox::Warning, warningCaption(), text);
}

void QtUiServices::information(const QString &text)
{
    showBox(m_parent, QMessageBox::Information, informationCaption(), text);
}

void QtUiServices::informationWithYes(const QString &text)
{
    showBox(m_parent, QMessageBox::Information, informationCaption(), text, QStringLiteral("&Ja"));
}

void QtUiServices::warningWithYes(const QString &text)
{
    showBox(m_parent, QMessageBox::Warning, warningCaption(), text, QStringLiteral("&Ja"));
}

void QtUiServices::message(const QString &text)
{
    showBox(m_parent, QMessageBox::NoIcon, programTitle(), text);
}

void QtUiServices::showError(const QString &text)
{
    showBox(m_parent, QMessageBox::Critical, programTitle(), errorDisplayText(text));
}

QString QtUiServices::inputBox(const QString &caption, const QString &prompt, const QString &defaultText, bool *ok)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? dialog.textValue() : defaultText;
}

bool QtUiServices::acceptsDirectory(const QString &path)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!confirm(QStringLiteral("Das angegebene Verzeichnis existiert nicht. Soll es angelegt werden?")))
        return false;
    if (QDir().mkpath(path))
        return true;
    warning(QStringLiteral("Verzeichnis kann nicht angelegt werden: %1").arg(path));
    return false;
}

bool QtUiServices::acceptsFile(const QString &path, bool mustExist, bool confirmOverwrite)
{
    const QFileInfo file(path);
    if (file.isDir())
        return true;
    if (mustExist && !file.exists()) {
        warning(QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(file.fileName()));
        return false;
    }
    if (confirmOverwrite && file.exists())
        return confirm(QStringLiteral("Die Datei %1 existiert bereits. Soll sie ersetzt werden?").arg(file.fileName()));
    return true;
}

QString QtUiServices::chooseDirectory(const QString &title, const QString &start)
{
    ChooserDialog dialog(m_parent, title, start, [this](const QString &path) { return acceptsDirectory(path); });
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Verzeichnis:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Auswählen"));
    return chosenPath(dialog);
}

QString QtUiServices::openFileName(const QString &title, const QString &directory, const QString &filter,
                                   const QString &defaultName)
{
    ChooserDialog dialog(m_parent, title, directory,
                         [this](const QString &path) { return acceptsFile(path, true, false); });
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFilter(filter);
    dialog.selectFile(defaultName);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Ö&ffnen"));
    return chosenPath(dialog);
}

QString QtUiServices::saveFileName(const QString &title, const QString &directory, const QString &filter,
                                   const QString &defaultName, const SaveOptions &options, QString *selectedFilter)
{
    ChooserDialog dialog(m_parent, title, directory, [this, options](const QString &path) {
        return acceptsFile(path, false, options.confirmOverwrite);
    });
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFilter(filter);
    dialog.setDefaultSuffix(options.defaultSuffix);
    if (options.suffixForFilter) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &options](const QString &chosen) {
            dialog.setDefaultSuffix(options.suffixForFilter(int(dialog.nameFilters().indexOf(chosen))));
        });
    }
    dialog.selectFile(defaultName);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Speichern"));
    const QString path = chosenPath(dialog);
    if (selectedFilter && !path.isEmpty())
        *selectedFilter = dialog.selectedNameFilter();
    return path;
}

QColor QtUiServices::chooseColor(const QColor &initial)
{
    QColorDialog dialog(initial, m_parent);
    dialog.setWindowTitle(QStringLiteral("Farbe"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    setGermanButtons(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedColor() : QColor();
}

int QtUiServices::runModal(QDialog &dialog)
{
    return dialog.exec();
}

} // namespace kb
