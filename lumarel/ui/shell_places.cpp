#include "ui/shell_places.h"

#include <cctype>

namespace lumarel {

namespace {

constexpr std::string_view kSaverFileName = "Lumarel.scr";
constexpr std::string_view kShortcutWord = "lumarel";
constexpr std::string_view kShortcutEnding = ".lnk";

char lower(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool containsNoCase(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return false;
    for (size_t at = 0; at + word.size() <= text.size(); ++at)
        if (sameNoCase(text.substr(at, word.size()), word)) return true;
    return false;
}

}  // namespace

std::string joinShellPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return {};
    std::string path(folder);
    if (path.back() != '\\') path += '\\';
    path += name;
    if (path.size() >= kShellPathSize) return {};
    return path;
}

std::array<ClassValue, 4> bulbClassValues(std::string_view programPath) {
    std::string program(programPath);
    return {{
        {".bul", "Lumarel.Bulb"},
        {"Lumarel.Bulb", "Lumarel Bulb"},
        {"Lumarel.Bulb\\DefaultIcon", program + ",-2"},
        {"Lumarel.Bulb\\shell\\open\\command", "\"" + program + "\" open %1"},
    }};
}

bool isStartupShortcutName(std::string_view longName) {
    if (longName.size() < kShortcutEnding.size()) return false;
    std::string_view stem = longName.substr(0, longName.size() - kShortcutEnding.size());
    return sameNoCase(longName.substr(stem.size()), kShortcutEnding) && containsNoCase(stem, kShortcutWord);
}

std::vector<SaverPlace> saverPlaces(std::string_view systemFolder, std::string_view wow64Folder,
                                    std::string_view localAppData) {
    std::vector<SaverPlace> places;
    std::string system = joinShellPath(wow64Folder.empty() ? systemFolder : wow64Folder, kSaverFileName);
    if (!system.empty()) places.push_back({system, {}});
    std::string company = joinShellPath(localAppData, "Quorvane");
    std::string own = joinShellPath(company, "Lumarel");
    std::string file = joinShellPath(own, kSaverFileName);
    if (!file.empty()) places.push_back({file, {company, own}});
    return places;
}

}  // namespace lumarel
