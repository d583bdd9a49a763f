#include "music/music_box.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "base/message.h"
#include "base/data_folders.h"
#include "music/media_graph.h"
#include "music/music_logic.h"
#include "music/music_texts.h"
#include "music/song_folder.h"
#include "music/song_list.h"

namespace lumarel {

namespace {

MusicHost& host() {
    static MusicHost h;
    return h;
}

// The song folders, the one that wins on equal names last. A host's own
// folder (the tests') stands for both.
std::vector<std::string> songFolders() {
    const MusicHost& h = host();
    if (!h.musicFolder.empty()) return {h.musicFolder};
    return dataReadFolders(DataKind::Music);
}

// The folder holding a song, the winning folder first; the last folder
// when none holds it.
std::string folderOfSong(const char* name) {
    std::vector<std::string> folders = songFolders();
    std::string holder = folderHolding(folders, name);
    return !holder.empty() ? holder : folders.empty() ? std::string() : folders.back();
}

// Where added songs and the reset file go.
std::string writeFolder() {
    const MusicHost& h = host();
    if (!h.musicFolder.empty()) return h.musicFolder;
    char folder[MAX_PATH];
    return dataWriteFolder(DataKind::Music, folder) ? folder : std::string();
}

std::vector<uint8_t> resetResource() {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, "MIDIRESET", MAKEINTRESOURCEA(10));  // RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return {};
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found));
}

class Win32Player final : public SongPlayer {
public:
    uint32_t mciOpen(const char* path, bool sequencer, uint32_t& device) override {
        MCI_OPEN_PARMSA open{};
        open.lpstrElementName = path;
        DWORD flags = MCI_OPEN_ELEMENT;
        if (sequencer) {
            open.lpstrDeviceType = "sequencer";
            flags |= MCI_OPEN_TYPE;
        }
        MCIERROR error = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open));
        if (!error) device = open.wDeviceID;
        return error;
    }
    uint32_t mciPlay(uint32_t device) override {
        MCI_PLAY_PARMS play{};
        play.dwCallback = reinterpret_cast<DWORD_PTR>(host().window);
        return mciSendCommandA(MCIDEVICEID(device), MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
    }
    void mciClose(uint32_t device) override { mciSendCommandA(MCIDEVICEID(device), MCI_CLOSE, MCI_WAIT, 0); }
    bool mediaPlay(const char* path) override { return graph_.play(path, host().window, host().mediaMessage); }
    void mediaRelease() override { graph_.release(); }
    std::string songFolder(const std::string& name) override { return folderOfSong(name.c_str()); }
    std::string resetFolder() override { return writeFolder(); }
    void resolve(char (&path)[260]) override {
        if (host().resolveShortcut) host().resolveShortcut(path);
    }
    bool resetFileCurrent() override {
        std::vector<uint8_t> bytes = resetResource();
        return bytes.empty() || fileHoldsBytes(resetPath().c_str(), bytes);
    }
    void writeResetFile() override {
        std::vector<uint8_t> bytes = resetResource();
        if (bytes.empty()) return;
        makeFolderTree(writeFolder());
        writeHiddenFile(resetPath().c_str(), bytes);
    }
    bool settingsOpen() override { return host().settingsWindow && host().settingsWindow() != nullptr; }
    void showMessage(const char* text, const char* title) override {
        lumarel::showMessage(GetFocus(), text, title, MB_ICONWARNING | MB_OK);
    }
    void waitCursor(bool on) override {
        if (on) {
            saved_ = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
        } else {
            SetCursor(saved_);
        }
    }
    uint32_t tickCount() override { return GetTickCount(); }
    int random() override { return rand(); }
    int runMode() override { return host().runMode ? host().runMode() : 0; }

    MediaGraph& graph() { return graph_; }

private:
    std::string resetPath() const { return writeFolder() + music_text::kResetFile; }

    MediaGraph graph_;
    HCURSOR saved_ = nullptr;
};

Win32Player& player() {
    static Win32Player p;
    return p;
}

MusicBox& box() {
    static MusicBox b(player(), songList());
    return b;
}

}  // namespace

void setMusicHost(MusicHost h) { host() = std::move(h); }

void buildSongList() {
    const MusicHost& h = host();
    songList() = scanSongFolders(songFolders(), [&](char (&path)[MAX_PATH]) {
        if (h.resolveShortcut) h.resolveShortcut(path);
    });
    if (h.loadChoices) h.loadChoices();
}

void startMusic() {
    buildSongList();
    box().chooseAndPlay();
}

void stopMusic() { box().stop(); }
void redecideMusic() { box().chooseAndPlay(); }
void checkSongDeadline() { box().tick(); }
void musicDeviceNotice(UINT code, UINT device) { box().mciNotice(code, device); }

void drainMediaEvents() {
    // A notice posted before the graph was released finds nothing to drain.
    if (!player().graph().exists()) return;
    if (player().graph().drainEnded()) box().mediaEnded();
}

void playSongNow(size_t index) { box().playSong(index); }

void stopSongNamed(const char* name) {
    if (box().playing() && box().currentSong() == name) box().stop();
}

bool enableSong(const char* name, bool enabled) {
    for (Song& song : songList()) {
        if (song.name == name) {
            song.enabled = enabled;
            box().chooseAndPlay();
            return true;
        }
    }
    return false;
}

void changePlayMode(int32_t mode) {
    setMusicPlayMode(mode);
    box().chooseAndPlay();
}

void addSongs(const std::vector<std::string>& paths, bool songsOnly) {
    copySongFiles(writeFolder(), songFolders(), paths, songsOnly);
    buildSongList();
}

void addDroppedSongs(HDROP drop) {
    std::vector<std::string> paths;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH];
        if (DragQueryFileA(drop, i, path, MAX_PATH)) paths.push_back(path);
    }
    addSongs(paths, true);
}

bool addSongWithDialog(HWND owner) {
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = music_text::kAddSongFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&dialog)) return false;
    addSongs({path}, false);
    return true;
}

void musicFolderPath(char (&path)[MAX_PATH]) {
    const std::string folder = writeFolder();
    size_t n = folder.size() < MAX_PATH ? folder.size() : MAX_PATH - 1;
    memcpy(path, folder.data(), n);
    path[n] = '\0';
}

bool musicFilePath(const char* name, char (&path)[MAX_PATH]) {
    std::string file = folderOfSong(name) + name;
    if (file.size() >= MAX_PATH || file == name) return false;
    memcpy(path, file.c_str(), file.size() + 1);
    return true;
}

}  // namespace lumarel
