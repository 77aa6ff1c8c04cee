#include "shell/CatalogueTree.h"

#include "shell/CatalogueModel.h"

#include <QItemSelectionModel>

namespace ov {

CatalogueTree::CatalogueTree(CatalogueModel* catalogue, QWidget* parent) : QTreeView(parent), catalogue_(catalogue) {
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setModel(catalogue_);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& node) {
        // A ctrl-click takes the selection off the node: it asks for nothing.
        if (selectionModel()->isSelected(node)) Click(node);
    });
}

void CatalogueTree::Click(const QModelIndex& node) {
    if (!node.isValid() || node.model() != catalogue_) return;
    setCurrentIndex(node);
    CatalogueNodeClick click{node.data(CatalogueModel::CodeRole).toString(), node.data(Qt::DisplayRole).toString(),
                             node.data(CatalogueModel::LevelRole).toInt(), false};
    if (catalogue_->rowCount(node) == 0) {
        catalogue_->fetchMore(node);
        // A level that could not be read leaves the node as it was.
        click.opened = !catalogue_->canFetchMore(node);
        if (click.opened) expand(node);
    }
    emit nodeClicked(click);
}

}  // namespace ov
