#pragma once

#include <QString>
#include <QTreeView>

namespace ov {

class CatalogueModel;

// What a click on a catalogue node means, all of it taken from the node.
struct CatalogueNodeClick {
    QString code;
    QString caption;
    // 0 for the top level.
    int level = 0;
    // The node showed nothing below it, so the click opened it: its level
    // below was read (found empty or not) and the node expanded.
    bool opened = false;
};

// The catalogue in the side panel. A click opens a node that shows nothing
// below it yet, then tells the owner what was clicked.
class CatalogueTree : public QTreeView {
    Q_OBJECT

public:
    explicit CatalogueTree(CatalogueModel* catalogue, QWidget* parent = nullptr);

    CatalogueModel& Model() const { return *catalogue_; }

    // A click on `node`, the pupil's or one made on the pupil's behalf: the
    // node becomes the selected one and the click runs. An invalid index does
    // nothing.
    void Click(const QModelIndex& node);

signals:
    void nodeClicked(const ov::CatalogueNodeClick& click);

private:
    CatalogueModel* catalogue_;
};

}  // namespace ov
