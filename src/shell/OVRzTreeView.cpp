#include "shell/OVRzTreeView.h"

#include "store/CatalogueSql.h"
#include "store/SqliteDatabase.h"

namespace ov {
namespace {

constexpr int kCodeRole = Qt::UserRole;
constexpr int kImageIndexRole = Qt::UserRole + 1;

std::string Utf8(const QString& text) { return text.toStdString(); }
QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

int LevelOf(const QTreeWidgetItem* node) {
    int level = 0;
    for (const QTreeWidgetItem* up = node->parent(); up; up = up->parent()) ++level;
    return level;
}

}  // namespace

TOVRzTreeView::TOVRzTreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemClicked, this, [this] { Click(); });
}

QString TOVRzTreeView::NodeCode(const QTreeWidgetItem* node) {
    return node ? node->data(0, kCodeRole).toString() : QString();
}

int TOVRzTreeView::ImageIndex(const QTreeWidgetItem* node) {
    return node ? node->data(0, kImageIndexRole).toInt() : -1;
}

QTreeWidgetItem* TOVRzTreeView::AddCodeNode(QTreeWidgetItem* parent, const QString& caption, const QString& code) {
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, caption);
    node->setData(0, kCodeRole, code);
    const int level = LevelOf(node);
    node->setData(0, kImageIndexRole, level);
    if (level < images_.size()) node->setIcon(0, images_[level]);
    PreNode = NewNode = node;
    if (parent) parent->setExpanded(true);
    return node;
}

void TOVRzTreeView::ClearTree() {
    clear();
    PreNode = NewNode = nullptr;
}

SqliteQuery& TOVRzTreeView::Master() const {
    if (!masterCDS) throw ESqliteError("The tree has no master data set");
    return *masterCDS;
}

QTreeWidgetItem* TOVRzTreeView::Selected() const {
    const auto selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

CatalogueLayout TOVRzTreeView::Layout() const {
    return {Utf8(mTableName), Utf8(mCodeField), Utf8(mNameField), Utf8(Level)};
}

void TOVRzTreeView::AddNodes(const std::vector<CatalogueNode>& nodes, QTreeWidgetItem* parent) {
    for (const auto& node : nodes) AddCodeNode(parent, Text(node.name), Text(node.code));
}

void TOVRzTreeView::LoadTree() {
    Master().Close();
    PreNode = nullptr;
    ClearTree();
    if (LoadTreeStyle == LoadStyle::OneLevel)
        LoadLevel();
    else
        LoadAll();
    if (topLevelItemCount() > 0) PreNode = topLevelItem(0);
}

void TOVRzTreeView::LoadLevel() {
    SqliteQuery& master = Master();
    const CatalogueLayout layout = Layout();
    OpenLevel(master, layout, Utf8(Code));
    AddNodes(ReadNodes(master, layout), nullptr);
}

void TOVRzTreeView::LoadAll() {
    SqliteQuery& master = Master();
    master.SetSql(AllLevelsSql(Utf8(mTableName), Utf8(mCodeField), Utf8(Code)));
    master.Open();
    const std::string codeField = Utf8(mCodeField);
    while (!master.Eof()) {
        Code = Text(master.FieldByName(codeField));
        CName = Text(master.FieldByName(Utf8(mNameField)));
        AddCodeNode(PreNode, CName, Code);
        master.Next();
        // Climb until the next record fits below PreNode: records come in code
        // order, so a longer code continues the chain, anything else closes it.
        while (PreNode) {
            if (!master.Eof() && Utf8Length(master.FieldByName(codeField)) > Utf8Length(Utf8(NodeCode(PreNode))))
                break;
            PreNode = PreNode->parent();
        }
    }
}

bool TOVRzTreeView::HasChildRecords() {
    QTreeWidgetItem* node = Selected();
    if (!node) return false;
    SqliteQuery probe(Master().Connection());
    probe.SetSql(ChildTestSql(Utf8(mTableName), Utf8(mCodeField), Utf8(NodeCode(node))));
    probe.Open();
    return probe.RecordCount() > 0;
}

void TOVRzTreeView::Click() {
    if (OnClick) OnClick();
    try {
        ClickWork();
    } catch (const std::runtime_error& e) {
        emit catalogueFailed(Text(e.what()));
    }
}

void TOVRzTreeView::ClickWork() {
    QTreeWidgetItem* node = Selected();
    if (topLevelItemCount() == 0 || !node) return;
    PreNode = node;
    const std::string code = Utf8(NodeCode(node));
    SqliteQuery& master = Master();
    master.Close();
    master.SetSql(RecordsEqualSql(Utf8(mTableName), Utf8(mCodeField), code));
    master.Open();

    if (detailCDS) {
        detailCDS->Close();
        const std::string value = mLinkField.trimmed().isEmpty() ? code : master.FieldByName(Utf8(mLinkField));
        detailCDS->SetSql(RecordsEqualSql(Utf8(dTableName), Utf8(dCodeField), value));
        detailCDS->Open();
    }

    if (LoadTreeStyle == LoadStyle::OneLevel && node->childCount() == 0) {
        Code = NodeCode(node);
        AddNodes(ReadChildren(master.Connection(), Layout(), code), node);
        node->setExpanded(true);
    }
    PreNode = node;
}

}  // namespace ov
