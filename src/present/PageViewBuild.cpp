#include "present/PageView.h"

#include "core/CoursewarePath.h"
#include "core/Log.h"
#include "core/MessageHook.h"
#include "lesson/LessonDocument.h"
#include "lesson/PageLimits.h"
#include "present/AnswerEdit.h"
#include "present/VideoPanel.h"
#include "present/MovieControl.h"
#include "present/PageFont.h"
#include "present/PagePlace.h"
#include "present/PictureItem.h"
#include "present/RectShape.h"
#include "present/SentenceWord.h"
#include "present/ToolkitColor.h"

#include <QPushButton>

#include <algorithm>
#include <new>
#include <string>
#include <variant>

namespace ov {

namespace {

bool LiesBehind(TItemKind kind) { return kind == ikPicture || kind == ikFrame; }

}  // namespace

bool PageView::BuildPage() {
    const std::vector<TPageItem> items = document_->GetPageItems();
    // One widget per element on this thread: a page of 100,000 words would
    // hold the window for half a minute and take most of the memory.
    if (items.size() > page::kMaxElements) {
        Log(LogLevel::Warning, "present",
            "page " + (filePath_ + "/" + fileName_).toStdString() + " not built: " + std::to_string(items.size()) +
                " elements, more than " + std::to_string(page::kMaxElements));
        ShowResourceMissing();
        return false;
    }
    const bool clickable = document_->HasRules();
    for (const TPageItem& item : items) {
        if (LiesBehind(item.Kind)) AddItem(item, clickable);
    }
    for (const TPageItem& item : items) {
        if (!LiesBehind(item.Kind)) AddItem(item, clickable);
    }
    ChainEditsInReadingOrder();
    FitPage();
    return true;
}

void PageView::AddItem(const TPageItem& item, bool clickable) {
    if (item.Data.index() != item.Kind) return;
    switch (item.Kind) {
    case ikPicture: AddPicture(std::get<TXMLImage>(item.Data)); break;
    case ikWord: AddWordOrTell(std::get<TXMLSentence>(item.Data), clickable); break;
    case ikVideo: AddVideo(std::get<TXMLVideo>(item.Data)); break;
    case ikButton: AddButton(std::get<TXMLButton>(item.Data)); break;
    case ikEdit: AddEdit(std::get<TXMLEdit>(item.Data)); break;
    case ikFrame: AddFrame(std::get<TXMLFrame>(item.Data)); break;
    case ikMovie: AddMovie(std::get<TXMLFlash>(item.Data)); break;
    }
}

void PageView::Append(TItemKind kind, QWidget* control) {
    pageItems_.append(TBoxItem{kind, control});
    control->show();
}

void PageView::AddPicture(const TXMLImage& record) {
    // Invisible pictures are result marks, which checking shows later.
    if (!record.Image.Visible) return;
    TRImage image = record.Image;
    image.Selected = false;
    auto* picture = new TPictureItem(page_, image);
    picture->setGeometry(PageRect(record.Left, record.Top, record.Width, record.Height));
    const QString name = QString::fromStdString(image.Name);
    if (!picture->LoadPicture(PicturePath(name))) ShowMessageEx("提示", "未找到资源，编号 : " + image.Name, 0);
    connect(picture, &TPictureItem::clicked, this, [this, picture] { ItemClick(picture); });
    if (image.RuleId != -1) picture->setCursor(Qt::PointingHandCursor);
    Append(ikPicture, picture);
}

void PageView::AddWordOrTell(const TXMLSentence& record, bool clickable) {
    try {
        AddWord(record, clickable);
    } catch (const std::bad_alloc&) {
        ShowMessageEx("提示", "未找到资源文件", 0);
    }
}

void PageView::AddWord(const TXMLSentence& record, bool clickable) {
    auto* word = new SentenceWord(page_, record.Sentence);
    word->setFont(PageFont(record.Font, font()));
    word->SetTextColor(ToQColor(record.Font.Color));
    word->FitToText();
    word->move(PagePoint(record.Left, record.Top));
    if (record.Sentence.CanMove) {
        connect(word, &SentenceWord::pressed, this, [this, word] { WordMouseDown(word); });
        connect(word, &SentenceWord::dragged, this, [this, word](QPoint at) { WordMouseMove(word, at.x()); });
        connect(word, &SentenceWord::released, this, [this, word] { WordMouseUp(word); });
    } else {
        connect(word, &SentenceWord::clicked, this, [this, word] { ItemClick(word); });
        if (!record.Sentence.Audio.empty() && clickable) word->setCursor(Qt::PointingHandCursor);
    }
    Append(ikWord, word);
}

void PageView::AddVideo(const TXMLVideo& record) {
    auto* video = new VideoPanel(page_);
    video->SetFileName(QString::fromStdString(record.Movie));
    const QRect place = PageRect(record.Left, record.Top, record.Width, record.Height);
    video->Layout(place.top(), place.left(), place.width(), place.height());
    Append(ikVideo, video);
    video->PlayFile(AudioFile(video->FileName()));
}

void PageView::AddButton(const TXMLButton& record) {
    auto* button = new QPushButton(QString::fromStdString(record.Caption), page_);
    button->setGeometry(PageRect(record.Left, record.Top, record.Width, record.Height));
    button->setProperty(kIdProperty, record.Id);
    connect(button, &QPushButton::clicked, this, [this, button] { ItemClick(button); });
    Append(ikButton, button);
}

void PageView::AddEdit(const TXMLEdit& record) {
    const auto place = 1 + std::count_if(pageItems_.begin(), pageItems_.end(),
                                         [](const TBoxItem& item) { return item.Kind == ikEdit; });
    auto* edit = new TAnswerEdit(page_, record.Id);
    edit->move(PagePoint(record.Left, record.Top));
    edit->resize(page::Coordinate(record.Width), edit->sizeHint().height());
    edit->setText(QString::fromStdString(record.Caption));
    edit->setAccessibleName(QStringLiteral("答案 %1").arg(place));
    connect(edit, &TAnswerEdit::clicked, this, [this, edit] { ItemClick(edit); });
    connect(edit, &TAnswerEdit::exited, this, [this, edit] { EditExit(edit); });
    connect(edit, &TAnswerEdit::textChanged, this, [this, edit] { EditChange(edit); });
    Append(ikEdit, edit);
}

// Tab takes the pupil from the page into its answers as they are read, row by
// row from the top, whatever order the page's author made them in; after the
// last answer it goes on to whatever follows the page.
void PageView::ChainEditsInReadingOrder() {
    QList<QWidget*> edits;
    for (const TBoxItem& item : pageItems_)
        if (item.Kind == ikEdit) edits.append(item.Control);
    std::stable_sort(edits.begin(), edits.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    // Each goes straight after the box, ahead of those placed before it, so
    // they are placed from the last answer back to the first. Chaining one
    // answer after another instead goes wrong where the box is a window itself.
    for (auto edit = edits.crbegin(); edit != edits.crend(); ++edit) setTabOrder(this, *edit);
}

void PageView::AddFrame(const TXMLFrame& record) {
    auto* frame = new TRectShape(page_, Qt::black);
    frame->setGeometry(PageRect(record.Left, record.Top, record.Width, record.Height));
    frame->setProperty(kIdProperty, record.Id);
    Append(ikFrame, frame);
}

void PageView::AddMovie(const TXMLFlash& record) {
    TMovieControl* movie = CreateMovieControl(page_, QString::fromStdString(record.Movie));
    QWidget* control = movie->Widget();
    control->setGeometry(PageRect(record.Left, record.Top, record.Width, record.Height));
    control->setProperty(kIdProperty, record.Id);
    movie->SetMovie(AudioFile(QString::fromStdString(record.Movie)));
    Append(ikMovie, control);
}

void PageView::FitPage() {
    QRect extent;
    for (const TBoxItem& item : pageItems_) extent |= item.Control->geometry();
    for (const TBoxItem& item : overlays_) extent |= item.Control->geometry();
    page_->resize(std::max(0, extent.right() + 1), std::max(0, extent.bottom() + 1));
    dragLabel_->raise();
}

QString PageView::PicturePath(const QString& name) const {
    return QString::fromStdString(
        ResolveCoursewarePath(imagePath_.toStdString(), name.toStdString()).string());
}

QString PageView::AudioFile(const QString& name) const {
    return QString::fromStdString(ResolveCoursewarePath(audioPath_.toStdString(), name.toStdString()).string());
}

}  // namespace ov
