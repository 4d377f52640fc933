#pragma once
// An ordered list of name steps, compiled once (expressions, transliterators) and then
// applied to each row's name.

#include <memory>
#include <string>
#include <vector>

#include "names/NameStep.h"

namespace morvane {

class Replacer;
class WidthTransformer;

class NamePipeline final {
public:
    explicit NamePipeline(const std::vector<NameStep>& steps);
    ~NamePipeline();
    NamePipeline(const NamePipeline&) = delete;
    NamePipeline& operator=(const NamePipeline&) = delete;

    // Empty when every step compiled; otherwise Apply returns names unchanged.
    const std::string& error() const { return error_; }
    // A step numbers only where names collide: the caller tries collision 0, 1, 2, ... until
    // the name is free.
    bool UsesCollisions() const { return usesCollisions_; }

    // The new name. *remarks (may be null) receives what the row should say: a fallback, or
    // an error that left the name as it was.
    std::string Apply(const std::string& name, const NameContext& context,
                      NameRemarks* remarks) const;

private:
    struct Compiled;
    std::vector<Compiled> steps_;
    std::string error_;
    bool usesCollisions_ = false;
};

}  // namespace morvane
