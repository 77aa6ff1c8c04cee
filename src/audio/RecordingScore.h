#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace ov {

// Raised when a comparison cannot be scored (an original without usable
// speech); CompareRecording turns it into a score of 0.
class ECompareError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Scores how close the loudness contour and the length of a recording come to
// the original's, from the loudness samples the two sound controls collected.
// The segment lengths of the last profiles outlive a comparison on purpose: a
// recording without speech is still checked against the length of the one
// before it.
class TGetSoundDataResult {
public:
    // Samples are 0-255 with 128 as the zero line. Throws ECompareError.
    double Compare(const std::vector<int>& orig, const std::vector<int>& rec);

    int OrigSegment() const { return FOrigSegment; }
    int RecSegment() const { return FRecSegment; }

private:
    enum class ProfileForm { Flat, Empty, Integer };
    struct Profile {
        ProfileForm form = ProfileForm::Empty;
        std::vector<int> values;
    };

    static std::vector<int> Levels(const std::vector<int>& samples);
    static Profile MakeProfile(const std::vector<int>& levels, int& segment);
    double LoudnessRatio() const;
    double Similarity(int index, double ratio) const;

    int FOrigSegment = 0;
    int FRecSegment = 0;
    std::vector<int> FOrigLevels;
    std::vector<int> FRecLevels;
    Profile FOrigProfile;
    Profile FRecProfile;
};

// What the lesson panel asks for: the score of the two controls' samples, 0
// when the comparison fails.
double CompareRecording(TGetSoundDataResult& scorer, const std::vector<uint8_t>& orig,
                        const std::vector<uint8_t>& rec);

}  // namespace ov
