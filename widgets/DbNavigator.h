#pragma once

#include "DataSource.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>

class QToolButton;

namespace kb {

class UiServices;

// A row of flat buttons that move and change the cursor of a data source. Each button runs
// through the command guard; delete first asks "Datensatz löschen?". The buttons are enabled as
// the cursor allows: first and prior not at the start, next and last not at the end, delete not
// without rows, store and cancel only while editing; changing buttons need a table cursor.
class DbNavigator : public QWidget
{
    Q_OBJECT

public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Post, Cancel };
    static constexpr int ButtonCount = 8;

    explicit DbNavigator(UiServices &ui, QWidget *parent = nullptr);

    void bind(DataSource *source);
    DataSource *dataSource() const { return m_source; }

    // The buttons shown, always in the order of Button; all unless set.
    void setVisibleButtons(const QList<Button> &buttons);
    // One hint per button in the order of Button ("short|long" as everywhere).
    void setHints(const QStringList &hints);
    QToolButton *button(Button which) const { return m_buttons[size_t(which)]; }

    static QString deleteQuestion() { return QStringLiteral("Datensatz löschen?"); }

private:
    void run(Button which);
    void updateButtons();

    UiServices &m_ui;
    QPointer<DataSource> m_source;
    std::array<QToolButton *, ButtonCount> m_buttons{};
};

} // namespace kb
