#include "PeriodFields.h"

#include "TextForms.h"

#include <QLabel>
#include <QLineEdit>

namespace kb {

namespace {

constexpr int fieldHeight = 21;
constexpr int headHeight = 15;
constexpr int narrowWidth = 32;
constexpr int wideWidth = 52;
constexpr int dotWidth = 10;
constexpr int firstFieldLeft = 52;

QDate dateOf(const QLineEdit &day, const QLineEdit &month, const QLineEdit &year)
{
    const qint64 d = TextForms::parseInteger(day.text());
    const qint64 m = TextForms::parseInteger(month.text());
    const qint64 y = TextForms::parseInteger(year.text());
    return TextForms::encodeDate(y, m, d);
}

QLabel *addLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

} // namespace

PeriodFields::PeriodFields(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
    setObjectName(QStringLiteral("GroupBox1"));
    setFixedSize(FrameWidth, FrameHeight);
    const auto von = addRow(QStringLiteral("Von:"), QStringLiteral("Von"), 18);
    const auto bis = addRow(QStringLiteral("Bis:"), QStringLiteral("Bis"), 72);
    VonT = von[0];
    VonM = von[1];
    VonJ = von[2];
    BisT = bis[0];
    BisM = bis[1];
    BisJ = bis[2];
    setTabOrder(VonT, VonM);
    setTabOrder(VonM, VonJ);
    setTabOrder(VonJ, BisT);
    setTabOrder(BisT, BisM);
    setTabOrder(BisM, BisJ);
}

std::array<QLineEdit *, 3> PeriodFields::addRow(const QString &label, const QString &prefix, int top)
{
    const int fieldTop = top + headHeight;
    addLabel(this, label, QRect(10, fieldTop + 3, firstFieldLeft - 12, headHeight));
    struct Column { const char *suffix; const char *head; int width; };
    const Column columns[] = {{"T", "Tag", narrowWidth}, {"M", "Monat", narrowWidth}, {"J", "Jahr", wideWidth}};
    std::array<QLineEdit *, 3> fields{};
    int left = firstFieldLeft;
    for (int i = 0; i < 3; ++i) {
        addLabel(this, QString::fromLatin1(columns[i].head), QRect(left, top, columns[i].width + dotWidth, headHeight));
        auto *field = new QLineEdit(this);
        field->setObjectName(prefix + QString::fromLatin1(columns[i].suffix));
        field->setGeometry(left, fieldTop, columns[i].width, fieldHeight);
        fields[size_t(i)] = field;
        left += columns[i].width;
        if (i < 2) {
            auto *dot = addLabel(this, QStringLiteral("."), QRect(left, fieldTop + 3, dotWidth, headHeight));
            dot->setAlignment(Qt::AlignHCenter);
            left += dotWidth;
        }
    }
    return fields;
}

PeriodTexts PeriodFields::texts() const
{
    return {VonT->text(), VonM->text(), VonJ->text(), BisT->text(), BisM->text(), BisJ->text()};
}

void PeriodFields::setTexts(const PeriodTexts &texts)
{
    VonT->setText(texts.VonT);
    VonM->setText(texts.VonM);
    VonJ->setText(texts.VonJ);
    BisT->setText(texts.BisT);
    BisM->setText(texts.BisM);
    BisJ->setText(texts.BisJ);
}

Period PeriodFields::period() const
{
    const QDate first = dateOf(*VonT, *VonM, *VonJ);
    const QDate last = dateOf(*BisT, *BisM, *BisJ);
    return {first, last};
}

} // namespace kb
