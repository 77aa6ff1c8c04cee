#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ov {

// The ordinal is stored in files and passed between layers: it numbers the
// function index slots, names the section a lesson lookup reads, and its first
// five values double as the control-kind codes of lesson documents.
enum TOVRule : uint8_t {
    rImage,
    rLabel,
    rRadioButton,
    rButton,
    rEdit,
    rOthers,
    rTitle,
    rScene,
    rWordFollowRead,
    rSentenceFollowRead,
    rWordFollowWrite,
    rSentenceFollowWrite,
    rArrangeWord,
    rArrangeSentence,
    rDiscern,
    rRoleAct,
    rTitleRecite,
    rWordEden,
    rGames,
    rMusic,
    rTest,
    rWorldExtend,
    rImportant,
    rEncampment,
    rClass,
    rClassExtend,
    rTeacher,
};
inline constexpr int kRuleKindCount = 27;

enum TItemKind : uint8_t { ikPicture, ikWord, ikVideo, ikButton, ikEdit, ikFrame, ikMovie };

// Windows layout: red in the low byte; values with the high byte 0xFF name
// system colours, which is why the type is signed like the documents' numbers.
using TColor = int32_t;

struct TRule {
    TOVRule Kind = rImage;
    int32_t Id = 0;
    std::string Role;
    std::string Text;
    friend bool operator==(const TRule&, const TRule&) = default;
};

struct TTest {
    uint8_t TestStyle = 0;
    uint8_t ControlStyle = 0;
    int32_t ControlId = 0;
    int32_t ImageId = 0;
    std::string Answer;
    friend bool operator==(const TTest&, const TTest&) = default;
};

struct TRSentence {
    int32_t Id = 0;
    int32_t SentenceId = 0;
    std::string Text;
    std::string Audio;
    bool CanMove = false;
    bool Visible = false;
    int32_t GrabX = 0;
    TColor Color = 0;
    friend bool operator==(const TRSentence&, const TRSentence&) = default;
};

struct TXMLFont {
    int32_t Size = 0;
    std::string Name;  // a face name, although documents call it "Font_Style"
    TColor Color = 0;
    friend bool operator==(const TXMLFont&, const TXMLFont&) = default;
};

struct TXMLSentence {
    TRSentence Sentence;
    int32_t Top = 0;
    int32_t Left = 0;
    TXMLFont Font;
    friend bool operator==(const TXMLSentence&, const TXMLSentence&) = default;
};

struct TXMLSentences {
    int32_t Id = 0;
    std::string Audio;
    TXMLFont Font;
    int32_t RuleStyle = 0;
    int32_t RuleId = 0;
    std::vector<TXMLSentence> Words;
    friend bool operator==(const TXMLSentences&, const TXMLSentences&) = default;
};

struct TRImage {
    int32_t Id = 0;
    std::string Key;
    int32_t Group = 0;
    std::string Name;
    bool Visible = false;
    int32_t RuleId = 0;
    bool Selected = false;
    friend bool operator==(const TRImage&, const TRImage&) = default;
};

struct TXMLImage {
    TRImage Image;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    friend bool operator==(const TXMLImage&, const TXMLImage&) = default;
};

struct TXMLButton {
    int32_t Id = 0;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Caption;
    int32_t RuleId = 0;
    friend bool operator==(const TXMLButton&, const TXMLButton&) = default;
};

struct TXMLEdit {
    int32_t Id = 0;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Caption;
    int32_t RuleId = 0;
    friend bool operator==(const TXMLEdit&, const TXMLEdit&) = default;
};

struct TXMLVideo {
    int32_t Id = 0;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Movie;
    friend bool operator==(const TXMLVideo&, const TXMLVideo&) = default;
};

struct TXMLFlash {
    int32_t Id = 0;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Movie;
    friend bool operator==(const TXMLFlash&, const TXMLFlash&) = default;
};

// Height before width, unlike every other positioned record.
struct TXMLFrame {
    int32_t Id = 0;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Height = 0;
    int32_t Width = 0;
    friend bool operator==(const TXMLFrame&, const TXMLFrame&) = default;
};

struct TTmpLabel {
    std::string Text;
    int32_t Top = 0;
    int32_t Left = 0;
    TXMLFont Font;
    friend bool operator==(const TTmpLabel&, const TTmpLabel&) = default;
};

// The alternatives follow TItemKind's codes, so Data.index() == Kind.
using TPageItemData = std::variant<TXMLImage, TXMLSentence, TXMLVideo, TXMLButton, TXMLEdit, TXMLFrame, TXMLFlash>;

struct TPageItem {
    TItemKind Kind = ikPicture;
    TPageItemData Data;
};

}  // namespace ov
