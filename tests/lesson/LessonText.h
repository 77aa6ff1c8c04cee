#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/GbkText.h"
#include "core/MessageHook.h"
#include "lesson/LessonDocument.h"
#include "support/TestFiles.h"

namespace lessontest {

// An empty lesson document in which the named elements get the given content,
// so that each test shows only the part of a page it is about.
inline std::string LessonXml(const std::vector<std::pair<std::string, std::string>>& fill = {}) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<OVENG ver=\"6.0\"><res><alls/><alli/><allbutton/><allradio/>"
        "<alledit/><allShape/><allFlash/></res><rules><Titles/><Others><sentences/><images/><buttons/><radios/>"
        "<edits/></Others><Sencens/><Trainings><WordFollowReads/><SentenceFollowReads/><WordFollowWrites/>"
        "<SentenceFollowWrites/><ArrangeWords/><ArrangeSentences/><Discerns/></Trainings><Entertains><RoleActs/>"
        "<TitleRecites/></Entertains><WordEden/><Games/><Musics/><Tests/><WorldExtends/><Importants/>"
        "<Encampments/></rules></OVENG>\n";
    for (const auto& [name, content] : fill) {
        const std::string empty = "<" + name + "/>";
        const size_t at = xml.find(empty);
        if (at == std::string::npos) throw std::invalid_argument("no element " + name);
        xml.replace(at, empty.size(), "<" + name + ">" + content + "</" + name + ">");
    }
    return xml;
}

// Messages shown since the last call.
inline size_t TakeMessageCount() {
    auto messages = ov::TakeRecordedMessages();
    for (const auto& m : messages) {
        EXPECT_EQ(m.caption, "提示");
        EXPECT_EQ(m.text, "未找到资源文件");
    }
    return messages.size();
}

// Each test starts with no message recorded and a folder of its own.
class LessonTest : public ::testing::Test {
protected:
    void SetUp() override { ov::TakeRecordedMessages(); }

    // A page opened the way the content box opens one.
    std::unique_ptr<ov::LessonDocument> Page(const std::string& xml, const std::string& name = "page.ovb") {
        ovtest::WriteFile(dir / name, xml);
        return std::make_unique<ov::LessonDocument>(dir.path(), name, false);
    }
    std::unique_ptr<ov::LessonDocument> FixturePage(const std::string& fixture) {
        return Page(ovtest::ReadFile(ovtest::Fixture("lesson/" + fixture)));
    }

    ovtest::TempDir dir;
};

}  // namespace lessontest
