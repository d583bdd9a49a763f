#include "base/help_topics.h"

#include <cstdio>
#include <cstring>

namespace lumarel {

namespace {

constexpr const char* kContents = "index.html";

struct KeywordPage {
    const char* keyword;
    const char* page;
    const char* anchor;
};

constexpr KeywordPage kKeywordPages[] = {
    {help_keyword::Welcome, "welcome.html", "welcome"},
    {help_keyword::Version4, "whats-new.html", "version-4"},
    {help_keyword::Version5, "whats-new.html", "version-5"},
    {help_keyword::Version, "whats-new.html", "version"},
};

constexpr const char* kKeywords[] = {help_keyword::Welcome, help_keyword::Version4, help_keyword::Version5,
                                     help_keyword::Version};

// The settings window numbers its controls by page, a hundred to a page;
// the theme buttons have a page of their own in the help.
struct ContextRange {
    uint32_t first, last;
    const char* page;
};

constexpr ContextRange kContextPages[] = {
    {100, 199, "settings-bulbs.html"},
    {200, 299, "settings-music.html"},
    {300, 399, "settings-saver.html"},
    {400, 499, "sharing.html"},
    {500, 599, "settings-general.html"},
    {701, 702, "themes.html"},
    {kBulbEditorHelpBase, kBulbEditorHelpBase + 999, "bulb-factory.html"},
};

// Controls outside the pages (OK, Cancel, tabs, Help, the hint) and labels
// without a number of their own open the window's page.
constexpr const char* kSettingsPage = "settings.html";
constexpr uint32_t kWindowControls[] = {1, 2, 50, 51, 60};

}  // namespace

std::span<const char* const> helpKeywords() { return kKeywords; }

HelpTopic helpTopicForKeyword(const char* keyword) {
    if (keyword)
        for (const KeywordPage& entry : kKeywordPages)
            if (strcmp(entry.keyword, keyword) == 0) return {entry.page, entry.anchor};
    return {kContents, ""};
}

HelpTopic helpTopicForContext(uint32_t context) {
    std::string anchor = "c" + std::to_string(context);
    for (const ContextRange& range : kContextPages)
        if (context >= range.first && context <= range.last) return {range.page, anchor};
    for (uint32_t control : kWindowControls)
        if (context == control) return {kSettingsPage, anchor};
    return {kSettingsPage, ""};
}

std::optional<HelpTopic> helpTopicFor(unsigned command, uintptr_t data) {
    switch (command) {
    case help_command::Quit: return std::nullopt;
    case help_command::Key: return helpTopicForKeyword(reinterpret_cast<const char*>(data));
    case help_command::ContextPopup: return helpTopicForContext(uint32_t(data));
    }
    return HelpTopic{kContents, ""};
}

std::string helpPageUrl(const std::string& path, const std::string& anchor) {
    std::string url = "file:///";
    for (unsigned char c : path) {
        if (c == '\\') {
            url += '/';
        } else if (c <= ' ' || c >= 0x7F || strchr("#%?\"<>|^`{}", c)) {
            char escaped[4];
            snprintf(escaped, sizeof escaped, "%%%02X", c);
            url += escaped;
        } else {
            url += char(c);
        }
    }
    if (!anchor.empty()) url += "#" + anchor;
    return url;
}

std::string browserCommandLine(const std::string& registered, const std::string& url) {
    for (const char* placeholder : {"%1", "%L", "%l"}) {
        size_t at = registered.find(placeholder);
        if (at != std::string::npos) return registered.substr(0, at) + url + registered.substr(at + 2);
    }
    return registered + " \"" + url + "\"";
}

}  // namespace lumarel
