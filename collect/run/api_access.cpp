#include "collect/run/api_access.h"

#include "text/search.h"

#include <windows.h>

namespace quorvane {

namespace {

// A record of our own item-data service, so that a fresh install can run.
constexpr std::string_view kBuiltInKey = "quorvane-99";
constexpr std::string_view kBuiltInSecret = "quorvane-item-data";

enum class FileRead { Missing, Unreadable, Read };

FileRead readWholeFile(const std::wstring& path, std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                              : FileRead::Unreadable;
    }
    FileRead result = FileRead::Read;
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            result = FileRead::Unreadable;
            break;
        }
        if (got == 0) break;
        content.append(buffer, got);
    }
    CloseHandle(file);
    return result;
}

}  // namespace

ApiAccessList parseApiAccessList(std::string_view text) {
    ApiAccessList list;
    for (std::string line : splitText(text, "\n")) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = trimText(line);
        if (line.empty() || line.front() == '#') continue;
        const auto comma = line.find(',');
        if (comma == std::string::npos) continue;
        ApiAccessRecord record{trimText(line.substr(0, comma)), trimText(line.substr(comma + 1))};
        if (record.key.empty() || record.secret.empty()) continue;
        list.push_back(std::move(record));
    }
    return list;
}

ApiAccessList builtInApiAccessList() { return {{std::string(kBuiltInKey), std::string(kBuiltInSecret)}}; }

ApiAccessList loadApiAccessList(const std::wstring& optionsFolder) {
    const std::wstring path = optionsFolder + std::wstring(kApiAccessFileName.begin(), kApiAccessFileName.end());
    std::string content;
    switch (readWholeFile(path, content)) {
        case FileRead::Missing: return builtInApiAccessList();
        case FileRead::Unreadable: return {};
        case FileRead::Read: break;
    }
    return parseApiAccessList(content);
}

std::string apiAccessRefusal(const ApiAccessList& list) {
    if (!list.empty()) return {};
    return "没有可用的接口授权记录，不能生成数据包。\r\n请在 options\\api_access.txt 中每行写一条记录（key,secret），然后重新启动程序。";
}

}  // namespace quorvane
