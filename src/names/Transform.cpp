#include "names/Transform.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include "names/NameParts.h"

namespace morvane {
namespace {

std::string ToUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

const char* TransliteratorId(WidthKind kind) {
    switch (kind) {
        case WidthKind::AsciiToHalfwidth:
            return "[\\uFF01-\\uFF5E];Fullwidth-Halfwidth";
        case WidthKind::AsciiToFullwidth:
            return "[\\u0021-\\u007E];Halfwidth-Fullwidth";
        case WidthKind::HalfwidthKatakanaToFull:
            return "[\\uFF61-\\uFF9F];Halfwidth-Fullwidth";
        case WidthKind::HiraganaToKatakana:
            return "Hiragana-Katakana";
        case WidthKind::KatakanaToHiragana:
            return "Katakana-Hiragana";
        case WidthKind::Keep:
        case WidthKind::Nfc:
            break;
    }
    return nullptr;
}

std::string ChangeCaseOfRun(std::string_view text, CaseKind kind) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(text);
    const icu::Locale& root = icu::Locale::getRoot();
    switch (kind) {
        case CaseKind::Keep:
            break;
        case CaseKind::Upper:
            u.toUpper(root);
            break;
        case CaseKind::Lower:
            u.toLower(root);
            break;
        case CaseKind::Title:
            u.toTitle(nullptr, root);
            break;
    }
    return ToUtf8(u);
}

}  // namespace

std::string ChangeCase(const std::string& text, CaseKind kind) {
    if (kind == CaseKind::Keep)
        return text;
    return OnValidRuns(text, [kind](std::string_view run) { return ChangeCaseOfRun(run, kind); });
}

struct WidthTransformer::Impl {
    std::unique_ptr<icu::Transliterator> transliterator;
    const icu::Normalizer2* nfc = nullptr;
};

std::unique_ptr<WidthTransformer> WidthTransformer::Create(WidthKind kind, std::string* error) {
    std::unique_ptr<WidthTransformer> t(new WidthTransformer);
    t->impl_ = std::make_unique<Impl>();
    UErrorCode status = U_ZERO_ERROR;
    if (const char* id = TransliteratorId(kind)) {
        t->impl_->transliterator.reset(icu::Transliterator::createInstance(
            icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    } else {
        t->impl_->nfc = icu::Normalizer2::getNFCInstance(status);
    }
    if (U_FAILURE(status) || (!t->impl_->transliterator && !t->impl_->nfc)) {
        *error = std::string("文字変換を準備できません : ") + u_errorName(status);
        return nullptr;
    }
    return t;
}

WidthTransformer::~WidthTransformer() = default;

std::string WidthTransformer::Apply(const std::string& text) const {
    return OnValidRuns(text, [this](std::string_view run) {
        icu::UnicodeString u = icu::UnicodeString::fromUTF8(run);
        if (impl_->transliterator) {
            impl_->transliterator->transliterate(u);
            return ToUtf8(u);
        }
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString normal = impl_->nfc->normalize(u, status);
        return U_FAILURE(status) ? std::string(run) : ToUtf8(normal);
    });
}

}  // namespace morvane
