#pragma once
// The settings of each kind of name step as named fields, written once for every place that
// walks them: the presets file reads and writes them, the dialog builds its forms from them.
// `a` is called in order with Text, Flag, Number and Choice for each field.

#include <initializer_list>
#include <iterator>
#include <utility>
#include <variant>

#include "names/NameStep.h"

namespace morvane {

template <class E>
using FieldNames = std::initializer_list<std::pair<E, const char*>>;

inline const FieldNames<NamePart> kParts = {
    {NamePart::Stem, "stem"}, {NamePart::Extension, "extension"}, {NamePart::Whole, "whole"}};
inline const FieldNames<Edge> kEdges = {{Edge::Start, "start"}, {Edge::End, "end"}};
inline const FieldNames<NumberPlace> kPlaces = {{NumberPlace::Before, "before"},
                                                {NumberPlace::After, "after"},
                                                {NumberPlace::InsteadOfStem, "instead"}};
inline const FieldNames<CaseKind> kCases = {{CaseKind::Keep, "keep"},
                                            {CaseKind::Upper, "upper"},
                                            {CaseKind::Lower, "lower"},
                                            {CaseKind::Title, "title"}};
inline const FieldNames<WidthKind> kWidths = {
    {WidthKind::Keep, "keep"},
    {WidthKind::AsciiToHalfwidth, "ascii-to-half"},
    {WidthKind::AsciiToFullwidth, "ascii-to-full"},
    {WidthKind::HalfwidthKatakanaToFull, "katakana-to-full"},
    {WidthKind::HiraganaToKatakana, "hiragana-to-katakana"},
    {WidthKind::KatakanaToHiragana, "katakana-to-hiragana"},
    {WidthKind::Nfc, "nfc"}};
inline const FieldNames<DateSource> kSources = {{DateSource::Modified, "modified"},
                                                {DateSource::ExifOriginal, "exif"}};
inline const FieldNames<ExtensionAction> kActions = {
    {ExtensionAction::Keep, "keep"},   {ExtensionAction::Change, "change"},
    {ExtensionAction::Add, "add"},     {ExtensionAction::Remove, "remove"},
    {ExtensionAction::Lower, "lower"}, {ExtensionAction::Upper, "upper"}};

// In the order of the variant's alternatives.
inline constexpr const char* kStepKinds[] = {"replace", "insert", "remove",    "number",  "case",
                                             "width",   "date",   "extension", "template"};
static_assert(std::size(kStepKinds) == std::variant_size_v<NameStep>);

// The keys of each kind of step, for both directions: `a` writes or reads each field.
template <class A>
void VisitFields(A& a, ReplaceStep& s) {
    a.Text("find", s.find);
    a.Text("replacement", s.replacement);
    a.Flag("regex", s.regex);
    a.Flag("case-sensitive", s.caseSensitive);
    a.Flag("all", s.all);
    a.Choice("part", s.part, kParts);
}
template <class A>
void VisitFields(A& a, InsertStep& s) {
    a.Text("text", s.text);
    a.Number("position", s.position);
    a.Choice("from", s.from, kEdges);
}
template <class A>
void VisitFields(A& a, RemoveStep& s) {
    a.Number("from", s.from);
    a.Number("count", s.count);
    a.Choice("edge", s.edge, kEdges);
}
template <class A>
void VisitFields(A& a, NumberStep& s) {
    a.Number("start", s.start);
    a.Number("step", s.step);
    a.Number("digits", s.digits);
    a.Flag("per-folder", s.perFolder);
    a.Choice("place", s.place, kPlaces);
    a.Text("separator", s.separator);
    a.Flag("only-on-collision", s.onCollision);
}
template <class A>
void VisitFields(A& a, CaseStep& s) {
    a.Choice("case", s.kind, kCases);
    a.Choice("part", s.part, kParts);
}
template <class A>
void VisitFields(A& a, WidthStep& s) {
    a.Choice("conversion", s.kind, kWidths);
    a.Choice("part", s.part, kParts);
}
template <class A>
void VisitFields(A& a, DateStep& s) {
    a.Choice("source", s.source, kSources);
    a.Text("format", s.format);
    a.Number("position", s.position);
    a.Choice("from", s.from, kEdges);
    a.Flag("instead-of-name", s.instead);
}
template <class A>
void VisitFields(A& a, ExtensionStep& s) {
    a.Choice("action", s.action, kActions);
    a.Text("text", s.text);
}

}  // namespace morvane

namespace morvane {

template <class A>
void VisitFields(A& a, TemplateStep& s) {
    a.Text("template", s.text);
    a.Choice("source", s.source, kSources);
    a.Text("format", s.format);
    a.Number("start", s.start);
    a.Number("step", s.step);
    a.Number("digits", s.digits);
    a.Flag("per-folder", s.perFolder);
    a.Flag("only-on-collision", s.onCollision);
    a.Text("separator", s.separator);
}

}  // namespace morvane
