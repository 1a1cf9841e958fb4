#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace kb {

class DbEdit;
struct ApplicationContext;

// The count of one till on one day, edited in place on BKasseTable's current record: date and
// till, the pieces of every coin and note beside its picture, a remark, the running total, the
// printout and its template. "Speichern und Schließen" stores a pending change (a failed store
// keeps the dialog open with the change pending); "Abbrechen", Esc and the close box discard it.
class TBKasseEditForm : public QDialog
{
    Q_OBJECT

public:
    // The help topic of both cash count dialogs.
    static constexpr int HelpContext = 20;

    TBKasseEditForm(ApplicationContext &context, QWidget *parent);

    // The total of the pieces as typed, before the record is stored.
    QString runningTotal() const;

    void Button3Click();
    void Button4Click();
    void Button5Click();
    // Both report buttons: stores the count, then designs the template (BtnDesign) or reconciles
    // the count with the booked balance and shows the printout (BtnView).
    void BtnViewClick(QPushButton *sender);

    void reject() override;

private:
    void addHeading(QVBoxLayout &layout);
    void addTopRow(QVBoxLayout &layout);
    void addCounts(QVBoxLayout &layout);
    void addRemark(QVBoxLayout &layout);
    void addButtons(QVBoxLayout &layout);
    DbEdit *addEdit(const QString &field, int width);
    QPushButton *addButton(const QString &objectName, const QString &caption, std::function<void()> handler);
    void storePending();
    void showTotal();
    void selectCountIntoQuery();
    void reconcile();

    ApplicationContext &m_context;
    QList<DbEdit *> m_counts;
    QLabel *m_total = nullptr;
    QPushButton *m_BtnView = nullptr;
    QPushButton *m_BtnDesign = nullptr;
};

} // namespace kb
