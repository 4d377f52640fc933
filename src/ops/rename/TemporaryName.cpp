#include "ops/rename/TemporaryName.h"

#include "host/Messages.h"

namespace morvane {

std::string TemporaryName(std::uint32_t counter, std::string_view name, const NameLimit& limit) {
    std::string temp = FormatText("%08x[MORVANE]_", counter);
    // The mark is ASCII: as many bytes as UTF-16 units.
    const std::size_t room = limit.Max() > temp.size() ? limit.Max() - temp.size() : 0;
    return temp.append(limit.Prefix(name, room));
}

}  // namespace morvane
