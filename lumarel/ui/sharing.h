// Sending bulbs from the settings window: its Sharing page, the sharing
// dialog ("SHARING") where the sender vouches for the artwork, the progress
// dialog ("UPLOAD") that runs the worker, and the link label.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace lumarel {

class BulbObject;

inline constexpr const char* kSharingPickText =
    "To send a bulb, just click the name in the list to the left, then click \"Send Bulb\".";
inline constexpr const char* kSharingNoBulbsText =
    "No bulbs are currently available to send, because you haven't created any of your own bulbs yet. Choose "
    "\"Add Bulb\" in the Bulb Factory tab to create your own bulbs.";
inline constexpr const char* kSharingAlreadySentText = "The selected bulb has already been sent to the Quorvane Web site.";

// The Sharing page of the settings window `page`: fills the list with every
// bulb that can be sent, then sets the status text and the Send button.
void fillSharingList(HWND page);
void updateSharingStatus(HWND page);
// The page's commands (list, Send button, link label); false for others.
bool onSharingCommand(HWND page, int id, int notice);
// Opens the sharing dialog for a bulb; it posts kSendBulbRequest (with the
// bulb's id) to `settings` when the user chose Send.
void openSharingDialog(HWND settings, BulbObject* bulb);
// The settings window's answer to kSendBulbRequest: the progress dialog,
// then the bulb reread from its file and the page refilled.
void sendBulbFromSettings(HWND settings, int32_t bulbId);

// The bulb server named by the "Bulb Server" setting, else ours.
std::string bulbServerSetting();

// A link label: a static control drawn by its owner (see splitLinkLabel).
void drawLinkLabel(const DRAWITEMSTRUCT& item);
// Opens the label's target with the shell; true when that worked.
bool openLinkLabel(HWND label);

}  // namespace lumarel
