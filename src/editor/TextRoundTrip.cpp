#include "editor/TextRoundTrip.h"

namespace morvane {

void TextRoundTrip::OnEditInTextEditor(bool) {}
void TextRoundTrip::ExportAndLock() {}
void TextRoundTrip::LockRows(const std::string&) {}
void TextRoundTrip::UnlockRows() {}
void TextRoundTrip::PollTextFile() {}
void TextRoundTrip::ReimportTextFile() {}

}  // namespace morvane
