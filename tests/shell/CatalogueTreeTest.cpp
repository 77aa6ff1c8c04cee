#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <vector>

#include "TestApp.h"
#include "shell/CatalogueModel.h"
#include "shell/CatalogueTree.h"
#include "store/CatalogueSql.h"
#include "store/ConnectionString.h"
#include "store/SqliteStatement.h"
#include "store/CipherAndFiles.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

using ov::CatalogueModel;
using ov::CatalogueNodeClick;
using ov::CatalogueTree;

class CatalogueTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        QObject::connect(&tree, &CatalogueTree::nodeClicked,
                         [this](const CatalogueNodeClick& c) { clicks.push_back(c); });
    }

    // The tree as the main window sets it up, over a catalogue file.
    void Open(const ovtest::Entries& entries) {
        ovtest::WriteCatalogue(dir / "RsDbList.db", entries, "pw");
        connection.SetConnectionString(ov::FormatConnectionString((dir / "RsDbList.db").string(), "pw"));
        connection.Open();
    }

    QModelIndex Find(const QString& code) const { return model.Find(code); }

    void ClickOn(const QString& code) {
        const QModelIndex node = Find(code);
        ASSERT_TRUE(node.isValid()) << code.toStdString();
        tree.Click(node);
    }

    // Every node as "code name", indented by its level, in tree order.
    QStringList Shape(const QModelIndex& parent = {}) const {
        QStringList lines;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex node = model.index(row, 0, parent);
            const QString indent(node.data(CatalogueModel::LevelRole).toInt() * 2, ' ');
            lines << indent + node.data(CatalogueModel::CodeRole).toString() + " " + node.data().toString();
            lines << Shape(node);
        }
        return lines;
    }

    QApplication& app = ovtest::TestApp();
    ovtest::TempDir dir;
    ov::SqliteConnection connection;
    ov::SqliteQuery master{&connection};
    CatalogueModel model{&master, ov::MainCatalogueLayout(), {}};
    CatalogueTree tree{&model};
    std::vector<CatalogueNodeClick> clicks;
};

const ovtest::Entries kLesson = {{"01", "人教版"}, {"0101", "三年级上册"}, {"0102", "三年级下册"}, {"010101", "Unit 1"}};

struct ClickSeen {
    QString code, caption;
    int level;
    bool opened;
    bool operator==(const ClickSeen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ClickSeen& c) {
    return out << c.code.toStdString() << " " << c.caption.toStdString() << " level " << c.level
               << (c.opened ? " opened" : "");
}

TEST_F(CatalogueTreeTest, LevelsLoadOneClickAtATimeAndEachClickSaysWhatWasClicked) {
    Open(kLesson);
    model.Load();
    EXPECT_EQ(Shape(), QStringList{"01 人教版"});
    EXPECT_FALSE(model.hasChildren(Find("01"))) << "no expander before the node is opened";

    ClickOn("01");
    EXPECT_EQ(Shape(), (QStringList{"01 人教版", "  0101 三年级上册", "  0102 三年级下册"}));
    EXPECT_TRUE(tree.isExpanded(Find("01")));
    EXPECT_EQ(clicks.back().caption, "人教版");

    ClickOn("0101");
    ClickOn("0101");
    const QStringList loaded = {"01 人教版", "  0101 三年级上册", "    010101 Unit 1", "  0102 三年级下册"};
    EXPECT_EQ(Shape(), loaded);
    EXPECT_FALSE(tree.isExpanded(Find("010101")));

    // A lesson has nothing below it: clicking it twice loads nothing.
    ClickOn("010101");
    ClickOn("010101");
    EXPECT_EQ(Shape(), loaded);
    EXPECT_EQ(tree.currentIndex(), Find("010101"));

    // A node showing its level below is not opened again; one showing nothing is.
    std::vector<ClickSeen> seen;
    for (const auto& c : clicks) seen.push_back({c.code, c.caption, c.level, c.opened});
    EXPECT_EQ(seen, (std::vector<ClickSeen>{
                        {"01", "人教版", 0, true},
                        {"0101", "三年级上册", 1, true},
                        {"0101", "三年级上册", 1, false},
                        {"010101", "Unit 1", 2, true},
                        {"010101", "Unit 1", 2, true},
                    }));
    // The node opened last before each click, as the window keeps it.
    QStringList openedBefore;
    QString opened;
    for (const auto& c : clicks) {
        openedBefore << opened;
        if (c.opened) opened = c.code;
    }
    EXPECT_EQ(openedBefore, (QStringList{"", "01", "0101", "0101", "010101"}));
    EXPECT_EQ(opened, "010101");
}

// The level a click reports is the clicked node's own, whatever was clicked
// before it.
TEST_F(CatalogueTreeTest, TheLevelComesFromTheClickedNode) {
    Open({{"01", "A"}, {"0101", "B"}, {"010101", "C"}, {"02", "D"}});
    model.Load();
    for (const char* code : {"01", "0101", "010101", "02", "0101", "01"}) ClickOn(code);
    std::vector<std::pair<QString, int>> levels;
    for (const auto& c : clicks) levels.emplace_back(c.code, c.level);
    EXPECT_EQ(levels, (std::vector<std::pair<QString, int>>{
                          {"01", 0}, {"0101", 1}, {"010101", 2}, {"02", 0}, {"0101", 1}, {"01", 0}}));
}

// Whether a node is a lesson: nothing below it at any depth. A level left out
// between two records still makes the upper one a folder, though opening it
// shows nothing.
TEST_F(CatalogueTreeTest, RecordsBelowTellLessonsFromFolders) {
    Open({{"01", "人教版"}, {"0101", "三年级上册"}, {"0102", "三年级下册"}, {"010101", "Unit 1"}, {"02", "外研"},
          {"020101", "Unit 1"}});
    model.Load();
    const std::pair<const char*, bool> cases[] = {
        {"01", true}, {"0101", true}, {"010101", false}, {"0102", false}, {"02", true},
    };
    for (const auto& [code, below] : cases) EXPECT_EQ(model.HasRecordsBelow(code), below) << code;
    ClickOn("02");
    EXPECT_TRUE(clicks.back().opened);
    EXPECT_EQ(model.rowCount(Find("02")), 0);
}

TEST_F(CatalogueTreeTest, ReloadingStartsAfresh) {
    Open(kLesson);
    model.Load();
    ClickOn("01");
    model.Load();
    EXPECT_EQ(Shape(), QStringList{"01 人教版"});
    EXPECT_FALSE(tree.currentIndex().isValid());
    // What was read below a node went with it: the node opens again.
    ClickOn("01");
    EXPECT_TRUE(clicks.back().opened);
    EXPECT_EQ(Shape(), (QStringList{"01 人教版", "  0101 三年级上册", "  0102 三年级下册"}));
}

TEST_F(CatalogueTreeTest, IconsFollowTheLevel) {
    Open(kLesson);
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::red);
    CatalogueModel withIcons(&master, ov::MainCatalogueLayout(), {QIcon(pixmap), QIcon(pixmap)});
    CatalogueTree shown(&withIcons);
    withIcons.Load();
    for (const char* code : {"01", "0101"}) shown.Click(withIcons.Find(code));
    const auto icon = [&](const char* code) { return withIcons.Find(code).data(Qt::DecorationRole).value<QIcon>(); };
    EXPECT_FALSE(icon("01").isNull());
    EXPECT_FALSE(icon("0101").isNull());
    EXPECT_EQ(withIcons.Find("010101").data(CatalogueModel::LevelRole), 2);
    EXPECT_TRUE(icon("010101").isNull());
}

// The pupil's own click runs the same click; a ctrl-click that takes the
// selection off the node asks for nothing.
TEST_F(CatalogueTreeTest, ThePupilsMouseClickRunsTheClick) {
    Open(kLesson);
    model.Load();
    tree.resize(300, 300);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(Find("01")).center());
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks.back().code, "01");
    EXPECT_TRUE(tree.isExpanded(Find("01")));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, tree.visualRect(Find("01")).center());
    EXPECT_FALSE(tree.selectionModel()->isSelected(Find("01")));
    EXPECT_EQ(clicks.size(), 1u);
}

// An unusable catalogue leaves the tree empty and says so; nothing throws
// out of a click, and a level that could not be read is read on the next try.
TEST_F(CatalogueTreeTest, FailuresLeaveTheTreeUsable) {
    Open(kLesson);
    QStringList failures;
    QObject::connect(&model, &CatalogueModel::catalogueFailed, [&](const QString& m) { failures << m; });
    model.Load();
    connection.Close();
    ClickOn("01");
    EXPECT_EQ(failures.count(), 1);
    EXPECT_EQ(model.rowCount(Find("01")), 0);
    EXPECT_FALSE(clicks.back().opened);
    EXPECT_THROW(model.HasRecordsBelow("01"), ov::ESqliteError);

    connection.Open();
    ClickOn("01");
    EXPECT_TRUE(clicks.back().opened);
    EXPECT_EQ(model.rowCount(Find("01")), 2);

    connection.Close();
    EXPECT_THROW(model.Load(), ov::ESqliteError);
    EXPECT_EQ(model.rowCount(), 0);
    const size_t clicked = clicks.size();
    tree.Click(tree.currentIndex());  // empty tree: nothing happens
    EXPECT_EQ(clicks.size(), clicked);
    EXPECT_EQ(failures.count(), 1);

    connection.Open();
    ov::CatalogueLayout badWidths = ov::MainCatalogueLayout();
    badWidths.levels = "2,x";
    EXPECT_THROW(CatalogueModel(&master, badWidths, {}).Load(), ov::EConvertError);
    EXPECT_THROW(CatalogueModel(nullptr, ov::MainCatalogueLayout(), {}).Load(), ov::ESqliteError);
}

}  // namespace
