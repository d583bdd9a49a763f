#include "ui/bulb_factory.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "base/data_folders.h"
#include "base/failure.h"
#include "base/help_topics.h"
#include "base/message.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/extra_bulb.h"
#include "bulbs/library.h"
#include "bulbs/win_file.h"
#include "engine/bulb_object.h"
#include "engine/flash_state.h"
#include "resources/resource_ids.h"
#include "ui/bulb_editor.h"
#include "ui/bulb_factory_state.h"
#include "ui/settings_store.h"
#include "ui/settings_window.h"

namespace lumarel {

namespace {

constexpr int kTextLimit = 79;
constexpr int kTextFields[] = {IDC_BULB_NAME, IDC_BULB_DESCRIPTION, IDC_BULB_AUTHOR, IDC_BULB_COPYRIGHT};

BulbFactoryHost host;

void writeHeader(const std::string& path, const BulbHeader& header) {
    WinFile file(path.c_str(), true);
    std::vector<uint8_t> bytes = serializeBulbHeader(header);
    file.write(0, bytes.data(), DWORD(bytes.size()));
}

// Fresh state for a bulb; for an add-on bulb the working copy is made and its
// header checked. A failure there leaves the categories editor, whose Save
// then refuses to touch the bulb file.
bool prepare(int32_t key) {
    FactoryState& s = factory();
    s = FactoryState{};
    BulbObject* bulb = findBulbById(key);
    if (!bulb) return false;
    s.key = key;
    s.addOn = bulb->isAddOn();
    if (!s.addOn) return true;
    s.bulbPath = bulb->filePath();
    char folder[MAX_PATH];
    if (!bulbFolder(folder)) return true;
    makeFolderTree(folder);  // the user's bulb folder may not exist yet
    s.folder = folder;
    s.workingCopy = s.folder + kWorkingCopyName;
    try {
        if (!CopyFileA(s.bulbPath.c_str(), s.workingCopy.c_str(), FALSE)) failWithLastError();
        WinFile file(s.workingCopy.c_str(), false);
        FileMapping map(file);
        s.header = workingCopyHeader(map.data(), map.size());
        s.workingCopyReady = true;
        s.full = bulb->editable();
    } catch (const Failure&) {
    }
    return true;
}

const char* templateName() { return factory().full ? "BulbEdit" : "BulbEditCategories"; }

void updateControls() {
    FactoryState& s = factory();
    EditorControls c = editorControls(s.header, s.place, s.flavor);
    HWND d = s.dialog;
    EnableWindow(GetDlgItem(d, IDC_BULB_REMOVE_FLAVOR), c.removeEnabled);
    SetDlgItemTextA(d, IDC_BULB_EXPLANATION, c.explanation);
    SetDlgItemTextA(d, IDC_BULB_HINT, c.hint);
    HWND flavors = GetDlgItem(d, IDC_BULB_FLAVORS);
    EnableWindow(flavors, c.flavorListEnabled);
    SendMessageA(flavors, WM_SETREDRAW, FALSE, 0);
    SendMessageA(flavors, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : c.flavorItems)
        SendMessageA(flavors, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(flavors, LB_SETCURSEL, WPARAM(s.flavor), 0);
    SendMessageA(flavors, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(flavors, nullptr, TRUE);
}

void fillTexts(HWND dialog) {
    const BulbHeader& h = factory().header;
    const char* texts[] = {h.name, h.description, h.author, h.copyright};
    for (int i = 0; i < 4; ++i) {
        SendDlgItemMessageA(dialog, kTextFields[i], EM_LIMITTEXT, kTextLimit, 0);
        SetDlgItemTextA(dialog, kTextFields[i], texts[i]);
    }
}

void readTexts(HWND dialog, BulbHeader& h) {
    char* fields[] = {h.name, h.description, h.author, h.copyright};
    for (int i = 0; i < 4; ++i) {
        char text[kBulbTextSize] = {};
        GetDlgItemTextA(dialog, kTextFields[i], text, kTextLimit + 1);
        memcpy(fields[i], text, sizeof text);
    }
}

void onInit(HWND dialog) {
    FactoryState& s = factory();
    s.dialog = dialog;
    s.place = s.flavor = 0;
    s.loadedIndex = kNoPicture;
    s.preview = {};
    if (host.centreWindow) host.centreWindow(dialog);
    if (s.full) {
        fillTexts(dialog);
        HWND places = GetDlgItem(dialog, IDC_BULB_PLACES);
        for (int i = 0; i < kPlaceCount; ++i)
            SendMessageA(places, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(editorPlace(i).text));
        SendMessageA(places, CB_SETCURSEL, 0, 0);
        setUpPreview(dialog);
        updateControls();
        showCellPicture(true);
    }
    fillCategoryList(dialog);
}

// Runs after Save, Cancel and the close box, and when the editor's window is
// destroyed with its owner (the program exits): nothing of the bulb file
// changes here, and the working copy goes.
void cleanUp() {
    FactoryState& s = factory();
    freePreview();
    s.font.reset();
    if (s.addOn && !s.workingCopy.empty()) DeleteFileA(s.workingCopy.c_str());
    s.dialog = nullptr;
    s.dragging = false;
}

void close(HWND dialog) {
    if (factory().modal)
        EndDialog(dialog, 0);
    else
        DestroyWindow(dialog);
}

bool inArrangement(int32_t key) {
    for (const auto& side : flashState().arrangement)
        for (int32_t id : side)
            if (id == key) return true;
    return false;
}

// Writes the edit to the bulb file. Throws when it cannot; the bulb file is
// then as it was (the compacted copy replaces it in one move, or not at all).
void saveBulb(HWND dialog, BulbObject& bulb) {
    FactoryState& s = factory();
    BulbHeader edited = s.header;
    if (s.full) {
        readTexts(dialog, edited);
        edited.sendPending = 1;
    }
    std::string categories = checkedCategoryText(dialog);
    if (!s.addOn) {
        setIncludedBulbCategories(bulb.name(), categories.c_str());
        return;
    }
    check(s.workingCopyReady);
    // Counts are taken from the cells, so compaction keeps every picture in use.
    recountReferences(edited);
    writeHeader(s.workingCopy, edited);
    s.header = edited;
    appendCategoryBlock(s.workingCopy.c_str(), categories.c_str());
    // A shipped bulb in a folder the program may not write to is saved as the
    // user's own copy, which the bulb reads from now on.
    std::string target = rewritePathOf(dataRoots(), DataKind::Bulbs, s.bulbPath);
    compactBulbOver(s.workingCopy.c_str(), target.c_str(), s.folder.c_str());
    if (target != s.bulbPath) {
        static_cast<ExtraBulbObject&>(bulb).useFile(target.c_str());
        s.bulbPath = target;
    }
}

void onSave(HWND dialog) {
    FactoryState& s = factory();
    BulbObject* bulb = findBulbById(s.key);
    try {
        check(bulb != nullptr);
        saveBulb(dialog, *bulb);
    } catch (const Failure&) {
        showMessage(dialog, "Sorry, the bulb could not be saved. The bulb file has not been changed.",
                    "Cannot Save Bulb", MB_ICONWARNING | MB_OK);
        return;
    }
    try {
        bulb->categoriesChanged();
    } catch (const Failure&) {  // the bulb shows as damaged until the next start
    }
    if (s.full) {
        refreshSettingsAfterBulbChange();
        if (inArrangement(s.key) && host.rebuildBulbWindows) host.rebuildBulbWindows();
    }
    close(dialog);
}

void onChange(HWND dialog) {
    FactoryState& s = factory();
    char path[MAX_PATH] = {};
    try {
        if (!host.chooseFile || !host.chooseFile(dialog, path, sizeof path, "GIF Files\0*.GIF\0")) return;
        // The program may have ended the editor while the file dialog was up.
        if (s.dialog != dialog) return;
        // The header copy changes only once the picture is in.
        BulbHeader edited = s.header;
        WinFile file(s.workingCopy.c_str(), true);
        AddedPicture added = addGifPicture(file, path, edited);
        setCell(edited, s.place, s.flavor, added.index);
        if (s.place == kListPreviewPlace) centrePreviewSquare(edited, added.frameWidth, added.height);
        std::vector<uint8_t> bytes = serializeBulbHeader(edited);
        file.write(0, bytes.data(), DWORD(bytes.size()));
        s.header = edited;
    } catch (const Failure&) {
        showMessage(dialog, "A problem occurred when importing the GIF file. It cannot be used with this bulb.",
                    "Cannot Import GIF File", MB_ICONWARNING | MB_OK);
        return;
    }
    updateControls();
    showCellPicture(true);
}

void onRemoveFlavor() {
    FactoryState& s = factory();
    if (!placeIsSide(s.place) || s.flavor == 0) return;
    try {
        BulbHeader edited = s.header;
        setCell(edited, s.place, s.flavor, kNoPicture);
        writeHeader(s.workingCopy, edited);
        s.header = edited;
    } catch (const Failure&) {
    }
    updateControls();
    showCellPicture();
}

void onPlaceChosen(HWND dialog) {
    FactoryState& s = factory();
    LRESULT place = SendDlgItemMessageA(dialog, IDC_BULB_PLACES, CB_GETCURSEL, 0, 0);
    if (place < 0 || place >= kPlaceCount) return;
    s.place = int(place);
    s.flavor = 0;
    EnableWindow(GetDlgItem(dialog, IDC_BULB_REMOVE_FLAVOR), FALSE);
    showCellPicture();
    updateControls();
}

void onFlavorChosen(HWND dialog) {
    FactoryState& s = factory();
    LRESULT flavor = SendDlgItemMessageA(dialog, IDC_BULB_FLAVORS, LB_GETCURSEL, 0, 0);
    if (flavor < 0 || flavor >= kFlavorCount || !placeIsSide(s.place)) return;
    s.flavor = int(flavor);
    showCellPicture();
    updateControls();
}

void onCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDOK: onSave(dialog); return;
    case IDCANCEL: close(dialog); return;
    case IDC_BULB_NEW_CATEGORY: askNewCategory(dialog); return;
    }
    if (!factory().full) return;
    switch (id) {
    case IDC_BULB_CHANGE: onChange(dialog); return;
    case IDC_BULB_REMOVE_FLAVOR: onRemoveFlavor(); return;
    case IDC_BULB_PLACES:
        if (code == CBN_SELCHANGE) onPlaceChosen(dialog);
        return;
    case IDC_BULB_FLAVORS:
        if (code == LBN_SELCHANGE) onFlavorChosen(dialog);
        return;
    }
}

void onHelp(HWND dialog, const HELPINFO& help) {
    if (help.iContextType != HELPINFO_WINDOW || help.iCtrlId <= 0 || help.iCtrlId == 0xFFFF) return;
    if (host.openHelp) host.openHelp(dialog, HELP_CONTEXTPOPUP, ULONG_PTR(kBulbEditorHelpBase + help.iCtrlId));
}

INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInit(dialog); return TRUE;
    case WM_COMMAND: onCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_CLOSE: close(dialog); return TRUE;
    case WM_HELP: onHelp(dialog, *reinterpret_cast<const HELPINFO*>(lParam)); return TRUE;
    case WM_MEASUREITEM:
        if (wParam != IDC_BULB_CATEGORIES) return FALSE;
        measureCategoryItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == IDC_BULB_CATEGORIES) drawCategoryItem(item);
        else if (wParam == IDC_BULB_PREVIEW) paintPreview(item);
        else return FALSE;
        return TRUE;
    }
    case WM_DESTROY: cleanUp(); return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK factoryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handle(dialog, message, wParam, lParam);
    } catch (...) {
        showMessage(dialog,
                    "Sorry, an unexpected error occurred in Lumarel.\r\n\r\n"
                    "If you cannot tell what caused it, please write to Quorvane support at "
                    "support@quorvane.example and describe what you were doing.",
                    "Unexpected Lumarel Error", MB_ICONERROR | MB_OK);
        return FALSE;
    }
}

}  // namespace

FactoryState& factory() {
    static FactoryState state;
    return state;
}

const BulbFactoryHost& factoryHost() { return host; }
HINSTANCE factoryResources() { return host.resources ? host.resources : GetModuleHandleA(nullptr); }
void setBulbFactoryHost(BulbFactoryHost given) { host = std::move(given); }

HWND bulbFactoryOwner() {
    if (HWND settings = settingsWindow()) return settings;
    return host.mainWindow;
}

HWND bulbFactoryWindow() { return factory().dialog; }

void openBulbFactory(HWND owner, int32_t bulbKey) {
    if (HWND open = factory().dialog) {
        SetForegroundWindow(open);
        return;
    }
    if (!prepare(bulbKey)) return;
    factory().modal = true;
    // A dialog that could not be made never saw WM_DESTROY: its working copy
    // goes here.
    if (DialogBoxParamA(factoryResources(), templateName(), owner, factoryProc, 0) == -1) cleanUp();
}

HWND openBulbFactoryModeless(HWND owner, int32_t bulbKey) {
    if (factory().dialog || !prepare(bulbKey)) return nullptr;
    HWND dialog = CreateDialogParamA(factoryResources(), templateName(), owner, factoryProc, 0);
    if (dialog)
        ShowWindow(dialog, SW_SHOW);
    else
        cleanUp();
    return dialog;
}

void bulbFactoryAnimationStep() {
    FactoryState& s = factory();
    if (!s.dialog || !s.full || s.place == kListPreviewPlace || s.preview.frameCount <= 0) return;
    ++s.animation;
    drawPreview();
}

void cancelBulbFactory() {
    // Ending gives the owner its input back; destroying runs the clean-up now,
    // before anything else of the program goes, and ends a modal loop too.
    HWND dialog = factory().dialog;
    if (!dialog) return;
    if (factory().modal) EndDialog(dialog, 0);
    DestroyWindow(dialog);
}

}  // namespace lumarel
