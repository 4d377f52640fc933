#pragma once
// Case and Japanese width/kana conversion through ICU. A Transformer is made once per step
// and reused for every name.

#include <memory>
#include <string>

#include "names/NameStep.h"

namespace morvane {

std::string ChangeCase(const std::string& text, CaseKind kind);

class WidthTransformer final {
public:
    // Null with *error set when ICU cannot build the transliterator.
    static std::unique_ptr<WidthTransformer> Create(WidthKind kind, std::string* error);
    ~WidthTransformer();
    WidthTransformer(const WidthTransformer&) = delete;
    WidthTransformer& operator=(const WidthTransformer&) = delete;

    std::string Apply(const std::string& text) const;

private:
    WidthTransformer() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace morvane
