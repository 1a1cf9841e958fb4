#pragma once

#include "UiServices.h"

#include <QPointer>
#include <QWidget>

namespace kb {

// The program's user-interface services: Qt's message boxes and dialogs with German captions
// and buttons, centred on the parent window.
class QtUiServices : public UiServices
{
public:
    explicit QtUiServices(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParentWindow(QWidget *parent) { m_parent = parent; }

    bool confirm(const QString &text) override;
    bool confirmOkCancel(const QString &text) override;
    void warning(const QString &text) override;
    void information(const QString &text) override;
    void informationWithYes(const QString &text) override;
    void warningWithYes(const QString &text) override;
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
    bool ask(const QString &text, const QString &accept, const QString &decline);
    bool acceptsDirectory(const QString &path);
    bool acceptsFile(const QString &path, bool mustExist, bool confirmOverwrite);

    QPointer<QWidget> m_parent;
};

} // namespace kb
