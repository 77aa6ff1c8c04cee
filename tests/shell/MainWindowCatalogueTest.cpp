#include "shell/CollapsiblePanel.h"
#include "shell/OVRzTreeView.h"
#include "shell/MainWindow.h"
#include "store/SqliteAuthoring.h"
#include "store/SqliteStorage.h"
#include "store/StoredSecrets.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

// A window over a program folder whose catalogue is made by `make`.
class MainWindowCatalogue : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        setenv("OV_HOME", home.path().c_str(), 1);
    }
    void TearDown() override {
        window.reset();
        dm.reset();
        unsetenv("OV_HOME");
    }

    void WriteCatalogue(const std::string& password) {
        const auto file = home / "DB/RsDbList.db";
        std::filesystem::create_directories(file.parent_path());
        auto db = ov::CreateStoredDatabase(file, password);
        ov::CreateCatalogueTable(db);
        for (const char* code : {"01", "0101", "010101", "01010101", "02"})
            ov::AddCatalogueEntry(db, code, std::string("课件 ") + code);
        ov::SaveDatabase(db, file, password);
    }

    void Start() {
        window.reset();
        dm = std::make_unique<ov::LessonData>();
        window = std::make_unique<ov::MainWindow>(*dm, ov::DataFolders::InOneFolder(home.path()));
        window->TimerFormShowTimer();
    }

    ov::TOVRzTreeView* Tree() const { return window->Catalogue; }

    void ClickOn(const QString& code) {
        for (QTreeWidgetItemIterator it(Tree()); *it; ++it) {
            if (ov::TOVRzTreeView::NodeCode(*it) != code) continue;
            Tree()->setCurrentItem(*it);
            Tree()->Click();
            return;
        }
        ADD_FAILURE() << "no node " << code.toStdString();
    }

    ovtest::TempDir home;
    std::unique_ptr<ov::LessonData> dm;
    std::unique_ptr<ov::MainWindow> window;
};

TEST_F(MainWindowCatalogue, DeferredSetUpLoadsTheTopLevelCollapsed) {
    WriteCatalogue(ov::DecipherString(ov::kCatalogueDbPassword, ""));
    Start();
    ASSERT_EQ(Tree()->topLevelItemCount(), 2);
    EXPECT_EQ(Tree()->topLevelItem(0)->text(0), "课件 01");
    EXPECT_FALSE(Tree()->topLevelItem(0)->isExpanded());
    EXPECT_EQ(window->PanelSizeLeft->CoursewareCaption->text(), "请选择下面课件:");
}

TEST_F(MainWindowCatalogue, AnUnusableCatalogueLeavesOneLineAndAnEmptyTree) {
    for (const char* password : {"", "not the stored one"}) {
        std::filesystem::remove_all(home / "DB");
        if (*password) WriteCatalogue(password);
        Start();
        EXPECT_EQ(Tree()->topLevelItemCount(), 0) << password;
        EXPECT_EQ(window->PanelSizeLeft->CoursewareCaption->text(), "课件目录无法打开") << password;
        Tree()->Click();
    }
}

// Each click widens the panel by the depth the previous click reached, and
// never narrows it.
TEST_F(MainWindowCatalogue, ClicksWidenTheSidePanelByTheEarlierCode) {
    WriteCatalogue(ov::DecipherString(ov::kCatalogueDbPassword, ""));
    Start();
    window->resize(1600, 900);
    const int half = window->width() / 2;
    const std::pair<const char*, int> clicks[] = {
        {"01", half / 4}, {"0101", half * 2 / 4}, {"010101", half * 3 / 4}, {"01010101", half}, {"02", half},
    };
    for (const auto& [code, width] : clicks) {
        ClickOn(code);
        EXPECT_EQ(window->PanelSizeLeft->ExpandedWidth(), std::max(width, ov::CollapsiblePanel::kDefaultWidth))
            << code;
    }
    EXPECT_EQ(Tree()->Code, "02");
    EXPECT_EQ(window->PanelSizeLeft->CoursewareCaption->text(), "请选择下面课件:");
}

}  // namespace
