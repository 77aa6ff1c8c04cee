#include "study/FunctionPages.h"

#include "present/StudyFunctions.h"

#include <gtest/gtest.h>

namespace {

using ov::TOperationButton;
using ov::TPageButton;
using Pages = std::vector<std::string>;

TEST(FunctionPages, OperationButtonsPerFunction) {
    using B = TOperationButton;
    EXPECT_EQ(ov::StudyFunctionOf(ov::rSentenceFollowRead).operations,
              (std::vector<B>{B::Start, B::Stop, B::Record, B::Play, B::Compare}));
    EXPECT_EQ(ov::StudyFunctionOf(ov::rTest).operations,
              (std::vector<B>{B::Start, B::Stop, B::Prior, B::Next, B::Stat, B::Result}));
    EXPECT_EQ(ov::StudyFunctionOf(ov::rMusic).operations,
              (std::vector<B>{B::Start, B::StudySing, B::Stop, B::Record, B::Play}));
    EXPECT_EQ(ov::StudyFunctionOf(ov::rGames).operations, (std::vector<B>{B::Start, B::Stop, B::Prior, B::Next}));
    EXPECT_TRUE(ov::StudyFunctionOf(ov::rEncampment).operations.empty());
}

TEST(FunctionPages, NamesAndLabel) {
    EXPECT_EQ(ov::PageBase("p1.ov"), "p1");
    EXPECT_EQ(ov::PageEntry("p1.ovb"), "p1.ov");
    EXPECT_EQ(ov::PageEntry("a.b.ovb"), "a.ov");
    EXPECT_EQ(ov::PageLabel(1, 5), QStringLiteral("第1页/共5页"));
}

TEST(FunctionPages, PageButtonTargets) {
    const Pages five{"1.ov", "2.ov", "3.ov", "4.ov", "5.ov"};
    struct Case {
        TPageButton button;
        const char* current;
        std::size_t entry;
        bool firstPrior, nextLast;
    } cases[] = {
        {TPageButton::First, "3.ov", 0, false, true},
        {TPageButton::Last, "3.ov", 4, true, false},
        {TPageButton::Next, "4.ov", 4, true, false},
        {TPageButton::Next, "5.ov", 4, true, false},
        {TPageButton::Next, "2.ov", 2, true, true},
        {TPageButton::Prior, "2.ov", 0, false, true},
        {TPageButton::Prior, "1.ov", 0, false, true},
        {TPageButton::Prior, "4.ov", 2, true, true},
    };
    for (const Case& c : cases) {
        const auto target = ov::PageTarget(c.button, five, c.current);
        ASSERT_TRUE(target) << c.current;
        EXPECT_EQ(target->Entry, c.entry) << c.current;
        EXPECT_EQ(target->FirstPriorEnabled, c.firstPrior) << c.current;
        EXPECT_EQ(target->NextLastEnabled, c.nextLast) << c.current;
    }
    EXPECT_FALSE(ov::PageTarget(TPageButton::Next, five, "9.ov"));
    EXPECT_FALSE(ov::PageTarget(TPageButton::First, {}, "1.ov"));
}

}  // namespace
