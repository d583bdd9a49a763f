// Checks the help pages against the program: every page and anchor the
// program can ask for exists, and every link and picture of the pages leads
// somewhere. What the program asks for is read from its own sources: the
// keywords from the help table, the context numbers from the controls of the
// dialogs whose question-mark help opens the pages.
// Usage: help_check <repository root> [context number...]: the numbers, read
// from a running window by a test, are checked as well. Prints each fault;
// exits 1 on any.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/help_topics.h"

namespace fs = std::filesystem;
using namespace lumarel;

namespace {

// The dialogs whose controls open help, with what their numbers add.
const std::map<std::string, uint32_t> kHelpDialogs = {
    {"SETTINGS", 0}, {"BulbEdit", kBulbEditorHelpBase}, {"BulbEditCategories", kBulbEditorHelpBase}};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, long> readDefines(const fs::path& header) {
    std::map<std::string, long> defines = {{"IDOK", 1}, {"IDCANCEL", 2}};
    std::regex define(R"(^\s*#define\s+(\w+)\s+(-?\d+))");
    std::istringstream lines(readFile(header));
    std::smatch m;
    for (std::string line; std::getline(lines, line);)
        if (std::regex_search(line, m, define)) defines[m[1]] = std::stol(m[2]);
    return defines;
}

// The control number of one resource statement, or nothing for a label
// without one (-1) or a line that starts no control.
std::optional<long> controlNumber(const std::string& line, const std::map<std::string, long>& defines) {
    static const std::regex withText(
        R"(^\s*(CONTROL|LTEXT|RTEXT|CTEXT|PUSHBUTTON|DEFPUSHBUTTON|GROUPBOX|CHECKBOX|AUTOCHECKBOX|RADIOBUTTON|AUTORADIOBUTTON)\s+"(?:[^"]|"")*"\s*,\s*([\w-]+))");
    static const std::regex withoutText(R"(^\s*(EDITTEXT|COMBOBOX|LISTBOX|SCROLLBAR)\s+([\w-]+))");
    std::smatch m;
    if (!std::regex_search(line, m, withText) && !std::regex_search(line, m, withoutText)) return std::nullopt;
    std::string id = m[2];
    long number;
    if (auto found = defines.find(id); found != defines.end())
        number = found->second;
    else if (!id.empty() && (isdigit(static_cast<unsigned char>(id[0])) || id[0] == '-'))
        number = std::stol(id);
    else
        return std::nullopt;  // an unknown name: the resource compiler reports it
    if (number == -1 || number == 0xFFFF) return std::nullopt;
    return number;
}

struct Request {
    std::string what;  // who asks, for the report
    HelpTopic topic;
};

std::vector<Request> contextRequests(const fs::path& resources) {
    auto defines = readDefines(resources / "resource_ids.h");
    std::vector<Request> requests;
    static const std::regex dialogStart(R"(^(\w+)\s+DIALOG(EX)?\b)");
    for (const auto& entry : fs::directory_iterator(resources)) {
        if (entry.path().extension() != ".rc") continue;
        std::istringstream lines(readFile(entry.path()));
        std::string dialog;
        bool inBody = false;
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (std::regex_search(line, m, dialogStart)) {
                dialog = m[1];
                inBody = false;
                continue;
            }
            if (dialog.empty()) continue;
            if (line.rfind("BEGIN", 0) == 0) inBody = true;
            if (line.rfind("END", 0) == 0) dialog.clear();
            auto base = kHelpDialogs.find(dialog);
            if (!inBody || base == kHelpDialogs.end()) continue;
            if (auto number = controlNumber(line, defines)) {
                uint32_t context = base->second + uint32_t(*number);
                requests.push_back({dialog + " control " + std::to_string(*number) + " (context " +
                                        std::to_string(context) + ")",
                                    helpTopicForContext(context)});
            }
        }
    }
    return requests;
}

bool hasAnchor(const std::string& page, const std::string& anchor) {
    return page.find("id=\"" + anchor + "\"") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: help_check <repository root> [context number...]\n");
        return 2;
    }
    fs::path root = argv[1];
    fs::path help = root / "help";
    std::vector<Request> requests = contextRequests(root / "lumarel" / "resources");
    size_t dialogControls = requests.size();
    for (const char* keyword : helpKeywords())
        requests.push_back({std::string("keyword \"") + keyword + "\"", helpTopicForKeyword(keyword)});
    requests.push_back({"the contents", *helpTopicFor(help_command::Finder, 0)});
    for (int i = 2; i < argc; ++i)
        requests.push_back({std::string("context ") + argv[i], helpTopicForContext(uint32_t(strtoul(argv[i], nullptr, 10)))});

    int faults = 0;
    auto fault = [&](const std::string& text) {
        printf("help: %s\n", text.c_str());
        ++faults;
    };
    if (dialogControls == 0) fault("no dialog controls found in lumarel/resources: the check reads nothing");
    for (const Request& request : requests) {
        fs::path page = help / request.topic.page;
        if (!fs::is_regular_file(page))
            fault(request.what + " opens " + request.topic.page + ", which is missing");
        else if (!request.topic.anchor.empty() && !hasAnchor(readFile(page), request.topic.anchor))
            fault(request.what + " opens " + request.topic.page + "#" + request.topic.anchor +
                  ", which has no such anchor");
    }

    // Links and pictures between the pages.
    static const std::regex reference(R"((href|src)="([^"#:]*)(#([^"]*))?")");
    for (const auto& entry : fs::directory_iterator(help)) {
        if (entry.path().extension() != ".html") continue;
        std::string text = readFile(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
            std::string target = (*it)[2], anchor = (*it)[4];
            fs::path file = target.empty() ? entry.path() : help / target;
            std::string from = entry.path().filename().string();
            if (!fs::is_regular_file(file))
                fault(from + " refers to " + target + ", which is missing");
            else if (!anchor.empty() && file.extension() == ".html" && !hasAnchor(readFile(file), anchor))
                fault(from + " links to " + file.filename().string() + "#" + anchor + ", which has no such anchor");
        }
    }
    printf("help: %zu requests checked (%zu dialog controls), %d faults\n", requests.size(), dialogControls, faults);
    return faults ? 1 : 0;
}
