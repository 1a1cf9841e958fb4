#pragma once

#include <QDialog>
#include <QIcon>
#include <QSize>
#include <QString>

#include <functional>

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace kb {

class HelpViewer;
class UiServices;

// What a master-data dialog needs of the program: the user-interface services for its questions
// and modal children, the help for its "Hilfe ..." button.
struct MasterDialogServices
{
    UiServices &ui;
    HelpViewer &help;
};

// The frame both master-data dialogs share: fixed client size, centred, the parent's font, a
// heading beside an icon above a rule, a body beside a side column that holds the word-wrapped
// note and the buttons. Every button runs its handler through the command guard.
class MasterDialogFrame : public QDialog
{
    Q_OBJECT

public:
    struct Frame
    {
        QString objectName;
        QString title;
        QSize clientSize;
        QIcon icon;
        QString heading;
        QString note;
        int helpTopic = 0;
        int sideWidth = 160;  // the side column with note and buttons
    };

    MasterDialogFrame(const MasterDialogServices &services, const Frame &frame, QWidget *parent);

    UiServices &ui() const { return m_services.ui; }
    QLabel &heading() const { return *m_Label1; }
    QLabel &note() const { return *m_Label2; }

    // Opens the dialog's help topic.
    void showHelp();

protected:
    // The area left of the side column, for the grid or the entry fields.
    QVBoxLayout &body() const { return *m_body; }
    // The full width below body and side column; once used it takes the dialog's spare height.
    QVBoxLayout &below();
    // Buttons above the note, in the order added.
    QPushButton *addTopButton(const QString &objectName, const QString &caption, std::function<void()> handler);
    // Buttons at the foot of the side column, in the order added.
    QPushButton *addBottomButton(const QString &objectName, const QString &caption, std::function<void()> handler);
    // The "Hilfe ..." button at the foot of the side column.
    QPushButton *addHelpButton(const QString &objectName);
private:
    QPushButton *makeButton(QBoxLayout &layout, const QString &objectName, const QString &caption,
                            std::function<void()> handler);

    MasterDialogServices m_services;
    int m_helpTopic;
    int m_sideWidth;
    QLabel *m_Label1;
    QLabel *m_Label2;
    QVBoxLayout *m_layout;
    QHBoxLayout *m_middle;
    QVBoxLayout *m_body;
    QVBoxLayout *m_below = nullptr;
    QVBoxLayout *m_topButtons;
    QVBoxLayout *m_bottomButtons;
};

} // namespace kb
