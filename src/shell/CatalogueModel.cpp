#include "shell/CatalogueModel.h"

#include <exception>
#include <stdexcept>

#include "store/CatalogueSql.h"
#include "store/SqliteDatabase.h"

namespace ov {

struct CatalogueModel::Node {
    QString code;
    QString caption;
    Node* parent = nullptr;
    int row = 0;
    int level = -1;
    // Whether the level below has been read, found empty or not.
    bool read = false;
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

CatalogueModel::CatalogueModel(SqliteQuery* master, CatalogueLayout layout, QList<QIcon> levelIcons, QObject* parent)
    : QAbstractItemModel(parent),
      master_(master),
      layout_(std::move(layout)),
      levelIcons_(std::move(levelIcons)),
      root_(std::make_unique<Node>()) {}

CatalogueModel::~CatalogueModel() = default;

SqliteQuery& CatalogueModel::Master() const {
    if (!master_) throw ESqliteError("The catalogue has no master data set");
    return *master_;
}

CatalogueModel::Node* CatalogueModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

void CatalogueModel::Append(Node& parent, const std::vector<CatalogueNode>& records) {
    for (const auto& record : records) {
        auto node = std::make_unique<Node>();
        node->code = Text(record.code);
        node->caption = Text(record.name);
        node->parent = &parent;
        node->row = static_cast<int>(parent.children.size());
        node->level = parent.level + 1;
        parent.children.push_back(std::move(node));
    }
}

void CatalogueModel::Load() {
    SqliteQuery& master = Master();
    master.Close();
    std::vector<CatalogueNode> top;
    std::exception_ptr failure;
    try {
        OpenLevel(master, layout_, "");
        top = ReadNodes(master, layout_);
    } catch (...) {
        failure = std::current_exception();
    }
    beginResetModel();
    root_->children.clear();
    Append(*root_, top);
    endResetModel();
    if (failure) std::rethrow_exception(failure);
}

bool CatalogueModel::HasRecordsBelow(const QString& code) const {
    SqliteQuery probe(Master().Connection());
    probe.SetSql(ChildTestSql(layout_.table, layout_.codeField, code.toStdString()));
    probe.Open();
    return probe.RecordCount() > 0;
}

QModelIndex CatalogueModel::Find(const QString& code) const {
    const QModelIndexList found = match(index(0, 0), CodeRole, code, 1, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QModelIndex() : found.front();
}

QModelIndex CatalogueModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || parent.column() > 0) return {};
    const Node* node = NodeOf(parent);
    if (row < 0 || row >= static_cast<int>(node->children.size())) return {};
    return createIndex(row, column, node->children[static_cast<size_t>(row)].get());
}

QModelIndex CatalogueModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    Node* up = NodeOf(child)->parent;
    if (up == root_.get()) return {};
    return createIndex(up->row, 0, up);
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(NodeOf(parent)->children.size());
}

int CatalogueModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Node* node = NodeOf(index);
    switch (role) {
    case Qt::DisplayRole: return node->caption;
    case Qt::DecorationRole:
        if (node->level < levelIcons_.size()) return levelIcons_[node->level];
        return {};
    case CodeRole: return node->code;
    case LevelRole: return node->level;
    default: return {};
    }
}

Qt::ItemFlags CatalogueModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool CatalogueModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

bool CatalogueModel::canFetchMore(const QModelIndex& parent) const { return parent.isValid() && !NodeOf(parent)->read; }

void CatalogueModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    Node* node = NodeOf(parent);
    std::vector<CatalogueNode> below;
    try {
        below = ReadChildren(Master().Connection(), layout_, node->code.toStdString());
    } catch (const std::runtime_error& e) {
        emit catalogueFailed(Text(e.what()));
        return;
    }
    node->read = true;
    if (below.empty()) return;
    beginInsertRows(parent, 0, static_cast<int>(below.size()) - 1);
    Append(*node, below);
    endInsertRows();
}

}  // namespace ov
