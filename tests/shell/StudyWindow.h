#pragma once

#include "core/DataFolders.h"
#include "core/GbkText.h"
#include "present/PageView.h"
#include "present/LessonPanel.h"
#include "shell/CatalogueModel.h"
#include "shell/CatalogueTree.h"
#include "shell/OperationBar.h"
#include "shell/ShellSettings.h"
#include "shell/MainWindow.h"
#include "store/ClassPackageWriter.h"
#include "store/StoredSecrets.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"

#include "TestApp.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace ovtest {

// A main window over a program folder with a catalogue, textbook "01" down to
// lesson "01010101", and that lesson's class package; each test fixture fills
// the package's Class folder.
class StudyWindowTest : public testing::Test {
protected:
    static constexpr const char* kLesson = "课件 01010101";

    void SetUp() override {
        TestApp();
        setenv("OV_HOME", home.path().c_str(), 1);
        Entries entries;
        for (const char* code : {"01", "0101", "010101"}) entries.push_back({code, std::string("课件 ") + code});
        entries.push_back({"01010101", kLesson});
        WriteCatalogue(home / "DB/RsDbList.db", entries, Deciphered(ov::kCatalogueDbPassword, ""));
        WritePackage();
        auto settings = ov::OpenOrvaneSettings();
        settings->remove("NewFolder");
        settings->remove("OldFolder");
        settings->remove("LastLesson");
        dm = std::make_unique<ov::LessonData>();
        window = std::make_unique<ov::MainWindow>(*dm, ov::DataFolders::InOneFolder(home.path()));
        window->resize(1200, 800);
        window->TimerFormShowTimer();
    }
    void TearDown() override {
        window.reset();
        dm.reset();
        unsetenv("OV_HOME");
    }

    // Writes the lesson's files into its Class folder.
    virtual void FillClass(const std::filesystem::path& cls) = 0;

    static std::string Deciphered(std::string_view text, std::string_view key) { return ov::DecipherString(text, key); }
    // A lesson page from its UTF-8 text, stored as the player finds it: GBK, encrypted.
    static void WritePage(const std::filesystem::path& file, const std::string& xml) {
        WriteFile(file, ov::EncryptBuffer(*ov::Utf8ToGbk(xml), Deciphered(ov::kLessonPageKey, ""), 0));
    }

    void WritePackage() {
        TempDir source;
        FillClass(source / "Class");
        std::filesystem::create_directories(home / "Resources");
        const std::string suffix = ov::GbkToUtf8(Deciphered(ov::kClassPackageSuffix, ov::kDefaultCipherKey));
        ov::WriteClassPackage(source.path(), home / "Resources" / (std::string(kLesson) + suffix));
    }

    void ClickOn(const QString& code) {
        const QModelIndex node = window->Catalogue->Model().Find(code);
        if (!node.isValid()) FAIL() << "no node " << code.toStdString();
        window->Catalogue->Click(node);
        // What the event loop runs once the click is done, and the rest of
        // a lesson's opening, which follows its unpacking.
        QCoreApplication::processEvents();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window->OpeningLesson(); }, 60000)) << "still opening";
    }
    void OpenLesson() {
        for (const char* code : {"01", "0101", "010101", "01010101"}) ClickOn(code);
    }
    ov::FolderLetters Letters() const { return ov::ReadFolderLetters(*ov::OpenOrvaneSettings()); }
    ov::LessonPanel& Panel() const { return *window->Panel(); }
    ov::OperationBar& Bar() const { return *window->PanelBottomShowOperation; }
    std::string BoxFile() const { return Panel().Box->FileName().toStdString(); }
    // Captions of the operation buttons shown, left to right.
    std::vector<QString> ShownOperations() const {
        std::vector<QPushButton*> shown;
        for (QPushButton* button : Bar().OperationButtons())
            if (!button->isHidden()) shown.push_back(button);
        std::sort(shown.begin(), shown.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
        std::vector<QString> captions;
        for (QPushButton* button : shown) captions.push_back(button->text());
        return captions;
    }

    TempDir home;
    std::unique_ptr<ov::LessonData> dm;
    std::unique_ptr<ov::MainWindow> window;
};

}  // namespace ovtest
