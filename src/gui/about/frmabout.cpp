#include "frmabout.h"

#include "core/sheet/twips.h"
#include "report/productinfo.h"
#include "version.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {
// The design's client area, and the space it leaves between controls, in twips.
constexpr int DesignWidth = 5730;
constexpr int DesignHeight = 3555;
constexpr int Gap = 60;

QString lineEnd()
{
    return QStringLiteral("\r\n");
}

QString descriptionText()
{
    return QStringList{QStringLiteral("Cost Estimate"), ProductInfo::webAddress(), ProductInfo::contactEmail()}.join(
               lineEnd())
        + lineEnd();
}

QString noticeText()
{
    return QStringList{ProductInfo::authorLine(), ProductInfo::webAddress(),
                       QStringLiteral("Please report any bugs to ") + ProductInfo::bugReportEmail()}
        .join(lineEnd());
}

}

FrmAbout::FrmAbout(MessageBoxes &messages, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_sysInfo(messages)
    , picIcon(addLabel(QStringLiteral("picIcon"), {240, 240, 540, 540}))
    , lblTitle(addLabel(QStringLiteral("lblTitle"), {1050, 240, 3885, 480}))
    , lblVersion(addLabel(QStringLiteral("lblVersion"), {1050, 780, 3885, 225}))
    , lblDescription(addLabel(QStringLiteral("lblDescription"), {1050, 1125, 3885, 1170}))
    , Line1{addRuleLine(QStringLiteral("Line1_0"), QColor(0xff, 0xff, 0xff), 105, 2460, 5654, 2),
            addRuleLine(QStringLiteral("Line1_1"), QColor(0x80, 0x80, 0x80), 90, 2445, 5654, 1)}
    , lblDisclaimer(addLabel(QStringLiteral("lblDisclaimer"), {255, 2625, 3870, 825}))
    , cmdOK(addButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), {4245, 2625, 1260, 345}))
    , cmdSysInfo(addButton(QStringLiteral("cmdSysInfo"), QStringLiteral("&System Info..."), {4260, 3075, 1245, 345}))
{
    setObjectName(QStringLiteral("frmAbout"));

    picIcon->setPixmap(QApplication::windowIcon().pixmap(QSize(32, 32)));
    // The picture has its place in the tab order, as the buttons do, and so a name to be
    // announced by.
    picIcon->setFocusPolicy(Qt::TabFocus);
    picIcon->setAccessibleName(QStringLiteral("Cost Estimate program icon"));
    picIcon->setAccessibleDescription(QStringLiteral("A zig-zag line chart on a purple square"));

    // OK is both the default and the cancel button: the dialog's own Escape handling
    // closes the box just as a click on OK does.
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { m_sysInfo.StartSysInfo(); });

    setTabOrder(cmdOK, picIcon);
    setTabOrder(picIcon, cmdSysInfo);
    cmdOK->setFocus();

    Form_Load();
    fitToText();
}

void FrmAbout::showModal(QWidget *owner, MessageBoxes &messages)
{
    FrmAbout box(messages, owner);
    box.exec();
}

void FrmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + ProductInfo::applicationTitle());
    lblVersion->setText(
        QStringLiteral("Version %1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision));
    lblTitle->setText(ProductInfo::applicationTitle());
    lblDescription->setText(descriptionText());
    lblDisclaimer->setText(noticeText());
    // A screen reader passes over labels this short in a dialog: the box says them itself.
    setAccessibleDescription(QStringList{lblTitle->text(), lblVersion->text(), lblDescription->text()}.join(u". "));
}

QLabel *FrmAbout::addLabel(const QString &name, const QRect &twips)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(Twips::Scale::of(*this).rect(twips));
    // Plain text, so that an address is never taken for markup; QLabel breaks plain
    // text at CR LF as at a bare line feed.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

// The designed sizes suit the font the box was drawn with; at a desktop's larger font the
// captions need more room. The design is the least each control and the box get: a label
// grows to its longest line and its last one, the controls below it move down, the buttons
// grow to their captions and move right of the notice, and the box grows around them all.
void FrmAbout::fitToText()
{
    const Twips::Scale scale = Twips::Scale::of(*this);
    const int gap = scale.y(Gap);
    int bottom = lblTitle->y() - gap;
    for (QLabel *label : {lblTitle, lblVersion, lblDescription}) {
        growToFitText(label);
        label->move(label->x(), std::max(label->y(), bottom + gap));
        bottom = label->geometry().bottom();
    }
    const int down = std::max(0, bottom - scale.y(1125 + 1170));
    growToFitText(lblDisclaimer);
    for (QWidget *below :
         {static_cast<QWidget *>(Line1[0]), static_cast<QWidget *>(Line1[1]), static_cast<QWidget *>(lblDisclaimer)})
        below->move(below->x(), below->y() + down);
    const int buttonsLeft = std::max(cmdOK->x(), lblDisclaimer->geometry().right() + 1 + scale.x(Gap));
    int buttonTop = lblDisclaimer->y();
    for (QPushButton *button : {cmdOK, cmdSysInfo}) {
        const QSize hint = button->sizeHint();
        button->setGeometry(buttonsLeft, std::max(button->y() + down, buttonTop),
                            std::max(button->width(), hint.width()), std::max(button->height(), hint.height()));
        buttonTop = button->geometry().bottom() + 1 + scale.y(Gap);
    }
    int right = 0;
    int foot = 0;
    for (const QWidget *control :
         {static_cast<QWidget *>(lblTitle), static_cast<QWidget *>(lblVersion), static_cast<QWidget *>(lblDescription),
          static_cast<QWidget *>(lblDisclaimer), static_cast<QWidget *>(cmdOK), static_cast<QWidget *>(cmdSysInfo)}) {
        right = std::max(right, control->geometry().right() + 1);
        foot = std::max(foot, control->geometry().bottom() + 1);
    }
    const QSize size(std::max(scale.x(DesignWidth), right + scale.x(DesignWidth - 5505)),
                     std::max(scale.y(DesignHeight), foot + scale.y(DesignHeight - 3420)));
    for (QFrame *line : Line1)
        line->resize(size.width() - line->x() - scale.x(DesignWidth - 5654), line->height());
    setFixedSize(size);
}

// Wide enough for its longest line, and high enough for all its lines at that width.
void FrmAbout::growToFitText(QLabel *label) const
{
    int widest = 0;
    for (const QString &line : label->text().split(u'\n'))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line.trimmed()));
    const int width = std::max(label->width(), widest + 2 * label->frameWidth() + 2);
    label->resize(width, std::max(label->height(), label->heightForWidth(width)));
}

QPushButton *FrmAbout::addButton(const QString &name, const QString &caption, const QRect &twips)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(Twips::Scale::of(*this).rect(twips));
    return button;
}

QFrame *FrmAbout::addRuleLine(const QString &name, const QColor &colour, int left, int top, int right,
                              int thicknessPixels)
{
    auto *line = new QFrame(this);
    line->setObjectName(name);
    // The thickness is in pixels at any resolution, as a drawn line's width is.
    const Twips::Scale scale = Twips::Scale::of(*this);
    line->setGeometry(scale.x(left), scale.y(top), scale.x(right) - scale.x(left), thicknessPixels);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}
