#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

#include "store/CatalogueLevels.h"
#include "store/SqliteQuery.h"

namespace ov {

// The catalogue table as a tree of nodes (textbooks, grades, units, lessons).
// A record's place in the tree is its code: each level adds its width to the
// parent's code. Only the top level is read by Load; the level below a node
// is read when the node is opened (fetchMore), so a catalogue of thousands of
// lessons shows at once.
class CatalogueModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role {
        CodeRole = Qt::UserRole,
        // 0 for the top level; it also picks the node's icon.
        LevelRole,
    };

    // The top level is read through `master`; the levels below and the test
    // for records below a node use its connection. `levelIcons` holds one icon
    // per level from the top; a level beyond them shows none.
    CatalogueModel(SqliteQuery* master, CatalogueLayout layout, QList<QIcon> levelIcons, QObject* parent = nullptr);
    ~CatalogueModel() override;

    // Forgets every node and reads the top level. Throws ESqliteError when the
    // catalogue cannot be queried (nothing is shown then) and EConvertError
    // for a level width that is not a number.
    void Load();
    // Whether the table has a record anywhere below `code`, even with a level
    // left out between. Throws ESqliteError when the catalogue cannot be
    // queried.
    bool HasRecordsBelow(const QString& code) const;
    // The node with `code` among the nodes read so far; invalid when there is none.
    QModelIndex Find(const QString& code) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A node has children only once its level below is read and not empty:
    // an unread node shows no expander, as it has always looked, and the view
    // never reads a level on its own.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    // Reads the level below a node. A failure is announced by catalogueFailed
    // and leaves the node unread, so that opening it again tries again.
    void fetchMore(const QModelIndex& parent) override;

signals:
    void catalogueFailed(const QString& message);

private:
    struct Node;

    SqliteQuery& Master() const;
    Node* NodeOf(const QModelIndex& index) const;
    static void Append(Node& parent, const std::vector<CatalogueNode>& records);

    SqliteQuery* master_;
    CatalogueLayout layout_;
    QList<QIcon> levelIcons_;
    std::unique_ptr<Node> root_;
};

}  // namespace ov
