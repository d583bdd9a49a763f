// Where the help pages answer the program's help requests. The requests keep
// WinHelp's shape (a command with a keyword or a context number) so that a
// "lumrel.hlp" still serves them; without it they go to the HTML pages in the
// "Help" folder beside the program.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumarel {

// WinHelp's command numbers, as the callers pass them.
namespace help_command {
inline constexpr unsigned Quit = 2;
inline constexpr unsigned ContextPopup = 8;
inline constexpr unsigned Finder = 11;
inline constexpr unsigned Key = 257;
}  // namespace help_command

// The keywords the program opens help with.
namespace help_keyword {
inline constexpr const char* Welcome = "Welcome";
inline constexpr const char* Version4 = "Version 4";
inline constexpr const char* Version5 = "Version 5";
inline constexpr const char* Version = "Version";
}  // namespace help_keyword

// Every keyword above, for the check that the pages hold their anchors.
std::span<const char* const> helpKeywords();

// Context numbers of the Bulb Factory editor's controls start here.
inline constexpr int kBulbEditorHelpBase = 2000;

struct HelpTopic {
    std::string page;    // file name in the Help folder
    std::string anchor;  // empty: the top of the page
};

// The page of a keyword: a known keyword's own anchor, else the contents.
HelpTopic helpTopicForKeyword(const char* keyword);
// The page of a control's context number: the page of its window, at the
// control's anchor "c<number>".
HelpTopic helpTopicForContext(uint32_t context);
// Any request; nothing for Quit, which has no page to show.
std::optional<HelpTopic> helpTopicFor(unsigned command, uintptr_t data);

// A "file:" URL of a Windows path, with the anchor when there is one.
std::string helpPageUrl(const std::string& path, const std::string& anchor);

// The command line that opens a URL, from the browser's registered command:
// the URL in place of "%1" (or "%L"), else added at the end in quotes.
std::string browserCommandLine(const std::string& registered, const std::string& url);

}  // namespace lumarel
