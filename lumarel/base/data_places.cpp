#include "base/data_places.h"

#include <map>

#include "base/text.h"

namespace lumarel {

namespace {

bool endsWithSeparator(std::string_view path) { return !path.empty() && (path.back() == '\\' || path.back() == '/'); }

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return compareNoCase(a.c_str(), b.c_str()) < 0;
    }
};

}  // namespace

const char* dataFolderName(DataKind kind) {
    switch (kind) {
        case DataKind::Bulbs: return "Lumarel Bulbs\\";
        case DataKind::Music: return "Lumarel Music\\";
        case DataKind::Pictures: return "Lumarel Pictures\\";
    }
    return "";
}

std::string joinFolder(std::string_view folder, std::string_view name) {
    if (folder.empty()) return {};
    std::string path(folder);
    if (!endsWithSeparator(path)) path += '\\';
    path += name;
    return path;
}

std::string userDataRoot(std::string_view appData) { return joinFolder(appData, "Lumarel\\"); }

std::string writeFolderOf(const DataRoots& roots, DataKind kind) {
    bool beside = roots.programWritable || roots.user.empty();
    return joinFolder(beside ? roots.program : roots.user, dataFolderName(kind));
}

std::vector<std::string> readFoldersOf(const DataRoots& roots, DataKind kind) {
    std::vector<std::string> folders;
    for (const std::string* root : {&roots.program, &roots.user}) {
        std::string folder = joinFolder(*root, dataFolderName(kind));
        if (folder.empty()) continue;
        if (!folders.empty() && equalsNoCase(folders.back().c_str(), folder.c_str())) continue;
        folders.push_back(std::move(folder));
    }
    return folders;
}

std::string rewritePathOf(const DataRoots& roots, DataKind kind, std::string_view path) {
    size_t slash = path.find_last_of("\\/");
    if (roots.programWritable || roots.user.empty() || slash == std::string_view::npos) return std::string(path);
    std::string folder(path.substr(0, slash + 1));
    std::string shipped = joinFolder(roots.program, dataFolderName(kind));
    if (!equalsNoCase(folder.c_str(), shipped.c_str())) return std::string(path);
    return joinFolder(roots.user, dataFolderName(kind)) + std::string(path.substr(slash + 1));
}

std::vector<ListedName> mergeListings(const std::vector<std::vector<std::string>>& listings) {
    std::map<std::string, size_t, NoCaseLess> winner;  // name as the winning folder spells it
    for (size_t folder = 0; folder < listings.size(); ++folder) {
        for (const std::string& name : listings[folder]) {
            auto found = winner.find(name);
            if (found != winner.end() && found->second != folder) winner.erase(found);
            winner.emplace(name, folder);  // a folder's own repeat keeps its first spelling
        }
    }
    std::vector<ListedName> merged;
    merged.reserve(winner.size());
    for (const auto& [name, folder] : winner) merged.push_back({name, folder});
    return merged;
}

}  // namespace lumarel
