#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace kb::test {

// The user at the keyboard of a window: types into the focused control, tabs, clicks controls
// found by object name.
class Typist
{
public:
    explicit Typist(QWidget &window) : m_window(window) {}

    QWidget *focus() const { return QApplication::focusWidget(); }
    QString focusName() const { return focus() ? focus()->objectName() : QString(); }
    // The text the focused control shows.
    QString shown() const
    {
        if (auto *edit = qobject_cast<QLineEdit *>(focus()))
            return edit->text();
        if (auto *combo = qobject_cast<QComboBox *>(focus()))
            return combo->currentText();
        return QString();
    }
    QString selected() const
    {
        auto *edit = qobject_cast<QLineEdit *>(focus());
        return edit ? edit->selectedText() : QString();
    }

    // Letters beyond ASCII (Bürobedarf, Erlöse) arrive as the key of their capital with their text.
    void type(const QString &text)
    {
        for (const QChar letter : text) {
            if (letter.unicode() < 0x80)
                QTest::keyClick(focus(), char(letter.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, focus(), Qt::Key(letter.toUpper().unicode()), QString(letter),
                                    Qt::NoModifier);
        }
    }
    void tab() { QTest::keyClick(focus(), Qt::Key_Tab); }
    void enter() { QTest::keyClick(focus(), Qt::Key_Return); }
    void click(const QString &control) { QTest::mouseClick(m_window.findChild<QWidget *>(control), Qt::LeftButton); }
    // Moves the focus into a control as a click into it would.
    void into(const QString &control) { m_window.findChild<QWidget *>(control)->setFocus(Qt::MouseFocusReason); }

private:
    QWidget &m_window;
};

} // namespace kb::test
