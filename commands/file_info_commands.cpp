// GetFileSize and GetFileTime: what the directory says about the first entry matching a name.
#include <windows.h>

#include "commands/system_commands.h"

#include <cstring>
#include <optional>
#include <string>

#include "commands/calendar.h"
#include "commands/command_values.h"

namespace ruvelto::core_commands {
namespace {

// The first directory entry matching the name, which may hold wildcards; the search is closed.
std::optional<WIN32_FIND_DATAA> FirstMatch(std::string_view name) {
    const std::string pattern(name);
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(search);
    return found;
}

void SetDateTime(ValueRecord* result, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    result->lo = static_cast<uint32_t>(bits);
    result->hi = static_cast<uint32_t>(bits >> 32);
    result->type = kTypeDateTime;
}

}  // namespace

void GetFileSize(ValueRecord* result, int32_t count, ValueRecord* args) {
    const std::optional<WIN32_FIND_DATAA> entry = FirstMatch(commands::Arguments(count, args).Text(0));
    // Sizes of 4 GiB and more wrap: only the low word fits the result.
    commands::SetInt(result, entry ? static_cast<int32_t>(entry->nFileSizeLow) : -1);
}

void GetFileTime(ValueRecord* result, int32_t count, ValueRecord* args) {
    const std::optional<WIN32_FIND_DATAA> entry = FirstMatch(commands::Arguments(count, args).Text(0));
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!entry || !FileTimeToLocalFileTime(&entry->ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &fields)) {
        SetDateTime(result, commands::kEarliestDateTime);
        return;
    }
    commands::CalendarTime time;
    time.year = fields.wYear;
    time.month = fields.wMonth;
    time.day = fields.wDay;
    time.hour = fields.wHour;
    time.minute = fields.wMinute;
    time.second = fields.wSecond;
    SetDateTime(result, commands::JoinDateTime(time));
}

}  // namespace ruvelto::core_commands
