#pragma once

#include <QDialog>

class QPushButton;

namespace kb {

class DbGrid;
struct ApplicationContext;

// The list of all cash counts of every till, by date and till: a new count for a day, editing
// and deleting the count the grid stands on.
class TBKasseForm : public QDialog
{
    Q_OBJECT

public:
    TBKasseForm(ApplicationContext &context, QWidget *parent);

    DbGrid &grid() const { return *m_DBGrid1; }

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button5Click();

private:
    QPushButton *addButton(const QString &objectName, const QString &caption, std::function<void()> handler);
    // The day of a new count as the user entered it, or today's after an invalid text; nullopt
    // when the user cancelled. text receives what the warning about a counted day names.
    std::optional<QDate> askDate(QString &text);
    void warnIfCounted(const QDate &day, const QString &text);
    void showEditForm();

    ApplicationContext &m_context;
    DbGrid *m_DBGrid1;
};

} // namespace kb
