#pragma once

#include <array>

namespace bench {

// Sentences of the demo lessons and of primary-school English, each with a
// word the pupil may say instead of one of its own (position, word).
struct FeedbackSentence {
    const char* text;
    int replaced;
    const char* instead;
};

inline constexpr std::array<FeedbackSentence, 40> kFeedbackSentences = {{
    {"Good morning, boys and girls!", 2, "teachers"},
    {"Hello! I'm Miss White. What's your name?", 5, "age"},
    {"My name is Mike.", 1, "dog"},
    {"Nice to meet you, Mike.", 0, "Happy"},
    {"Nice to meet you, too.", 3, "them"},
    {"How are you today?", 2, "they"},
    {"I'm fine, thank you.", 1, "tired"},
    {"This is my father.", 3, "teacher"},
    {"That is my mother.", 3, "sister"},
    {"He is tall and strong.", 2, "short"},
    {"She has long hair.", 2, "short"},
    {"I have a little brother.", 3, "black"},
    {"It is sunny today.", 2, "windy"},
    {"It is raining outside.", 2, "snowing"},
    {"Take your umbrella with you.", 2, "coat"},
    {"What colour is it?", 1, "size"},
    {"It is red and yellow.", 2, "green"},
    {"I like the blue kite.", 3, "white"},
    {"Look at the rainbow.", 3, "window"},
    {"Can you swim?", 2, "dance"},
    {"Yes, I can.", 1, "we"},
    {"I go to school by bus.", 5, "bike"},
    {"We have English on Monday.", 2, "music"},
    {"What time is it now?", 1, "day"},
    {"It is seven o'clock.", 2, "nine"},
    {"Let's play football after school.", 2, "basketball"},
    {"There are five apples on the table.", 2, "three"},
    {"Where is my pencil box?", 3, "school"},
    {"It is under the desk.", 2, "behind"},
    {"I want some milk, please.", 3, "water"},
    {"The cat is sleeping on the bed.", 3, "playing"},
    {"My favourite season is spring.", 4, "winter"},
    {"Please open the door.", 2, "window"},
    {"Happy birthday to you!", 1, "new"},
    {"How many books do you have?", 2, "pens"},
    {"I can see a big elephant.", 4, "small"},
    {"Wash your hands before dinner.", 1, "face"},
    {"The sun rises in the east.", 1, "moon"},
    {"We are going to the park.", 4, "zoo"},
    {"Goodbye, see you tomorrow!", 3, "soon"},
}};

}  // namespace bench
