#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

namespace kb {

// A read-only view of text lines without wrapping, with both scroll bars. It paints only the
// lines in sight, so handing it a hundred thousand lines costs no layout of them.
class LineView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit LineView(QWidget *parent = nullptr);

    void setLines(QStringList lines);
    const QStringList &lines() const { return m_lines; }
    // The lines joined by line breaks, as a text field would give them.
    QString text() const { return m_lines.join(QLatin1Char('\n')); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateScrollBars();
    int lineHeight() const;
    // The width of the widest line; only the lines with the most characters are measured.
    int contentWidth() const;

    QStringList m_lines;
    int m_contentWidth = 0;
};

} // namespace kb
