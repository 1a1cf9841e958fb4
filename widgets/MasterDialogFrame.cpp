#include "MasterDialogFrame.h"

#include "CommandGuard.h"
#include "HelpViewer.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kb {

namespace {

constexpr int iconSize = 32;

} // namespace

MasterDialogFrame::MasterDialogFrame(const MasterDialogServices &services, const Frame &frame, QWidget *parent)
    : QDialog(parent), m_services(services), m_helpTopic(frame.helpTopic), m_sideWidth(frame.sideWidth)
{
    setObjectName(frame.objectName);
    setWindowTitle(frame.title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (parent)
        setFont(parent->font());
    setFixedSize(frame.clientSize);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(frame.icon.pixmap(iconSize, iconSize));
    icon->setFixedSize(iconSize, iconSize);
    m_Label1 = new QLabel(frame.heading, this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = m_Label1->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    m_Label1->setFont(headingFont);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(m_Label1, 1);

    auto *rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Bevel1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_Label2 = new QLabel(frame.note, this);
    m_Label2->setObjectName(QStringLiteral("Label2"));
    m_Label2->setWordWrap(true);
    m_Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_Label2->setFixedWidth(m_sideWidth);
    m_topButtons = new QVBoxLayout;
    m_bottomButtons = new QVBoxLayout;
    auto *side = new QVBoxLayout;
    side->addLayout(m_topButtons);
    side->addSpacing(8);
    side->addWidget(m_Label2);
    side->addStretch(1);
    side->addLayout(m_bottomButtons);

    m_middle = new QHBoxLayout;
    m_middle->addLayout(m_body, 1);
    m_middle->addSpacing(8);
    m_middle->addLayout(side);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
    m_layout->addLayout(top);
    m_layout->addWidget(rule);
    m_layout->addLayout(m_middle, 1);
}

QVBoxLayout &MasterDialogFrame::below()
{
    if (!m_below) {
        m_below = new QVBoxLayout;
        m_layout->setStretchFactor(m_middle, 0);
        m_layout->addLayout(m_below, 1);
    }
    return *m_below;
}

void MasterDialogFrame::showHelp()
{
    m_services.help.showTopic(m_helpTopic);
}

QPushButton *MasterDialogFrame::addTopButton(const QString &objectName, const QString &caption,
                                             std::function<void()> handler)
{
    return makeButton(*m_topButtons, objectName, caption, std::move(handler));
}

QPushButton *MasterDialogFrame::addBottomButton(const QString &objectName, const QString &caption,
                                                std::function<void()> handler)
{
    return makeButton(*m_bottomButtons, objectName, caption, std::move(handler));
}

QPushButton *MasterDialogFrame::addHelpButton(const QString &objectName)
{
    return addBottomButton(objectName, QStringLiteral("Hilfe ..."), [this] { showHelp(); });
}

QPushButton *MasterDialogFrame::makeButton(QBoxLayout &layout, const QString &objectName, const QString &caption,
                                           std::function<void()> handler)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setFixedWidth(m_sideWidth);
    button->setAutoDefault(false);
    layout.addWidget(button);
    CommandGuard::connect(button, ui(), std::move(handler));
    return button;
}

} // namespace kb
