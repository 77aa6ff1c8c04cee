#include "speech/SpeechDecoder.h"

#include <pocketsphinx.h>
#include <sphinxbase/err.h>
#include <sphinxbase/fsg_model.h>

#include <memory>

namespace ov {
namespace {

// The phones of the en-us model besides silence and the noises.
const std::vector<std::string> kEnglishPhones = {
    "AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D", "DH", "EH", "ER", "EY",
    "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M", "N",  "NG", "OW", "OY",
    "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V", "W",  "Y",  "Z",  "ZH"};

constexpr float kLanguageWeight = 6.5f;

struct FsgDeleter {
    void operator()(fsg_model_t* fsg) const { fsg_model_free(fsg); }
};

std::unique_ptr<fsg_model_t, FsgDeleter> BuildFsg(const GrammarGraph& grammar, logmath_t* logmath) {
    std::unique_ptr<fsg_model_t, FsgDeleter> fsg(
        fsg_model_init("feedback", logmath, kLanguageWeight, grammar.states));
    fsg->start_state = grammar.start;
    fsg->final_state = grammar.final;
    for (const GrammarGraph::Arc& arc : grammar.arcs) {
        const auto logp = static_cast<int32>(logmath_log(logmath, arc.probability) * kLanguageWeight);
        if (arc.word.empty()) {
            fsg_model_null_trans_add(fsg.get(), arc.from, arc.to, logp);
        } else {
            fsg_model_trans_add(fsg.get(), arc.from, arc.to, logp, fsg_model_word_add(fsg.get(), arc.word.c_str()));
        }
    }
    // The search follows one null arc at a time; chains of skips need the closure.
    glist_free(fsg_model_null_trans_closure(fsg.get(), nullptr));
    return fsg;
}

}  // namespace

SpeechDecoder::SpeechDecoder(const SpeechModelFiles& files) : phones_(kEnglishPhones) {
    err_set_logfp(nullptr);
    // Frame times must count every frame, so no silence is cut out. Digital
    // silence (exact zeros) throws the cepstra off; a fixed dither keeps
    // results repeatable. Silence is made dear: on synthetic and young voices
    // the silence model otherwise swallows whole words.
    cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", files.acousticModel.c_str(), "-dict",
                                   files.dictionary.c_str(), "-bestpath", "no", "-remove_silence", "no", "-dither",
                                   "yes", "-seed", "1", "-silprob", "1e-8", "-logfn", "/dev/null", nullptr);
    if (!config) throw ESpeechError("the speech model's settings were refused");
    ps_ = ps_init(config);
    cmd_ln_free_r(config);
    if (!ps_) throw ESpeechError("the speech model could not be loaded from " + files.acousticModel);
}

SpeechDecoder::~SpeechDecoder() { ps_free(ps_); }

std::vector<std::string> SpeechDecoder::Pronunciations(const std::string& word) const {
    std::vector<std::string> found;
    for (int variant = 1;; ++variant) {
        const std::string name = variant == 1 ? word : word + "(" + std::to_string(variant) + ")";
        char* phones = ps_lookup_word(ps_, name.c_str());
        if (!phones) break;
        found.emplace_back(phones);
        ckd_free(phones);
    }
    return found;
}

bool SpeechDecoder::AddWord(const std::string& word, const std::string& phones) {
    if (char* known = ps_lookup_word(ps_, word.c_str())) {
        ckd_free(known);
        return true;
    }
    return ps_add_word(ps_, word.c_str(), phones.c_str(), FALSE) >= 0;
}

DecodedPath SpeechDecoder::Decode(const GrammarGraph& grammar, const std::vector<int16_t>& samples) {
    DecodedPath path;
    if (samples.empty()) return path;
    auto fsg = BuildFsg(grammar, ps_get_logmath(ps_));
    // The decoder takes its own reference; ours goes with `fsg`.
    if (ps_set_fsg(ps_, "feedback", fsg_model_retain(fsg.get())) < 0 || ps_set_search(ps_, "feedback") < 0)
        return path;
    if (ps_start_utt(ps_) < 0) return path;
    ps_process_raw(ps_, samples.data(), samples.size(), FALSE, TRUE);
    ps_end_utt(ps_);
    int32 score = 0;
    if (!ps_get_hyp(ps_, &score)) return path;
    const int frames = ps_get_n_frames(ps_);
    path.found = true;
    path.scorePerFrame = frames > 0 ? static_cast<double>(score) / frames : 0.0;
    for (ps_seg_t* seg = ps_seg_iter(ps_); seg; seg = ps_seg_next(seg)) {
        DecodedWord w;
        w.word = ps_seg_word(seg);
        ps_seg_frames(seg, &w.firstFrame, &w.lastFrame);
        path.words.push_back(std::move(w));
    }
    return path;
}

}  // namespace ov
