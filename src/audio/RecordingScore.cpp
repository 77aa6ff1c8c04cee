#include "audio/RecordingScore.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace ov {
namespace {

constexpr int kProfileLength = 40;
constexpr int kVoicedSum = 15;
constexpr int kTooLoud = 100;
constexpr double kFlatValue = 0.1;
constexpr double kBestSimilarity = 9.9;
constexpr int kCounted = 10;

bool Voiced(const std::vector<int>& a, size_t i) {
    return a[i] + a[i + 1] + a[i + 2] >= kVoicedSum && a[i] < kTooLoud && a[i + 1] < kTooLoud &&
           a[i + 2] < kTooLoud;
}

int Sum(const std::vector<int>& values) { return std::accumulate(values.begin(), values.end(), 0); }

}  // namespace

std::vector<int> TGetSoundDataResult::Levels(const std::vector<int>& samples) {
    std::vector<int> levels(samples.size());
    std::transform(samples.begin(), samples.end(), levels.begin(), [](int s) { return std::abs(s - 128); });
    return levels;
}

TGetSoundDataResult::Profile TGetSoundDataResult::MakeProfile(const std::vector<int>& levels, int& segment) {
    size_t start = 0;
    size_t end = 0;
    bool found = false;
    for (size_t i = 0; i + 2 < levels.size(); ++i) {
        if (!Voiced(levels, i)) continue;
        if (!found) start = i;
        end = i;
        found = true;
    }
    Profile profile;
    if ((start == 0 && end == 0) || start == end) {
        profile.form = ProfileForm::Flat;
        return profile;
    }
    const auto span = static_cast<double>(end - start + 1);
    segment = static_cast<int>(span * 0.95 / 39);
    if (segment == 0) return profile;
    profile.form = ProfileForm::Integer;
    int sum = 0;
    int summed = 0;
    for (size_t k = start; k <= end; ++k) {
        sum += levels[k];
        if (++summed < segment) continue;
        profile.values.push_back(std::max(1, sum / segment));
        sum = 0;
        summed = 0;
    }
    profile.values.resize(kProfileLength);
    return profile;
}

double TGetSoundDataResult::LoudnessRatio() const {
    if (FOrigProfile.form != ProfileForm::Integer || FRecProfile.form != ProfileForm::Integer) return 1;
    const double ratio = static_cast<double>(Sum(FRecProfile.values)) / Sum(FOrigProfile.values);
    return ratio >= 1.75 || ratio <= 0.25 ? 1 : ratio;
}

double TGetSoundDataResult::Similarity(int index, double ratio) const {
    if (FRecProfile.form == ProfileForm::Empty) return 0;
    const double a = static_cast<int>(FOrigProfile.values[index] * ratio);
    const double b = FRecProfile.form == ProfileForm::Flat ? kFlatValue : FRecProfile.values[index];
    return a < b ? a * kBestSimilarity / b : b * kBestSimilarity / a;
}

double TGetSoundDataResult::Compare(const std::vector<int>& orig, const std::vector<int>& rec) {
    FOrigLevels = Levels(orig);
    FRecLevels = Levels(rec);
    FOrigProfile = MakeProfile(FOrigLevels, FOrigSegment);
    FRecProfile = FOrigProfile.form == ProfileForm::Empty ? Profile{} : MakeProfile(FRecLevels, FRecSegment);

    const double ratio = LoudnessRatio();
    if (FOrigProfile.form != ProfileForm::Integer) throw ECompareError("the original holds no usable speech");

    std::vector<double> similarities(kProfileLength);
    for (int i = 0; i < kProfileLength; ++i) similarities[i] = Similarity(i, ratio);
    std::sort(similarities.begin(), similarities.end());
    double score = std::accumulate(similarities.end() - kCounted, similarities.end(), 0.0);

    if (FRecSegment > 0) {
        const double g = static_cast<double>(FOrigSegment) / FRecSegment;
        if (g >= 3.5 || g <= 0.25) score *= 0.3;
    }
    return std::clamp(score, 0.0, 100.0);
}

double CompareRecording(TGetSoundDataResult& scorer, const std::vector<uint8_t>& orig,
                        const std::vector<uint8_t>& rec) {
    try {
        return scorer.Compare(std::vector<int>(orig.begin(), orig.end()), std::vector<int>(rec.begin(), rec.end()));
    } catch (const ECompareError&) {
        return 0;
    }
}

}  // namespace ov
