#include "frame/helpers.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>
#include <optional>
#include <string>

#include "base/failure.h"
#include "base/handles.h"
#include "base/help_topics.h"
#include "base/message.h"
#include "base/text.h"
#include "frame/app.h"

namespace lumarel {

void centreWindow(HWND window) {
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void openHelp(HWND owner, UINT command, const char* keyword) {
    openHelp(owner, command, reinterpret_cast<ULONG_PTR>(keyword));
}

namespace {

// URLs carry UTF-8; our paths are in the ANSI code page.
std::string toUtf8(const std::string& text) {
    WCHAR wide[MAX_PATH * 2];
    int count = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH * 2);
    char utf8[MAX_PATH * 6];
    if (count <= 0 || WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr) <= 0)
        return text;
    return utf8;
}

// A page's anchor survives only when the browser gets the URL itself (opening
// the file through its type drops it), so the URL goes to the program that
// opens web addresses; the page alone through its type when there is none.
bool openInBrowser(HWND owner, const std::string& page, const std::string& anchor) {
    char registered[1024];
    DWORD size = sizeof registered;
    if (SUCCEEDED(AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, "http", "open", registered, &size))) {
        std::string line = browserCommandLine(registered, helpPageUrl(toUtf8(page), anchor));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
            unique_handle process(started.hProcess), thread(started.hThread);
            return true;
        }
    }
    return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

// The HTML page for a request, opened in the user's browser. False when the
// page is not there.
bool openHelpPage(HWND owner, const char* folder, UINT command, ULONG_PTR data) {
    std::optional<HelpTopic> topic = helpTopicFor(command, data);
    if (!topic) return true;  // nothing to show, nothing missing
    std::string page = std::string(folder) + "Help\\" + topic->page;
    DWORD attributes = GetFileAttributesA(page.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (!openInBrowser(owner, page, topic->anchor))
        showMessage(owner,
                    ("Lumarel could not open its help in your Web browser. You can open the page "
                     "yourself:\r\n\r\n" + page).c_str(),
                    "Lumarel Help", MB_ICONWARNING | MB_OK);
    return true;
}

}  // namespace

void openHelp(HWND owner, UINT command, ULONG_PTR data) {
    char folder[MAX_PATH];
    programPath(folder, true);
    char path[MAX_PATH];
    try {
        boundedCopy(path, sizeof path, folder);
        boundedAppend(path, sizeof path, "lumrel.hlp");
    } catch (const Failure&) {
        path[0] = '\0';
    }
    unique_file file(path[0] ? CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)
                             : INVALID_HANDLE_VALUE);
    if (file) {
        file.reset();
        WinHelpA(owner, path, command, data);
        if (command == HELP_QUIT)
            app().helpOpen = false;
        else if (command != HELP_CONTEXTPOPUP)
            app().helpOpen = true;
        return;
    }
    // WinHelp is gone from current Windows: the same request opens our HTML pages.
    if (openHelpPage(owner, folder, command, data)) return;
    showMessage(owner,
                "Some parts of Lumarel, including the Help files, cannot be found.\r\n\r\n"
                "Please run the Lumarel setup program again to restore them; you can download "
                "it from the Quorvane Web site.",
                "Lumarel Help Files Missing", MB_ICONWARNING | MB_OK);
}

bool midiVolumeTooLow(DWORD volume) {
    return LOWORD(volume) < 0x1000 && HIWORD(volume) < 0x1000;
}

void checkMidiVolume(HWND owner) {
    DWORD volume = 0;
    if (midiOutGetVolume(reinterpret_cast<HMIDIOUT>(1), &volume) != MMSYSERR_NOERROR) return;
    if (!midiVolumeTooLow(volume)) return;
    if (showMessage(owner,
                    "The MIDI (or \"synthesizer\") volume on your sound card is set to play very "
                    "quietly.\r\nYou might not be able to hear any music.\r\n\r\n"
                    "Do you want to adjust the volume?",
                    "Low MIDI Volume", MB_ICONQUESTION | MB_YESNO) == IDYES)
        ShellExecuteA(owner, "open", "Sndvol32.exe", nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace lumarel
