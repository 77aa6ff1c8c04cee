// The catalogue tree in the side panel: its set-up, its deferred load and the
// window's part of a click on it.
#include "shell/CollapsiblePanel.h"
#include "shell/PaintedPictures.h"
#include "shell/OVRzTreeView.h"
#include "shell/UntClassShow.h"
#include "store/CatalogueSql.h"
#include "store/UntDM.h"

#include <QLabel>

#include <stdexcept>

namespace ov {
namespace {

QString Text(std::string_view ascii) {
    return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

}  // namespace

void TFrmClassShow::BuildCatalogueTree() {
    OVRsListTreeView = new TOVRzTreeView;
    OVRsListTreeView->setObjectName(QStringLiteral("OVRsListTreeView"));
    OVRsListTreeView->mTableName = Text(kCatalogueTable);
    OVRsListTreeView->mCodeField = Text(kCatalogueCodeField);
    OVRsListTreeView->mNameField = Text(kCatalogueNameField);
    OVRsListTreeView->Level = Text(kCatalogueLevels);
    OVRsListTreeView->LoadTreeStyle = LoadStyle::OneLevel;
    OVRsListTreeView->masterCDS = &dm_.adodsRsList;
    OVRsListTreeView->SetImages(CatalogueIcons());
    OVRsListTreeView->OnClick = [this] { OVRsListTreeViewClick(); };
    connect(OVRsListTreeView, &TOVRzTreeView::catalogueFailed, this, &TFrmClassShow::ShowCatalogueUnavailable);
    PanelSizeLeft->SetCatalogueTree(OVRsListTreeView);
}

void TFrmClassShow::LoadCatalogueTree() {
    try {
        OVRsListTreeView->LoadTree();
        OVRsListTreeView->collapseAll();
    } catch (const std::runtime_error&) {
        ShowCatalogueUnavailable();
    }
}

// The pupil sees one line instead of the tree; the rest of the window works on.
void TFrmClassShow::ShowCatalogueUnavailable() {
    PanelSizeLeft->RzLabel6->setText(QStringLiteral("课件目录无法打开"));
}

void TFrmClassShow::OVRsListTreeViewClick() {
    if (OVRsListTreeView->topLevelItemCount() == 0 || OVRsListTreeView->selectedItems().isEmpty()) return;
    // Code is still that of the node expanded before this click: the deeper the
    // pupil has gone, the more room the names get.
    WidenSidePanel(static_cast<int>(OVRsListTreeView->Code.size()));
    try {
        // A node with records below it is not a lesson: the tree loads its children.
        if (OVRsListTreeView->HasChildRecords()) return;
    } catch (const std::runtime_error&) {
        ShowCatalogueUnavailable();
        return;
    }
    OpenLesson(OVRsListTreeView->selectedItems().front());
}

void TFrmClassShow::WidenSidePanel(int codeLength) {
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
