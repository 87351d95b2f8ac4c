#include "ui/dialogs/frmAbout.h"

#include "i18n/ApplyLanguage.h"
#include "ui/dialogs/Pictures.h"
#include "ui/widgets/ClickLabel.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tr640 {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QFrame* MakeLine(QWidget* parent, int index) {
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    SetControlIndex(line, index);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

QUrl frmAbout::ProjectSite() {
    return QUrl(QStringLiteral("https://tr640.example.org/"));
}

frmAbout::frmAbout(QWidget* parent)
    : SettingsDialog(QStringLiteral("frmAbout"), parent),
      opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setWindowTitle(QStringLiteral("Help"));

    auto* logo = MakeLabel(this, "Image2", QString());
    logo->setPixmap(ProjectLogo());
    logo->setFixedSize(71, 70);

    QLabel* title = MakeLabel(this, "lblTitle", QStringLiteral("KESTRA 对讲机编程软件"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title->setFont(big);
    QLabel* edition = MakeLabel(this, "lblVersion", QStringLiteral("简体中文版"));
    QLabel* issue = MakeLabel(this, "Label2", QStringLiteral("发布：2012.2"));
    QLabel* version = MakeLabel(this, "Label3", QStringLiteral("版本号:1.20"));
    MakeLabel(this, "Label1", QString())->setFixedSize(8, 8);

    auto* credit = new ClickLabel(
        QStringLiteral("TR-640 编程软件项目开发 · 自由软件，GPL-3.0 或更高版本"), this);
    credit->setObjectName(QStringLiteral("lblDescription"));
    credit->setCursor(Qt::PointingHandCursor);
    credit->setToolTip(ProjectSite().toString());
    QPalette linkColours = credit->palette();
    linkColours.setColor(QPalette::WindowText, linkColours.color(QPalette::Link));
    credit->setPalette(linkColours);
    QFont underlined = credit->font();
    underlined.setUnderline(true);
    credit->setFont(underlined);
    // Every click opens the site again; nothing is asked.
    connect(credit, &ClickLabel::clicked, this, [this] {
        if (opener_)
            opener_(ProjectSite());
    });

    QPushButton* ok = makeButton("cmdOK", QStringLiteral("确定"));
    ok->setMinimumWidth(90);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(edition);
    texts->addSpacing(6);
    texts->addWidget(issue);
    texts->addWidget(version);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(credit, 1, Qt::AlignVCenter);
    bottom->addSpacing(12);
    bottom->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(MakeLine(this, 0));
    layout->addLayout(bottom);
    layout->addWidget(MakeLine(this, 1));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tr640
