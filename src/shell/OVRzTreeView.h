#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QTreeWidget>

#include <functional>
#include <vector>

#include "store/CatalogueLevels.h"
#include "store/SqliteQuery.h"

namespace ov {

// `All` reads the whole table at once; `OneLevel` reads the top level and then
// one level below each node the pupil clicks.
enum class LoadStyle { All, OneLevel };

// A tree that fills itself from one table whose codes encode the hierarchy by
// their length: each level adds `Level`'s next width to its parent's code.
// Each node owns its record's code; its image is the one for its level.
class TOVRzTreeView : public QTreeWidget {
    Q_OBJECT
    Q_PROPERTY(QString mTableName MEMBER mTableName)
    Q_PROPERTY(QString mCodeField MEMBER mCodeField)
    Q_PROPERTY(QString mNameField MEMBER mNameField)
    Q_PROPERTY(QString mLinkField MEMBER mLinkField)
    Q_PROPERTY(QString dTableName MEMBER dTableName)
    Q_PROPERTY(QString dCodeField MEMBER dCodeField)
    Q_PROPERTY(QString Level MEMBER Level)
    Q_PROPERTY(QString Code MEMBER Code)
    Q_PROPERTY(QString CName MEMBER CName)

public:
    explicit TOVRzTreeView(QWidget* parent = nullptr);

    // Fills the tree from masterCDS's connection. Throws ESqliteError when the
    // catalogue cannot be queried (the tree is then left empty) and
    // EConvertError for a `Level` width that is not a number.
    void LoadTree();
    // Whether the table has any record below the selected node.
    bool HasChildRecords();
    void ClearTree();
    // What a click on a node runs: the owner's OnClick first, then the tree's
    // own work. A failure of that work is announced by catalogueFailed.
    void Click();

    // One icon per level, from the top; a level without one shows none.
    void SetImages(QList<QIcon> images) { images_ = std::move(images); }
    static QString NodeCode(const QTreeWidgetItem* node);
    static int ImageIndex(const QTreeWidgetItem* node);

    QString mTableName;
    QString mCodeField;
    QString mNameField;
    // A master field whose value selects the detail records; blank: the node's code.
    QString mLinkField;
    QString dTableName;
    QString dCodeField;
    QString Level;
    LoadStyle LoadTreeStyle = LoadStyle::OneLevel;
    SqliteQuery* masterCDS = nullptr;
    // Re-queried on every click when set.
    SqliteQuery* detailCDS = nullptr;
    // In OneLevel mode the code of the last node whose children a click loaded.
    QString Code;
    QString CName;
    QTreeWidgetItem* PreNode = nullptr;
    QTreeWidgetItem* NewNode = nullptr;
    // The owner's click event. It runs before the tree loads anything, so it
    // sees Code as earlier clicks left it.
    std::function<void()> OnClick;

signals:
    void catalogueFailed(const QString& message);

private:
    CatalogueLayout Layout() const;
    QTreeWidgetItem* AddCodeNode(QTreeWidgetItem* parent, const QString& caption, const QString& code);

    QTreeWidgetItem* Selected() const;
    SqliteQuery& Master() const;
    void ClickWork();
    void LoadLevel();
    void LoadAll();
    void AddNodes(const std::vector<CatalogueNode>& nodes, QTreeWidgetItem* parent);

    QList<QIcon> images_;
};

}  // namespace ov
