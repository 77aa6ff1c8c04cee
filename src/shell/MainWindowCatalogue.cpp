// The catalogue tree in the side panel: its set-up, its deferred load and the
// window's part of a click on it.
#include "shell/CollapsiblePanel.h"
#include "shell/PaintedPictures.h"
#include "shell/OVRzTreeView.h"
#include "shell/MainWindow.h"
#include "store/CatalogueSql.h"
#include "store/LessonData.h"

#include <QLabel>

#include <stdexcept>

namespace ov {
namespace {

QString Text(std::string_view ascii) {
    return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

}  // namespace

void MainWindow::BuildCatalogueTree() {
    Catalogue = new TOVRzTreeView;
    Catalogue->setObjectName(QStringLiteral("Catalogue"));
    Catalogue->mTableName = Text(kCatalogueTable);
    Catalogue->mCodeField = Text(kCatalogueCodeField);
    Catalogue->mNameField = Text(kCatalogueNameField);
    Catalogue->Level = Text(kCatalogueLevels);
    Catalogue->LoadTreeStyle = LoadStyle::OneLevel;
    Catalogue->masterCDS = &dm_.adodsRsList;
    Catalogue->SetImages(CatalogueIcons());
    Catalogue->OnClick = [this] { CatalogueClick(); };
    connect(Catalogue, &TOVRzTreeView::catalogueFailed, this, &MainWindow::ShowCatalogueUnavailable);
    PanelSizeLeft->SetCatalogueTree(Catalogue);
}

void MainWindow::LoadCatalogueTree() {
    try {
        Catalogue->LoadTree();
        Catalogue->collapseAll();
    } catch (const std::runtime_error&) {
        ShowCatalogueUnavailable();
    }
}

// The pupil sees one line instead of the tree; the rest of the window works on.
void MainWindow::ShowCatalogueUnavailable() {
    PanelSizeLeft->CoursewareCaption->setText(QStringLiteral("课件目录无法打开"));
}

void MainWindow::CatalogueClick() {
    if (Catalogue->topLevelItemCount() == 0 || Catalogue->selectedItems().isEmpty()) return;
    // Code is still that of the node expanded before this click: the deeper the
    // pupil has gone, the more room the names get.
    WidenSidePanel(static_cast<int>(Catalogue->Code.size()));
    try {
        // A node with records below it is not a lesson: the tree loads its children.
        if (Catalogue->HasChildRecords()) return;
    } catch (const std::runtime_error&) {
        ShowCatalogueUnavailable();
        return;
    }
    OpenLesson(Catalogue->selectedItems().front());
}

void MainWindow::WidenSidePanel(int codeLength) {
    const int half = width() / 2;
    int quarters = 0;
    switch (codeLength) {
    case 0: quarters = 1; break;
    case 2: quarters = 2; break;
    case 4: quarters = 3; break;
    case 6: quarters = 4; break;
    default: return;
    }
    const int target = half * quarters / 4;
    if (PanelSizeLeft->ExpandedWidth() < target) PanelSizeLeft->SetExpandedWidth(target);
    update();
}

}  // namespace ov
