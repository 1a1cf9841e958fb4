#pragma once

#include "SearchStatement.h"

#include <QDialog>

#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kb {

class TDataForm;
class UiServices;

// The booking search "Vorgang suchen": four criteria, the hits of the current company as
// "BelegNr, dd.mm.yyyy" with their booking number, and the choice of one hit. It reads through
// the data module's Query and moves nothing itself.
class TSearchForm : public QDialog
{
    Q_OBJECT

public:
    TSearchForm(TDataForm &data, UiServices &ui, QWidget *parent = nullptr);

    // The booking number Nr of the selected hit; none without a selected hit.
    std::optional<qint64> selectedNr() const;

    SearchCriteria criteria() const;

    void EditChange();
    void BtnStartClick();
    void BtnClearClick();
    void LVContactsDblClick();

private:
    void createControls();
    void createCriteria();
    void createList();
    void arrangeTabOrder();
    void connectHandlers();
    void addHit(const QString &belegNr, const QDate &datum, qint64 nr);

    TDataForm &m_data;
    UiServices &m_ui;
    QGroupBox *m_criteriaBox = nullptr;
    QLineEdit *m_EditBeleg = nullptr;
    QLineEdit *m_EditKontoname = nullptr;
    QLineEdit *m_EditDatum = nullptr;
    QLineEdit *m_EditText = nullptr;
    QPushButton *m_BtnStart = nullptr;
    QPushButton *m_BtnClear = nullptr;
    QTreeWidget *m_LVContacts = nullptr;
    QPushButton *m_BtnOk = nullptr;
    QPushButton *m_BtnCancel = nullptr;
};

} // namespace kb
