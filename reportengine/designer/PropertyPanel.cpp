#include "PropertyPanel.h"

#include <QComboBox>
#include <QHeaderView>

namespace kb::report {

PropertyPanel::PropertyPanel(DesignerDocument &document, QWidget *parent) : QTableWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("PropertyPanel"));
    setColumnCount(2);
    setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableWidget::itemChanged, this, &PropertyPanel::onItemChanged);
    // Queued: a change made from a cell's own signal must not delete that cell under it.
    connect(&m_document, &DesignerDocument::changed, this, &PropertyPanel::fill, Qt::QueuedConnection);
}

void PropertyPanel::showObjects(const std::vector<ObjectRef> &objects)
{
    m_objects = objects;
    fill();
}

QString PropertyPanel::display(const ObjectProperty &property, const QVariant &value)
{
    switch (property.type) {
    case ObjectProperty::Number: return QString::number(value.toDouble(), 'g', 10);
    case ObjectProperty::Color: {
        const QColor color = value.value<QColor>();
        return color.isValid() ? color.name() : QString();
    }
    case ObjectProperty::Choice: return property.choices.value(value.toInt());
    case ObjectProperty::Text:
    case ObjectProperty::Bool: return value.toString();
    }
    return {};
}

std::optional<QVariant> PropertyPanel::parse(const ObjectProperty &property, const QString &text)
{
    switch (property.type) {
    case ObjectProperty::Number: {
        bool ok = false;
        const double number = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
        return ok && number >= 0 ? std::optional<QVariant>(number) : std::nullopt;
    }
    case ObjectProperty::Color: {
        // Empty: no colour (transparent fill).
        const QColor color(text.trimmed());
        return text.trimmed().isEmpty() || color.isValid() ? std::optional<QVariant>(QVariant::fromValue(color)) : std::nullopt;
    }
    case ObjectProperty::Text: return QVariant(text);
    case ObjectProperty::Bool:
    case ObjectProperty::Choice: return std::nullopt;
    }
    return std::nullopt;
}

void PropertyPanel::fill()
{
    std::erase_if(m_objects, [this](const ObjectRef &ref) { return !m_document.contains(ref); });
    m_filling = true;
    clearContents();
    const auto &properties = ObjectProperties::all();
    setRowCount(m_objects.empty() ? 0 : int(properties.size()));
    if (!m_objects.empty()) {
        const ReportObject &shown = *m_document.object(m_objects.front());
        for (int row = 0; row < int(properties.size()); ++row) {
            const ObjectProperty &property = properties[row];
            auto *name = new QTableWidgetItem(property.name);
            name->setFlags(Qt::ItemIsEnabled);
            setItem(row, 0, name);
            const QVariant value = property.get(shown);
            auto *edit = new QTableWidgetItem;
            if (property.type == ObjectProperty::Bool) {
                edit->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
                edit->setCheckState(value.toBool() ? Qt::Checked : Qt::Unchecked);
            } else {
                edit->setText(display(property, value));
            }
            setItem(row, 1, edit);
            if (property.type == ObjectProperty::Choice) {
                auto *combo = new QComboBox;
                combo->addItems(property.choices);
                combo->setCurrentIndex(value.toInt());
                connect(combo, &QComboBox::currentIndexChanged, this,
                        [this, &property](int index) { m_document.setProperty(m_objects, property, index); });
                setCellWidget(row, 1, combo);
            }
        }
    }
    m_filling = false;
}

void PropertyPanel::onItemChanged(QTableWidgetItem *item)
{
    if (m_filling || item->column() != 1 || m_objects.empty())
        return;
    const ObjectProperty &property = ObjectProperties::all()[item->row()];
    if (property.type == ObjectProperty::Bool) {
        m_document.setProperty(m_objects, property, item->checkState() == Qt::Checked);
        return;
    }
    if (const std::optional<QVariant> value = parse(property, item->text()))
        m_document.setProperty(m_objects, property, *value);
    else
        QMetaObject::invokeMethod(this, &PropertyPanel::fill, Qt::QueuedConnection); // back to the valid value
}

} // namespace kb::report
