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
    return QStringList{ProductInfo::authorLine(), ProductInfo::companyWebAddress(),
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
    setFixedSize(Twips::Scale::of(*this).size(5730, 3555));

    picIcon->setPixmap(QApplication::windowIcon().pixmap(QSize(32, 32)));
    // The picture has its place in the tab order, as the buttons do.
    picIcon->setFocusPolicy(Qt::TabFocus);

    // OK is both the default and the cancel button: the dialog's own Escape handling
    // closes the box just as a click on OK does.
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { m_sysInfo.StartSysInfo(); });

    setTabOrder(cmdOK, picIcon);
    setTabOrder(picIcon, cmdSysInfo);
    cmdOK->setFocus();

    Form_Load();
    for (QLabel *label : {lblTitle, lblVersion, lblDescription, lblDisclaimer})
        growToFitText(label);
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
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

// The designed sizes suit the font the box was drawn with; a wider desktop font wraps
// the notice onto a fourth line, which must not be cut off at the label's foot.
void FrmAbout::growToFitText(QLabel *label) const
{
    const int neededHeight = std::min(label->heightForWidth(label->width()), height() - label->y());
    if (neededHeight > label->height())
        label->resize(label->width(), neededHeight);
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
