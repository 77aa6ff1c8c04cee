#pragma once

#include "core/MessageHook.h"
#include "LessonText.h"
#include "OpenPage.h"
#include "present/PageView.h"
#include "present/PictureItem.h"
#include "support/TestFiles.h"

#include "TestApp.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace boxtest {

// Colours of the pictures the fixture writes, so a test can tell which file a
// picture control shows.
inline const QColor kPlain{10, 200, 30};
inline const QColor kSelected{200, 20, 20};
inline const QColor kNotSelected{20, 20, 200};

// A real box on a lesson folder of its own. Pictures are PNG data under
// ".jpg" names, as courseware often mislabels them.
class BoxTest : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        ov::TakeRecordedMessages();
        box = std::make_unique<ov::PageView>(nullptr);
        box->resize(800, 600);
    }
    void TearDown() override { ov::TakeRecordedMessages(); }

    void WritePicture(const std::string& name, const QColor& color) {
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(color);
        ASSERT_TRUE(picture.save(QString::fromStdString((dir / name).string()), "PNG"));
    }
    void WriteMarks() {
        WritePicture("Selected.jpg", kSelected);
        WritePicture("NOSelected.jpg", kNotSelected);
    }

    // Writes the page and activates the box on it.
    void Open(const std::string& xml, ov::TOVRule kind = ov::rDiscern) {
        ovtest::OpenPage(*box, dir.path(), xml, kind);
    }

    template <typename T>
    T* Control(ov::TItemKind kind, int index = 0) {
        for (const ov::TBoxItem& item : box->PageItems()) {
            if (item.Kind == kind && index-- == 0) return qobject_cast<T*>(item.Control);
        }
        return nullptr;
    }
    ov::TPictureItem* PictureWithId(int id) {
        for (const ov::TBoxItem& item : box->PageItems()) {
            auto* picture = qobject_cast<ov::TPictureItem*>(item.Control);
            if (picture && picture->Record().Id == id) return picture;
        }
        return nullptr;
    }
    static QColor Shown(const ov::TPictureItem* picture) { return picture->Picture().pixelColor(0, 0); }

    ovtest::TempDir dir;
    std::unique_ptr<ov::PageView> box;
};

inline std::string Picture(int id, const std::string& name, const std::string& key, int group, int left,
                           const std::string& visible = "True") {
    return "<picture Id=\"" + std::to_string(id) + "\" Name=\"" + name + "\" Visible=\"" + visible + "\" Group=\"" +
           std::to_string(group) + "\" RuleId=\"0\" Key=\"" + key + "\" Top=\"10\" Left=\"" + std::to_string(left) +
           "\" Width=\"16\" Height=\"16\"/>";
}

inline std::string Sentence(int id, const std::string& words, const std::string& audio = "s.wav") {
    return "<sentence Id=\"" + std::to_string(id) + "\" Audio=\"" + audio +
           "\" Font_Size=\"12\" Font_Style=\"Arial\" Font_Color=\"255\" RuleStyle=\"0\" RuleId=\"0\">" + words +
           "</sentence>";
}

inline std::string Word(int id, int left, const std::string& text, bool canMove, int top = 100) {
    return "<word Id=\"" + std::to_string(id) + "\" Top=\"" + std::to_string(top) + "\" Left=\"" +
           std::to_string(left) + "\" Visible=\"True\" CanMove=\"" + (canMove ? "True" : "False") + "\">" + text +
           "</word>";
}

inline std::string Edit(int id, int left) {
    return "<edit Id=\"" + std::to_string(id) + "\" Top=\"50\" Left=\"" + std::to_string(left) +
           "\" Caption=\"\" RuleId=\"0\" Width=\"80\"/>";
}

// A choice item of the listening page: its group, and the edit that receives it.
inline std::string ChoiceItem(int group, int editId) {
    return "<item Id=\"" + std::to_string(group) + "\" SentencesId=\"0\"><test TestStyle=\"3\" ControlStyle=\"4\" "
           "ControlId=\"" + std::to_string(editId) + "\" ImageId=\"0\" Answer=\"x\"/></item>";
}

}  // namespace boxtest
