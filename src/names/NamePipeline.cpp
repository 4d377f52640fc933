#include "names/NamePipeline.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "names/DateStamp.h"
#include "names/FileFacts.h"
#include "names/NameParts.h"
#include "names/NameTemplate.h"
#include "names/Replace.h"
#include "names/Transform.h"
#include "platform/Paths.h"

namespace morvane {

struct NamePipeline::Compiled {
    NameStep step;
    std::unique_ptr<Replacer> replacer;
    std::unique_ptr<WidthTransformer> width;
    std::unique_ptr<NameTemplate> shape;
};

namespace {

std::string OnPart(const std::string& name, NamePart part,
                   const std::function<std::string(const std::string&)>& fn) {
    if (part == NamePart::Whole)
        return fn(name);
    const std::size_t dot = SuffixDot(name);
    if (part == NamePart::Extension) {
        if (dot == std::string::npos)
            return name;
        return name.substr(0, dot + 1) + fn(name.substr(dot + 1));
    }
    if (dot == std::string::npos)
        return fn(name);
    return fn(name.substr(0, dot)) + name.substr(dot);
}

std::size_t Clamped(int value) {
    return value < 0 ? 0 : static_cast<std::size_t>(value);
}

std::string InsertAt(const std::string& stem, const std::string& text, int position, Edge from) {
    const std::size_t length = CodePointCount(stem);
    std::size_t at = std::min(Clamped(position), length);
    if (from == Edge::End)
        at = length - at;
    const std::size_t byte = ByteOffsetOf(stem, at);
    return stem.substr(0, byte) + text + stem.substr(byte);
}

std::string RemoveRange(const std::string& stem, const RemoveStep& s) {
    const std::size_t length = CodePointCount(stem);
    std::size_t first = std::min(Clamped(s.from), length);
    std::size_t last = std::min(length, first + Clamped(s.count));
    if (s.edge == Edge::End) {
        last = length - first;
        first = last - std::min(last, Clamped(s.count));
    }
    const std::size_t a = ByteOffsetOf(stem, first);
    const std::size_t b = ByteOffsetOf(stem, last);
    return stem.substr(0, a) + stem.substr(b);
}

std::string Number(const NumberStep& s, const NameContext& c) {
    const std::size_t counted = s.perFolder ? c.folderIndex : c.listIndex;
    const auto index = static_cast<long long>(s.onCollision ? c.collision - 1 : counted);
    const long long value = s.start + s.step * index;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%0*lld", s.digits < 1 ? 1 : s.digits, value);
    return buffer;
}

std::string ApplyExtension(const std::string& name, const ExtensionStep& s) {
    std::string text = s.text;
    while (!text.empty() && text.front() == '.')
        text.erase(0, 1);
    switch (s.action) {
        case ExtensionAction::Keep:
            return name;
        case ExtensionAction::Change:
            return text.empty() ? std::string(StemOf(name))
                                : std::string(StemOf(name)) + "." + text;
        case ExtensionAction::Add:
            return text.empty() ? name : name + "." + text;
        case ExtensionAction::Remove:
            return std::string(StemOf(name));
        case ExtensionAction::Lower:
        case ExtensionAction::Upper: {
            const CaseKind kind =
                s.action == ExtensionAction::Lower ? CaseKind::Lower : CaseKind::Upper;
            return OnPart(name, NamePart::Extension,
                          [&](const std::string& e) { return ChangeCase(e, kind); });
        }
    }
    return name;
}

}  // namespace

NamePipeline::NamePipeline(const std::vector<NameStep>& steps) {
    for (const NameStep& step : steps) {
        Compiled c{step, nullptr, nullptr, nullptr};
        if (const auto* r = std::get_if<ReplaceStep>(&step); r && r->enabled && !r->find.empty()) {
            c.replacer = Replacer::Compile(*r, &error_);
        } else if (const auto* w = std::get_if<WidthStep>(&step);
                   w && w->enabled && w->kind != WidthKind::Keep) {
            c.width = WidthTransformer::Create(w->kind, &error_);
        } else if (const auto* t = std::get_if<TemplateStep>(&step); t && t->enabled) {
            c.shape = NameTemplate::Compile(*t, &error_);
            if (c.shape && c.shape->NumbersOnCollision())
                usesCollisions_ = true;
        }
        if (!error_.empty()) {
            steps_.clear();
            usesCollisions_ = false;
            return;
        }
        if (const auto* n = std::get_if<NumberStep>(&step); n && n->enabled && n->onCollision)
            usesCollisions_ = true;
        steps_.push_back(std::move(c));
    }
}

NamePipeline::~NamePipeline() = default;

std::string NamePipeline::Apply(const std::string& name, const NameContext& context,
                                NameRemarks* remarks) const {
    std::string out = name;
    NameRemarks scratch;
    NameRemarks& said = remarks != nullptr ? *remarks : scratch;
    for (const Compiled& c : steps_) {
        if (const auto* r = std::get_if<ReplaceStep>(&c.step)) {
            if (!r->enabled || !c.replacer)
                continue;
            bool failed = false;
            out = OnPart(out, r->part, [&](const std::string& t) {
                std::string replaced;
                failed = failed || !c.replacer->Apply(t, &replaced, &said.error);
                return replaced;
            });
            if (failed)
                return name;
        } else if (const auto* i = std::get_if<InsertStep>(&c.step)) {
            if (!i->enabled)
                continue;
            out = OnPart(out, NamePart::Stem, [&](const std::string& t) {
                return InsertAt(t, i->text, i->position, i->from);
            });
        } else if (const auto* m = std::get_if<RemoveStep>(&c.step)) {
            if (!m->enabled)
                continue;
            out = OnPart(out, NamePart::Stem,
                         [&](const std::string& t) { return RemoveRange(t, *m); });
        } else if (const auto* n = std::get_if<NumberStep>(&c.step)) {
            if (!n->enabled || (n->onCollision && context.collision == 0))
                continue;
            const std::string number = Number(*n, context);
            out = OnPart(out, NamePart::Stem, [&](const std::string& t) {
                switch (n->place) {
                    case NumberPlace::Before:
                        return number + n->separator + t;
                    case NumberPlace::After:
                        return t + n->separator + number;
                    case NumberPlace::InsteadOfStem:
                        break;
                }
                return number;
            });
        } else if (const auto* k = std::get_if<CaseStep>(&c.step)) {
            if (!k->enabled)
                continue;
            out =
                OnPart(out, k->part, [&](const std::string& t) { return ChangeCase(t, k->kind); });
        } else if (const auto* w = std::get_if<WidthStep>(&c.step)) {
            if (!w->enabled || !c.width)
                continue;
            out = OnPart(out, w->part, [&](const std::string& t) { return c.width->Apply(t); });
        } else if (const auto* d = std::get_if<DateStep>(&c.step)) {
            if (!d->enabled)
                continue;
            const std::string stamp = DateOfFile(d->source, d->format, context, &said);
            out = OnPart(out, NamePart::Stem, [&](const std::string& t) {
                if (d->instead)
                    return stamp;
                return InsertAt(t, stamp, d->position, d->from);
            });
        } else if (const auto* e = std::get_if<ExtensionStep>(&c.step)) {
            if (!e->enabled)
                continue;
            out = ApplyExtension(out, *e);
        } else if (c.shape) {
            out = c.shape->Expand(out, context, &said);
        }
    }
    return out;
}

}  // namespace morvane
