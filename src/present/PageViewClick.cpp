#include "present/PageView.h"

#include "core/MessageHook.h"
#include "lesson/LessonDocument.h"
#include "present/AnswerEdit.h"
#include "present/PictureItem.h"
#include "present/SentenceWord.h"
#include "present/ScriptPlayer.h"
#include "present/SpellingFeedback.h"

#include <QPushButton>

#include <optional>

namespace ov {

void PageView::ItemClick(QWidget* sender) {
    if (!document_) return;
    auto* picture = qobject_cast<TPictureItem*>(sender);
    if (picture && document_->IsChoicePicture(picture->Record().Id)) {
        ClickChoice(picture);
        return;
    }
    TRule rule;
    if (!FindRuleFor(sender, rule)) return;
    if (!rule.Text.empty() && rule.Id >= 0) RunRule(sender, rule);
}

bool PageView::FindRuleFor(QWidget* sender, TRule& rule) {
    if (auto* picture = qobject_cast<TPictureItem*>(sender)) {
        document_->FindRule(rOthers, rImage, picture->Record().Id, rule);
    } else if (auto* edit = qobject_cast<TAnswerEdit*>(sender)) {
        document_->FindRule(ruleKind_, rEdit, edit->Id(), rule);
        edit->SetColor(TAnswerEdit::kClicked);
    } else if (qobject_cast<QPushButton*>(sender)) {
        document_->FindRule(ruleKind_, rButton, sender->property(kIdProperty).toInt(), rule);
    } else if (auto* word = qobject_cast<SentenceWord*>(sender)) {
        // Every word of a sentence leads to the sentence's rule.
        document_->FindRule(rOthers, rLabel, word->Word().SentenceId, rule);
    } else {
        return false;
    }
    return true;
}

void PageView::RunRule(QWidget* sender, const TRule& rule) {
    script_->RunForWord(qobject_cast<SentenceWord*>(sender), rule);
}

void PageView::ClickChoice(TPictureItem* picture) {
    if (!picture->LoadPicture(PicturePath(QStringLiteral("Selected.jpg")))) {
        ShowMessageEx("提示", "未找到资源,编号:Selected.jpg", 0);
        return;
    }
    picture->Record().Selected = true;
    UnselectGroup(picture);
    std::string word;
    document_->GetChoiceWord(picture->Record().Id, word);
    if (!word.empty()) FillGroupEdit(ruleKind_, picture->Record().Group, QString::fromStdString(word));
}

void PageView::UnselectGroup(TPictureItem* picture) {
    const TRImage& chosen = picture->Record();
    for (const TBoxItem& item : pageItems_) {
        auto* other = item.Kind == ikPicture ? static_cast<TPictureItem*>(item.Control) : nullptr;
        if (!other || !other->Record().Selected || other->Record().Id == chosen.Id ||
            other->Record().Group != chosen.Group) {
            continue;
        }
        if (!other->LoadPicture(PicturePath(QStringLiteral("NOSelected.jpg")))) {
            ShowMessageEx("提示", "未找到资源,编号:NOSelected.jpg", 0);
        }
        other->Record().Selected = false;
        return;
    }
}

void PageView::FillGroupEdit(TOVRule kind, int group, const QString& word) {
    std::optional<int> answerId;
    for (const TBoxItem& item : pageItems_) {
        if (item.Kind != ikEdit) continue;
        auto* edit = static_cast<TAnswerEdit*>(item.Control);
        // The answer does not depend on the edit: ask once, and only when the page has edits.
        if (!answerId) answerId = document_->GetGroupEdit(kind, group);
        if (edit->Id() == *answerId) {
            // Reacting to our own writing would click the chosen mark again and
            // unselect a second mark of the group.
            writingChoice_ = true;
            edit->setText(word);
            writingChoice_ = false;
            return;
        }
    }
}

void PageView::EditChange(TAnswerEdit* edit) {
    DropSpellingFeedback(edit);
    if (!document_ || writingChoice_ || edit->text().isEmpty()) return;
    const int group = document_->GetEditGroup(ruleKind_, edit->Id());
    if (group == -1) return;
    const int pictureId = document_->FindKeyPicture(group, edit->text().toStdString());
    if (pictureId < 0) return;
    const QList<TBoxItem> items = pageItems_;
    for (const TBoxItem& item : items) {
        auto* picture = item.Kind == ikPicture ? static_cast<TPictureItem*>(item.Control) : nullptr;
        if (picture && picture->Record().Id == pictureId) ItemClick(picture);
    }
}

// What the count explained about the old text says nothing about the new.
void PageView::DropSpellingFeedback(const TAnswerEdit* edit) {
    for (qsizetype i = overlays_.size() - 1; i >= 0; --i) {
        auto* feedback = qobject_cast<SpellingFeedback*>(overlays_[i].Control);
        if (!feedback || feedback->Edit() != edit) continue;
        delete feedback;
        overlays_.removeAt(i);
    }
}

void PageView::EditExit(TAnswerEdit* edit) { edit->SetColor(TAnswerEdit::kLeft); }

}  // namespace ov
