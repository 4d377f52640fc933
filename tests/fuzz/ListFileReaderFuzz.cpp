// libFuzzer entry for the list-file reader: any bytes must be read without touching memory
// outside them, and whatever reads cleanly must survive a write and a second read unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "formats/ListFileReader.h"
#include "formats/ListFileWriter.h"

using morvane::listfile::ListFileReader;
using morvane::listfile::ListFileRecord;
using morvane::listfile::ListFileWriter;

namespace {

std::vector<ListFileRecord> ReadAll(std::string_view data, ListFileReader::Result* last) {
    std::vector<ListFileRecord> records;
    ListFileReader reader(data);
    *last = ListFileReader::Result::Damaged;
    if (!reader.ReadHeader())
        return records;
    ListFileRecord record;
    while ((*last = reader.ReadRecord(&record)) == ListFileReader::Result::Record)
        records.push_back(record);
    if (reader.RecordsRead() > reader.RecordCount())
        std::abort();
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ListFileReader::Result last;
    const std::vector<ListFileRecord> records = ReadAll(bytes, &last);
    if (last != ListFileReader::Result::End)
        return 0;

    ListFileWriter writer;
    for (const auto& r : records) {
        if (!writer.AddRecord(r.path, r.newName))
            std::abort();
    }
    const std::string again = writer.Finish();
    ListFileReader::Result lastAgain;
    const std::vector<ListFileRecord> back = ReadAll(again, &lastAgain);
    if (lastAgain != ListFileReader::Result::End || back.size() != records.size())
        std::abort();
    for (std::size_t i = 0; i < back.size(); ++i) {
        if (back[i].path != records[i].path || back[i].newName != records[i].newName)
            std::abort();
    }
    return 0;
}
