#include <gtest/gtest.h>

#include "lesson/XmlValue.h"

namespace {

using ov::xml::Value;
using ov::xml::XmlFailure;

struct IntegerCase {
    Value text;
    std::optional<int32_t> number;  // nothing: the conversion fails
};

TEST(ValueRules, IntegersAreSignedDecimalsOnly) {
    const IntegerCase cases[] = {
        {"0", 0},           {"42", 42},       {"-7", -7},         {"+7", 7},
        {"2147483647", 2147483647},           {"-2147483648", INT32_MIN},
        {"2147483648", {}}, {"", {}},         {std::nullopt, {}}, {" 1", {}},
        {"1 ", {}},         {"0x10", {}},     {"$10", {}},        {"1.0", {}},
        {"+-1", {}},        {"--1", {}},      {"-", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.value_or("<none>"));
        if (c.number)
            EXPECT_EQ(ov::xml::ToInteger(c.text), *c.number);
        else
            EXPECT_THROW(ov::xml::ToInteger(c.text), XmlFailure);
    }
}

TEST(ValueRules, BooleansAcceptAnyCaseAndNumbers) {
    const std::pair<const char*, bool> accepted[] = {
        {"True", true}, {"true", true}, {"TRUE", true}, {"False", false}, {"fAlSe", false},
        {"0", false},   {"1", true},    {"-3", true},   {"+0", false},
    };
    for (const auto& [text, value] : accepted) EXPECT_EQ(ov::xml::ToBoolean(std::string(text)), value) << text;
    for (const Value& bad : {Value{}, Value{""}, Value{"yes"}, Value{"T"}, Value{" True"}})
        EXPECT_THROW(ov::xml::ToBoolean(bad), XmlFailure) << bad.value_or("<none>");
}

TEST(ValueRules, AbsentDiffersFromEmptyInEveryComparison) {
    EXPECT_THROW(ov::xml::ToText(std::nullopt), XmlFailure);
    EXPECT_EQ(ov::xml::ToText(Value{""}), "");

    EXPECT_FALSE(ov::xml::EqualsInteger(std::nullopt, 0));
    EXPECT_TRUE(ov::xml::EqualsInteger(Value{"-0"}, 0));
    EXPECT_THROW(ov::xml::EqualsInteger(Value{"x"}, 0), XmlFailure);
    EXPECT_THROW(ov::xml::EqualsInteger(Value{""}, 0), XmlFailure);

    EXPECT_FALSE(ov::xml::EqualsText(std::nullopt, ""));
    EXPECT_TRUE(ov::xml::EqualsText(Value{""}, ""));
    EXPECT_FALSE(ov::xml::EqualsText(Value{"apple"}, "Apple"));

    EXPECT_TRUE(ov::xml::DiffersFromEmpty(std::nullopt));
    EXPECT_TRUE(ov::xml::DiffersFromEmpty(Value{"a"}));
    EXPECT_FALSE(ov::xml::DiffersFromEmpty(Value{""}));
}

TEST(ValueRules, ElementTextIsOneTextChildOrNothing) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<r><a>x</a><b/><c><![CDATA[y<z]]></c><d>x<e/></d><f><!--c--></f><g><![CDATA[]]></g></r>",
                                pugi::parse_default | pugi::parse_comments));
    pugi::xml_node r = doc.first_child();
    EXPECT_EQ(ov::xml::ElementText(r.child("a")), Value{"x"});
    EXPECT_EQ(ov::xml::ElementText(r.child("b")), std::nullopt);
    EXPECT_EQ(ov::xml::ElementText(r.child("c")), Value{"y<z"});
    EXPECT_THROW(ov::xml::ElementText(r.child("d")), XmlFailure);
    EXPECT_THROW(ov::xml::ElementText(r.child("f")), XmlFailure);
    EXPECT_EQ(ov::xml::ElementText(r.child("g")), std::nullopt);
}

}  // namespace
