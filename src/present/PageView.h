#pragma once

#include "lesson/LessonRecords.h"

#include <QList>
#include <QScrollArea>
#include <QString>

#include <memory>

class QLabel;

namespace ov {

class PageSound;
class ScriptPlayer;
class TAnswerEdit;
class TMovieControl;
class LessonDocument;
class SoundInfoPanel;
class TPictureItem;
class TRectShape;
class SentenceWord;

// One control of the page and the kind of element it shows.
struct TBoxItem {
    TItemKind Kind = ikPicture;
    QWidget* Control = nullptr;
};

// The content box: one lesson page laid out at the document's positions on a
// scrolling surface, and the pupil's clicks, typing and word dragging on it.
// Positions are device-independent pixels at scale 1: a page made for a small
// screen keeps its layout on a large one and the box scrolls when it must.
class PageView : public QScrollArea {
    Q_OBJECT

public:
    explicit PageView(QWidget* parent);
    ~PageView() override;
    PageView(const PageView&) = delete;
    PageView& operator=(const PageView&) = delete;

    // True while a lesson document is open and its page shown. Turning it on
    // without an existing lesson file tells the pupil and leaves it off.
    bool Active() const { return active_; }
    void SetActive(bool value);

    // The lesson document is FilePath/FileName; pictures are ImagePath/Name;
    // sounds and movies are AudioPath + name (AudioPath ends with a separator).
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& value) { fileName_ = value; }
    const QString& FilePath() const { return filePath_; }
    void SetFilePath(const QString& value) { filePath_ = value; }
    const QString& ImagePath() const { return imagePath_; }
    void SetImagePath(const QString& value) { imagePath_ = value; }
    const QString& AudioPath() const { return audioPath_; }
    void SetAudioPath(const QString& value) { audioPath_ = value; }

    // The study function the page is shown for.
    TOVRule RuleKind() const { return ruleKind_; }
    void SetRuleKind(TOVRule value) { ruleKind_ = value; }

    // Full path of the scene sound, empty for none; its volume 0 to 1000.
    const QString& NoiseName() const { return noiseName_; }
    void SetNoiseName(const QString& value) { noiseName_ = value; }
    int NoiseValue() const { return noiseValue_; }
    void SetNoiseValue(int value) { noiseValue_ = value; }

    // The lesson panel's info panel, whose original-sound display plays
    // lesson sound at normal speed. Not owned.
    SoundInfoPanel* InfoPanel() const { return infoPanel_; }
    void SetInfoPanel(SoundInfoPanel* value) { infoPanel_ = value; }
    // The lesson panel's speech speed, percent of normal.
    int SpeechSpeed() const { return speechSpeed_; }
    void SetSpeechSpeed(int value) { speechSpeed_ = value; }

    // The page's lesson and scene sounds, and the script player that reads
    // the page's sentences aloud.
    PageSound& Sound() { return *sound_; }
    ScriptPlayer& Script() { return *script_; }

    // Frees every page item, every overlay and the play list.
    void ClearItems();
    // Starts every movie that is not playing; stops every one that is.
    void PlayMovies();
    void StopMovies();
    bool MoviesPlaying() const;

    // The page's controls in creation order.
    const QList<TBoxItem>& PageItems() const { return pageItems_; }
    // Result marks and answer labels added by checking and answers.
    QList<TBoxItem>& Overlays() { return overlays_; }
    // The open lesson document, null while inactive.
    LessonDocument* Document() const { return document_.get(); }
    // The surface the page's controls stand on; their positions are in its
    // coordinates (the box's client coordinates).
    QWidget* Page() const { return page_; }

    // Id of the current test item, -1 for none.
    int CurrentItem() const { return currentItem_; }
    void SetCurrentItem(int value) { currentItem_ = value; }

    // Handlers of the page's controls. `ItemClick` acts on a picture, word,
    // button or answer edit; a click from code acts exactly like the pupil's.
    void ItemClick(QWidget* sender);
    void EditChange(TAnswerEdit* edit);
    void EditExit(TAnswerEdit* edit);
    // Word dragging; x is in the box's client coordinates.
    void WordMouseDown(SentenceWord* word);
    void WordMouseMove(SentenceWord* word, int x);
    void WordMouseUp(SentenceWord* word);

    // The drop point shown while a word is dragged, and the word beside the pointer.
    TRectShape* DropCaret() const { return dropCaret_; }
    QLabel* DragLabel() const { return dragLabel_; }
    bool Dragging() const { return dragging_; }
    int InsertionLeft() const { return insertionLeft_; }

    // A page's picture or sound file, found whatever the case of its name.
    QString PicturePath(const QString& name) const;
    QString AudioFile(const QString& name) const;
    // A movie item as the page build adds one (a game is shown this way).
    void AddMovie(const TXMLFlash& record);
    // Sizes the page to its items and overlays, so the box shows and scrolls over all of them.
    void FitPage();

protected:
    void wheelEvent(QWheelEvent* event) override;
    // Swallows right-button presses anywhere in the program while the box exists.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<TMovieControl*> Movies() const;
    void Activate();
    void Deactivate();
    // False when the page is refused whole (the pupil has been told).
    bool BuildPage();
    void AddItem(const TPageItem& item, bool clickable);
    void AddPicture(const TXMLImage& record);
    void AddWordOrTell(const TXMLSentence& record, bool clickable);
    void AddWord(const TXMLSentence& record, bool clickable);
    void AddVideo(const TXMLVideo& record);
    void AddButton(const TXMLButton& record);
    void AddEdit(const TXMLEdit& record);
    void AddFrame(const TXMLFrame& record);
    void Append(TItemKind kind, QWidget* control);
    void FreeItem(const TBoxItem& item);

    void ClickChoice(TPictureItem* picture);
    void UnselectGroup(TPictureItem* picture);
    void FillGroupEdit(TOVRule kind, int group, const QString& word);
    void DropSpellingFeedback(const TAnswerEdit* edit);
    void ChainEditsInReadingOrder();
    bool FindRuleFor(QWidget* sender, TRule& rule);
    void RunRule(QWidget* sender, const TRule& rule);

    QList<SentenceWord*> SentenceWordsByLeft(int sentenceId) const;

    // Buttons, frames and movies carry their element's Id in this property.
    static constexpr const char* kIdProperty = "Id";


    QWidget* page_;
    TRectShape* dropCaret_;
    QLabel* dragLabel_;
    QList<TBoxItem> pageItems_;
    QList<TBoxItem> overlays_;
    std::unique_ptr<LessonDocument> document_;
    SoundInfoPanel* infoPanel_ = nullptr;
    int speechSpeed_;
    std::unique_ptr<PageSound> sound_;
    std::unique_ptr<ScriptPlayer> script_;

    bool active_ = false;
    QString fileName_;
    QString filePath_;
    QString imagePath_;
    QString audioPath_;
    TOVRule ruleKind_ = rOthers;
    QString noiseName_;
    int noiseValue_ = 500;
    int currentItem_ = -1;
    bool dragging_ = false;
    int insertionLeft_ = 0;
    // The box is writing a choice's word into its edit: the pupil did not type it.
    bool writingChoice_ = false;
};

}  // namespace ov
