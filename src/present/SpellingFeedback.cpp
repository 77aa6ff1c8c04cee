#include "present/SpellingFeedback.h"

#include "present/AnswerEdit.h"
#include "present/SpellingDiff.h"

#include <string>

namespace ov {
namespace {

const QString kWrong = QStringLiteral("#ff0000");
const QString kLeftOut = QStringLiteral("#8c8c8c");
// The side panels' blue: the line reads as a note beside the page, not as lesson text.
const QColor kBackground{0xEA, 0xF3, 0xFB};

std::u32string Letters(const QString& text) {
    const QList<uint> codes = text.toUcs4();
    return {codes.begin(), codes.end()};
}

QString Letter(char32_t letter) {
    const QString text = QString::fromUcs4(&letter, 1).toHtmlEscaped();
    // Rich text folds runs of blanks into one; each blank the pupil typed counts.
    return text == QLatin1String(" ") ? QStringLiteral("&nbsp;") : text;
}

QString Coloured(const QString& colour, const QString& text, bool struck = false) {
    return QStringLiteral("<span style=\"color:%1;%2\">%3</span>")
        .arg(colour, struck ? QStringLiteral(" text-decoration:line-through;") : QString(), text);
}

QString MarkedText(const QString& typed, const QString& answer) {
    QString html;
    for (const TMarkedLetter& mark : SpellingDiff(Letters(typed), Letters(answer))) {
        switch (mark.Fit) {
            case LetterFit::Right: html += Letter(mark.Letter); break;
            case LetterFit::Wrong: html += Coloured(kWrong, Letter(mark.Letter)); break;
            case LetterFit::Missing: html += Coloured(kLeftOut, QStringLiteral("_")); break;
            case LetterFit::Extra: html += Coloured(kWrong, Letter(mark.Letter), true); break;
        }
    }
    return html;
}

}  // namespace

SpellingFeedback::SpellingFeedback(QWidget* page, const TAnswerEdit& edit, const QString& answer)
    : QLabel(page), edit_(&edit) {
    setTextFormat(Qt::RichText);
    setText(MarkedText(edit.text(), answer));
    setAccessibleName(QStringLiteral("你的答案 %1，正确答案 %2").arg(edit.text(), answer));
    // Spaced out, so that every letter left out shows as an underscore of its own.
    QFont spaced = edit.font();
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    setFont(spaced);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);
    setMargin(1);
    adjustSize();
    move(edit.x(), edit.y() + edit.height());
}

}  // namespace ov
