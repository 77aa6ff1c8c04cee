#include <gtest/gtest.h>

#include <QApplication>

#include "TestApp.h"
#include "shell/OVRzTreeView.h"
#include "store/CatalogueSql.h"
#include "store/ConnectionString.h"
#include "store/SqliteStatement.h"
#include "store/CipherAndFiles.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

using ov::TOVRzTreeView;

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

class CatalogueTreeTest : public ::testing::Test {
protected:

    // The tree as the main window sets it up, over a catalogue file.
    void Open(const ovtest::Entries& entries) {
        ovtest::WriteCatalogue(dir / "RsDbList.db", entries, "pw");
        Connect();
    }

    void Connect() {
        connection.SetConnectionString(ov::FormatConnectionString((dir / "RsDbList.db").string(), "pw"));
        connection.Open();
        tree.mTableName = Q(ov::kCatalogueTable);
        tree.mCodeField = Q(ov::kCatalogueCodeField);
        tree.mNameField = Q(ov::kCatalogueNameField);
        tree.Level = Q(ov::kCatalogueLevels);
        tree.masterCDS = &master;
    }

    QTreeWidgetItem* Find(const QString& code) const {
        for (QTreeWidgetItemIterator it(const_cast<TOVRzTreeView*>(&tree)); *it; ++it)
            if (TOVRzTreeView::NodeCode(*it) == code) return *it;
        return nullptr;
    }

    void ClickOn(const QString& code) {
        QTreeWidgetItem* node = Find(code);
        ASSERT_NE(node, nullptr) << code.toStdString();
        tree.setCurrentItem(node);
        tree.Click();
    }

    // Every node as "code name image-index", indented by its depth, in tree order.
    QStringList Shape() const {
        QStringList lines;
        for (QTreeWidgetItemIterator it(const_cast<TOVRzTreeView*>(&tree)); *it; ++it) {
            const QString indent(TOVRzTreeView::ImageIndex(*it) * 2, ' ');
            lines << indent + TOVRzTreeView::NodeCode(*it) + " " + (*it)->text(0);
        }
        return lines;
    }

    QApplication& app = ovtest::TestApp();
    ovtest::TempDir dir;
    ov::SqliteConnection connection;
    ov::SqliteQuery master{&connection};
    TOVRzTreeView tree;
};

const ovtest::Entries kLesson = {{"01", "人教版"}, {"0101", "三年级上册"}, {"0102", "三年级下册"}, {"010101", "Unit 1"}};

TEST_F(CatalogueTreeTest, OneLevelLoadsLazilyAndTheOwnerSeesTheEarlierCode) {
    Open(kLesson);
    QStringList codesSeen;
    tree.OnClick = [&] { codesSeen << tree.Code; };

    tree.LoadTree();
    EXPECT_EQ(Shape(), QStringList{"01 人教版"});
    EXPECT_EQ(tree.PreNode, tree.topLevelItem(0));

    ClickOn("01");
    EXPECT_EQ(Shape(), (QStringList{"01 人教版", "  0101 三年级上册", "  0102 三年级下册"}));
    EXPECT_TRUE(Find("01")->isExpanded());
    EXPECT_EQ(master.FieldByName("RsName"), "人教版");

    ClickOn("0101");
    ClickOn("0101");
    const QStringList loaded = {"01 人教版", "  0101 三年级上册", "    010101 Unit 1", "  0102 三年级下册"};
    EXPECT_EQ(Shape(), loaded);
    EXPECT_FALSE(Find("010101")->isExpanded());

    // A lesson has nothing below it: clicking it twice loads nothing.
    ClickOn("010101");
    ClickOn("010101");
    EXPECT_EQ(Shape(), loaded);
    EXPECT_EQ(tree.PreNode, Find("010101"));
    EXPECT_EQ(codesSeen, (QStringList{"", "01", "0101", "0101", "010101"}));
    EXPECT_EQ(tree.Code, "010101");
}

TEST_F(CatalogueTreeTest, ChildRecordsTellLessonsFromFolders) {
    Open(kLesson);
    tree.LoadTree();
    EXPECT_FALSE(tree.HasChildRecords());  // nothing selected
    ClickOn("01");
    EXPECT_TRUE(tree.HasChildRecords());
    for (const char* code : {"0102", "0101"}) ClickOn(code);
    EXPECT_TRUE(tree.HasChildRecords());
    ClickOn("010101");
    EXPECT_FALSE(tree.HasChildRecords());
    ClickOn("0102");
    EXPECT_FALSE(tree.HasChildRecords());
}

TEST_F(CatalogueTreeTest, AllModeBuildsTheChainsAtOnce) {
    Open({{"01", "A"}, {"0101", "B"}, {"010101", "C"}, {"02", "D"}, {"0201", "E"}});
    tree.LoadTreeStyle = ov::LoadStyle::All;
    tree.LoadTree();
    EXPECT_EQ(Shape(), (QStringList{"01 A", "  0101 B", "    010101 C", "02 D", "  0201 E"}));
    EXPECT_EQ(tree.Code, "0201");
    EXPECT_EQ(tree.CName, "E");
    EXPECT_EQ(tree.PreNode, tree.topLevelItem(0));
    // Clicking in this mode loads nothing more.
    ClickOn("010101");
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->childCount(), 1);
}

TEST_F(CatalogueTreeTest, ReloadingStartsAfresh) {
    Open(kLesson);
    tree.LoadTree();
    ClickOn("01");
    tree.Code.clear();
    tree.LoadTree();
    EXPECT_EQ(Shape(), QStringList{"01 人教版"});
    tree.ClearTree();
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(tree.PreNode, nullptr);
    EXPECT_EQ(tree.NewNode, nullptr);
}

TEST_F(CatalogueTreeTest, DetailRecordsFollowTheNodeOrTheLinkField) {
    ovtest::WriteCatalogue(dir / "RsDbList.db", {}, "");
    {
        auto db = ov::SqliteDatabase::OpenFile(dir / "RsDbList.db", ov::SqliteAccess::ReadWrite);
        db.Exec("ALTER TABLE RsList ADD COLUMN Book TEXT");
        db.Exec("INSERT INTO RsList VALUES ('01', 'A', 'b7')");
        db.Exec("CREATE TABLE Info (Owner TEXT, Note TEXT)");
        db.Exec("INSERT INTO Info VALUES ('01', 'by code'), ('b7', 'by link')");
    }
    Connect();
    ov::SqliteQuery detail(&connection);
    tree.detailCDS = &detail;
    tree.dTableName = "Info";
    tree.dCodeField = "Owner";
    tree.LoadTree();
    ClickOn("01");
    EXPECT_EQ(detail.FieldByName("Note"), "by code");
    tree.mLinkField = "Book";
    ClickOn("01");
    EXPECT_EQ(detail.FieldByName("Note"), "by link");
}

TEST_F(CatalogueTreeTest, ImagesFollowTheLevel) {
    Open(kLesson);
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::red);
    tree.SetImages({QIcon(pixmap), QIcon(pixmap)});
    tree.LoadTree();
    ClickOn("01");
    ClickOn("0101");
    EXPECT_FALSE(Find("0101")->icon(0).isNull());
    EXPECT_EQ(TOVRzTreeView::ImageIndex(Find("010101")), 2);
    EXPECT_TRUE(Find("010101")->icon(0).isNull());
}

// An unusable catalogue leaves the tree empty and says so; nothing throws
// out of a click.
TEST_F(CatalogueTreeTest, FailuresLeaveTheTreeUsable) {
    Open(kLesson);
    QStringList failures;
    QObject::connect(&tree, &TOVRzTreeView::catalogueFailed, [&](const QString& m) { failures << m; });
    tree.LoadTree();
    connection.Close();
    ClickOn("01");
    EXPECT_EQ(failures.count(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->childCount(), 0);
    EXPECT_THROW(tree.HasChildRecords(), ov::ESqliteError);
    EXPECT_THROW(tree.LoadTree(), ov::ESqliteError);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    tree.Click();  // empty tree: nothing happens
    EXPECT_EQ(failures.count(), 1);

    connection.Open();
    tree.Level = "2,x";
    EXPECT_THROW(tree.LoadTree(), ov::EConvertError);
    tree.masterCDS = nullptr;
    EXPECT_THROW(tree.LoadTree(), ov::ESqliteError);
}

}  // namespace
