#include "ops/rename/TemporaryName.h"

#include "host/Messages.h"

namespace morvane {

std::string TemporaryName(std::uint32_t counter, std::string_view name, std::size_t nameMax) {
    std::string temp = FormatText("%08x[MORVANE]_", counter);
    std::size_t room = nameMax > temp.size() ? nameMax - temp.size() : 0;
    if (name.size() > room) {
        // Back to the start of a UTF-8 sequence, so the name stays readable.
        while (room > 0 && (static_cast<unsigned char>(name[room]) & 0xC0) == 0x80)
            --room;
        name = name.substr(0, room);
    }
    return temp.append(name);
}

}  // namespace morvane
