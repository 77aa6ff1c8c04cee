// The catalogue tree in the side panel: its set-up, its deferred load and the
// window's part of a click on it.
#include "shell/CatalogueModel.h"
#include "shell/CatalogueTree.h"
#include "shell/CollapsiblePanel.h"
#include "shell/PaintedPictures.h"
#include "shell/MainWindow.h"
#include "store/LessonData.h"

#include <QLabel>

#include <stdexcept>

namespace ov {

void MainWindow::BuildCatalogueTree() {
    auto* catalogue = new CatalogueModel(&dm_.adodsRsList, MainCatalogueLayout(), CatalogueIcons(), this);
    Catalogue = new CatalogueTree(catalogue);
    connect(catalogue, &CatalogueModel::catalogueFailed, this, &MainWindow::ShowCatalogueUnavailable);
    connect(Catalogue, &CatalogueTree::nodeClicked, this, &MainWindow::CatalogueClick);
    PanelSizeLeft->SetCatalogueTree(Catalogue);
}

void MainWindow::LoadCatalogueTree() {
    try {
        Catalogue->Model().Load();
        Catalogue->collapseAll();
    } catch (const std::runtime_error&) {
        ShowCatalogueUnavailable();
    }
}

// The pupil sees one line instead of the tree; the rest of the window works on.
void MainWindow::ShowCatalogueUnavailable() {
    PanelSizeLeft->CoursewareCaption->setText(QStringLiteral("课件目录无法打开"));
}

void MainWindow::CatalogueClick(const CatalogueNodeClick& click) {
    // The names get room by how deep the pupil had gone before this click:
    // the level of the node opened last, not of this one.
    WidenSidePanel(openedLevel_);
    if (click.opened) openedLevel_ = click.level;
    try {
        // A node with records below it is not a lesson: the tree has opened it.
        if (Catalogue->Model().HasRecordsBelow(click.code)) return;
    } catch (const std::runtime_error&) {
        ShowCatalogueUnavailable();
        return;
    }
    OpenLesson(click);
}

void MainWindow::WidenSidePanel(std::optional<int> openedLevel) {
    // A quarter of half the window before anything is opened, a quarter more
    // for each level, up to half the window.
    const int quarters = openedLevel ? *openedLevel + 2 : 1;
    if (quarters > 4) return;
    const int target = width() / 2 * quarters / 4;
    if (PanelSizeLeft->ExpandedWidth() < target) PanelSizeLeft->SetExpandedWidth(target);
    update();
}

}  // namespace ov
