#include "shell/StartScreen.h"

#include "shell/PaintedPictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ov {
namespace {

constexpr int kTileSize = 96;
const char* const kResumeCaption = "继续学习";

QLabel* CentredLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

}  // namespace

StartScreen::StartScreen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StartScreen"));
    setAttribute(Qt::WA_StyledBackground);

    auto* tile = CentredLabel("StartTile", this);
    tile->setPixmap(ProgramTile(kTileSize));
    Heading = CentredLabel("StartHeading", this);
    Guide = CentredLabel("StartGuide", this);
    Guide->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ResumeBox = new QWidget(this);
    ResumeBox->setObjectName(QStringLiteral("ResumeBox"));
    ResumeBox->setAttribute(Qt::WA_StyledBackground);
    ResumeWhere = CentredLabel("ResumeWhere", ResumeBox);
    // Textbook, unit and lesson read as one line.
    ResumeWhere->setWordWrap(false);
    BtnResume = new QPushButton(QString::fromUtf8(kResumeCaption), ResumeBox);
    BtnResume->setObjectName(QStringLiteral("BtnResume"));
    BtnResume->setProperty("shellRole", QStringLiteral("study"));
    BtnResume->setCursor(Qt::PointingHandCursor);
    BtnResume->setMinimumWidth(160);
    connect(BtnResume, &QPushButton::clicked, this, &StartScreen::resumeClicked);
    auto* resume = new QVBoxLayout(ResumeBox);
    resume->setContentsMargins(24, 16, 24, 16);
    resume->setSpacing(12);
    resume->addWidget(ResumeWhere);
    resume->addWidget(BtnResume, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(48, 48, 48, 48);
    layout->setSpacing(16);
    layout->addStretch(1);
    layout->addWidget(tile);
    layout->addWidget(Heading);
    layout->addWidget(Guide);
    layout->addSpacing(16);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ResumeBox);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(2);

    AskForLesson();
}

void StartScreen::AskForLesson(const QStringList& lastLesson) {
    Heading->setText(QStringLiteral("请在左边的课本目录里选一课"));
    Guide->setText(QStringLiteral("先点课本，再点年级和单元，最后点要学的课文。"));
    ResumeBox->setVisible(!lastLesson.isEmpty());
    const QString where = lastLesson.join(QStringLiteral(" · "));
    ResumeWhere->setText(QStringLiteral("上次学到：") + where);
    // A screen reader names the button by its caption and tells where it leads.
    BtnResume->setAccessibleDescription(where);
}

void StartScreen::TellNoCourseware() {
    Heading->setText(QStringLiteral("没有找到课件"));
    Guide->setText(QStringLiteral("请老师在终端运行下面的命令，把课件装进来：<br><br>"
                                  "<code>ovtool install-courseware 课件文件夹</code><br><br>"
                                  "详见右上角“帮助”里的“给老师和家长”。"));
    ResumeBox->hide();
}

}  // namespace ov
