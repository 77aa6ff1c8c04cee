#include "study/FunctionConductor.h"

#include "core/Log.h"
#include "lesson/FunctionIndexFile.h"
#include "present/AnswerCheck.h"
#include "present/PagePlayback.h"
#include "present/PageSound.h"
#include "present/ScriptPlayer.h"
#include "present/PageView.h"
#include "present/LessonPanel.h"
#include "present/ReadingCheck.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"
#include "present/SoundDisplay.h"
#include "store/StoredSecrets.h"
#include "store/CipherAndFiles.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace ov {
namespace {

constexpr const char* kIndexFile = "OVFunction.ind";

// Decrypts a page of the function to base + ".ovb" beside it; returns that name.
std::string DecryptPage(const std::string& folder, const std::string& entry) {
    const std::string base = PageBase(entry);
    const std::filesystem::path dir(folder);
    DecryptFile(dir / entry, dir / (base + ".ovb"), DecipherString(kLessonPageKey, ""), 0);
    return base + ".ovb";
}

}  // namespace

TFunctionConductor::TFunctionConductor(LessonPanel& panel, StudyState& state, TConductorHost host)
    : panel_(panel), state_(state), host_(std::move(host)) {
    roleStart_.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the pupil is promised two full seconds.
    roleStart_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&roleStart_, &QTimer::timeout, &roleStart_,
                     [this] { PlayRole(*panel_.Box, rRoleAct, startingRole_); });
}

TFunctionConductor::~TFunctionConductor() = default;

void TFunctionConductor::ClearPageExtras() {
    ClearOverlays(*panel_.Box);
    HideAnswerHints(*panel_.Box);
    panel_.InfoPanel->Sound->ClearDisplay();
    panel_.InfoPanel->Recorder->ClearDisplay();
    panel_.InfoPanel->Reading->Clear();
}

void TFunctionConductor::OpenFunction(const std::string& folder, TOVRule kind) {
    CancelRoleStart();
    ClearPageExtras();
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec) ||
        !std::filesystem::exists(std::filesystem::path(folder) / kIndexFile, ec))
        return;
    PageView& box = *panel_.Box;
    try {
        index_.reset();
        index_ = std::make_unique<FunctionIndexFile>(folder, kIndexFile, false);
        box.SetRuleKind(kind);
        state_.PageList = index_->GetPageList(kind);
        if (!state_.PageList || state_.PageList->empty()) return;
        const std::vector<std::string>& pages = *state_.PageList;
        box.SetActive(false);
        box.SetRuleKind(kind);
        const std::string fileName = DecryptPage(folder, pages.front());
        DeleteStaleLessonFiles(folder, fileName);
        const QString path = QString::fromStdString(folder);
        box.SetFileName(QString::fromStdString(fileName));
        box.SetFilePath(path);
        box.SetImagePath(path);
        box.SetAudioPath(path + QLatin1Char('/'));
        box.SetActive(true);
        panel_.InfoPanel->Sound->ClearDisplay();
        panel_.InfoPanel->Recorder->ClearDisplay();
        if (pages.size() < 2) {
            SetPageButtons(false, false, false);
            panel_.labPage->clear();
        } else {
            SetPageButtons(true, false, true);
            panel_.labPage->setText(PageLabel(1, pages.size()));
        }
        host_.ArrangeOperationButtons(Function().operations);
        if (Shows(TOperationButton::Prior)) {
            host_.EnableOperationButton(TOperationButton::Prior, false);
            host_.EnableOperationButton(TOperationButton::Next, true);
        }
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "study", std::string("function does not open: ") + e.what());
    }
}

bool TFunctionConductor::ListsPages(TOVRule kind) const {
    return !state_.ClassPath.empty() && FunctionIndexFile(state_.ClassPath, kIndexFile, false).ListsPages(kind);
}

void TFunctionConductor::SetPageButtons(bool shown, bool firstPriorEnabled, bool nextLastEnabled) {
    for (QPushButton* button : {panel_.firstBtn, panel_.pirorBtn, panel_.NextBtn, panel_.LastBtn})
        button->setVisible(shown);
    panel_.firstBtn->setEnabled(firstPriorEnabled);
    panel_.pirorBtn->setEnabled(firstPriorEnabled);
    panel_.NextBtn->setEnabled(nextLastEnabled);
    panel_.LastBtn->setEnabled(nextLastEnabled);
}

void TFunctionConductor::ShowPage(TPageButton button) {
    CancelRoleStart();
    ClearPageExtras();
    PageView& box = *panel_.Box;
    if (!box.Active() || !state_.PageList) return;
    const std::vector<std::string>& pages = *state_.PageList;
    const auto target = PageTarget(button, pages, PageEntry(box.FileName().toStdString()));
    if (target) ShowTarget(*target);
}

void TFunctionConductor::ShowPageAt(std::size_t entry) {
    PageView& box = *panel_.Box;
    if (!box.Active() || !state_.PageList || entry >= state_.PageList->size()) return;
    CancelRoleStart();
    ClearPageExtras();
    ShowTarget({entry, entry > 0, entry + 1 < state_.PageList->size()});
}

void TFunctionConductor::ShowTarget(const TPageTarget& target) {
    PageView& box = *panel_.Box;
    const std::vector<std::string>& pages = *state_.PageList;
    box.SetActive(false);
    SetPageButtons(true, target.FirstPriorEnabled, target.NextLastEnabled);
    panel_.labPage->setText(PageLabel(target.Entry + 1, pages.size()));
    try {
        ShowEntry(pages[target.Entry]);
        state_.Reading = RecordState::PageShown;
        // A game page turned by the page buttons shows its game, as the game
        // buttons do, and those buttons then lead on from this page.
        if (Function().items == ItemKind::Game) {
            GotoItem(box, Kind(), false, 0);
            host_.EnableOperationButton(TOperationButton::Prior, target.FirstPriorEnabled);
            host_.EnableOperationButton(TOperationButton::Next, target.NextLastEnabled);
        }
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "study", std::string("page does not open: ") + e.what());
    }
}

int TFunctionConductor::PageNumber() const {
    const PageView& box = *panel_.Box;
    if (!box.Active() || !state_.PageList) return 0;
    const std::vector<std::string>& pages = *state_.PageList;
    const auto found = std::find(pages.begin(), pages.end(), PageEntry(box.FileName().toStdString()));
    return found == pages.end() ? 0 : static_cast<int>(found - pages.begin()) + 1;
}

// The page buttons and the page label follow a page the game buttons turned.
void TFunctionConductor::ShowPagePosition(const std::string& entry) {
    const std::vector<std::string>& pages = *state_.PageList;
    const auto found = std::find(pages.begin(), pages.end(), entry);
    if (pages.size() < 2 || found == pages.end()) return;
    const auto number = static_cast<std::size_t>(found - pages.begin());
    SetPageButtons(true, number > 0, number + 1 < pages.size());
    panel_.labPage->setText(PageLabel(number + 1, pages.size()));
}

// The box keeps its folders; only the page and the function are set again.
void TFunctionConductor::ShowEntry(const std::string& entry) {
    PageView& box = *panel_.Box;
    const std::string fileName = DecryptPage(state_.ClassPath, PageBase(entry) + ".ov");
    box.SetRuleKind(Kind());
    box.SetFileName(QString::fromStdString(fileName));
    box.SetActive(true);
}

void TFunctionConductor::Start() {
    CancelRoleStart();
    PageView& box = *panel_.Box;
    switch (Function().start) {
        case StartAction::PlayScript: PlayRule(box, Kind(), 0); break;
        case StartAction::FirstItem: GotoItem(box, Kind(), true, 0); break;
        case StartAction::ChooseRole: RoleAct(); break;
        case StartAction::PlayFromTheTop:
            box.Script().StopAll();
            PlayRule(box, Kind(), 0);
            break;
        case StartAction::PlayMovies: box.PlayMovies(); break;
        case StartAction::None: break;
    }
}

void TFunctionConductor::Stop() {
    CancelRoleStart();
    PageView& box = *panel_.Box;
    switch (Function().stop) {
        case StopAction::StopScript: box.Script().StopAll(); break;
        case StopAction::CloseSounds: box.Sound().CloseAll(); break;
        case StopAction::StopMovies: box.StopMovies(); break;
        case StopAction::None: break;
    }
}

void TFunctionConductor::StudySing() {
    if (!Shows(TOperationButton::StudySing)) return;
    panel_.Box->Script().StopAll();
    PlayRule(*panel_.Box, Kind(), 1);
}

void TFunctionConductor::Prior() {
    if (Function().items == ItemKind::Game) return TurnGamePage(false);
    if (!Function().stepsItems) return;
    const int code = StepItem(*panel_.Box, Kind(), 1);
    host_.EnableOperationButton(TOperationButton::Prior, code != kStepFirst);
    host_.EnableOperationButton(TOperationButton::Next, true);
}

void TFunctionConductor::Next() {
    if (Function().items == ItemKind::Game) return TurnGamePage(true);
    if (!Function().stepsItems) return;
    const int code = StepItem(*panel_.Box, Kind(), 2);
    host_.EnableOperationButton(TOperationButton::Next, code != kStepLast);
    host_.EnableOperationButton(TOperationButton::Prior, true);
}

std::optional<TPageStatistics> TFunctionConductor::Stat() {
    if (!Function().stepsItems) return std::nullopt;
    return ShowStatistics(*panel_.Box, Kind());
}

void TFunctionConductor::Result() {
    if (Function().stepsItems) ShowAnswers(*panel_.Box);
}

bool TFunctionConductor::Running() const {
    PageView& box = *panel_.Box;
    if (Function().stop == StopAction::StopMovies) return box.MoviesPlaying();
    return roleStart_.isActive() || box.Script().Running() || box.Sound().LessonPlaying();
}

bool TFunctionConductor::Shows(TOperationButton button) const {
    const std::vector<TOperationButton>& shown = Function().operations;
    return std::find(shown.begin(), shown.end(), button) != shown.end();
}

void TFunctionConductor::RoleAct() {
    PageView& box = *panel_.Box;
    QStringList roles;
    for (const std::string& role : GetRoles(box)) roles << QString::fromStdString(role);
    const QString chosen = host_.ChooseRole(roles);
    if (chosen.isEmpty()) return;
    box.Script().StopAll();
    if (chosen == roles.front()) {
        // The pupil who speaks first gets two seconds to get ready.
        startingRole_ = chosen.toStdString();
        roleStart_.start(2 * kRoleDelayMs);
        return;
    }
    PlayRole(box, rRoleAct, chosen.toStdString());
}

void TFunctionConductor::CancelRoleStart() { roleStart_.stop(); }

// Both directions look the neighbour up by the page's index entry: the
// decrypted name is never in the index.
void TFunctionConductor::TurnGamePage(bool next) {
    PageView& box = *panel_.Box;
    box.StopMovies();
    if (index_ && state_.PageList && !state_.PageList->empty()) {
        const std::vector<std::string>& pages = *state_.PageList;
        std::string entry;
        index_->GetNeighbourPage(rGames, PageEntry(box.FileName().toStdString()), entry,
                                 next ? nbNext : nbPrevious);
        if (!entry.empty()) {
            box.SetActive(false);
            const bool atEnd = next ? entry == pages.back() : entry == pages.front();
            host_.EnableOperationButton(next ? TOperationButton::Next : TOperationButton::Prior, !atEnd);
            host_.EnableOperationButton(next ? TOperationButton::Prior : TOperationButton::Next, true);
            ShowPagePosition(entry);
            try {
                ShowEntry(entry);
                GotoItem(box, rGames, false, 0);
            } catch (const std::exception& e) {
                Log(LogLevel::Warning, "study", std::string("game page does not open: ") + e.what());
            }
        }
    }
    box.SetRuleKind(Kind());
}

}  // namespace ov
