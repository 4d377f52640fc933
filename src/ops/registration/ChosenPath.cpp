#include "ops/registration/ChosenPath.h"

#include <vector>

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "platform/FileSystem.h"
#include "platform/Utf16.h"

namespace morvane {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool HasReplacement(std::string_view text) {
    return text.find(kReplacement) != std::string_view::npos;
}

}  // namespace

std::string ShownAsQtDecodes(std::string_view bytes) {
    std::string shown;
    shown.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::uint32_t cp = 0;
        const std::size_t length = detail::DecodeUtf8(bytes, i, &cp);
        // Valid text never decodes to a lone low surrogate: that is a stray byte.
        if (length == 1 && cp >= 0xDC80 && cp <= 0xDCFF)
            shown += kReplacement;
        else
            shown.append(bytes.substr(i, length));
        i += length;
    }
    return shown;
}

std::optional<std::string> ResolveChosenPath(FileSystem& fs, ActivityLog& log,
                                             const std::string& shown, LastComponent last) {
    if (!HasReplacement(shown))
        return shown;
    std::string resolved;
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= shown.size()) {
        std::size_t end = shown.find('/', start);
        if (end == std::string::npos)
            end = shown.size();
        const std::string_view component = std::string_view(shown).substr(start, end - start);
        // The folder the component is in, as the file system takes it.
        const std::string folder = !resolved.empty() ? resolved : start > 0 ? "/" : ".";
        if (start > 0)
            resolved += '/';
        if (!HasReplacement(component)) {
            resolved += component;
            start = end + 1;
            continue;
        }
        names.clear();
        if (!fs.ListFolder(folder, &names).Ok()) {
            log.AppendLog(FormatText(msg::kFolderUnreadable, folder.c_str()));
            return std::nullopt;
        }
        const std::string* match = nullptr;
        for (const std::string& name : names) {
            if (ShownAsQtDecodes(name) != component)
                continue;
            if (match != nullptr) {
                log.AppendLog(FormatText(msg::kChosenPathAmbiguous, shown.c_str()));
                return std::nullopt;
            }
            match = &name;
        }
        const bool isLast = end == shown.size();
        if (match != nullptr) {
            resolved += *match;
        } else if (isLast && last == LastComponent::MayBeNew) {
            resolved += component;
        } else {
            log.AppendLog(FormatText(msg::kChosenPathNotFound, shown.c_str()));
            return std::nullopt;
        }
        start = end + 1;
    }
    return resolved;
}

}  // namespace morvane
