// Sending a bulb to a bulb server over HTTP: the bytes of both requests, the
// reading of the server's replies, and the texts the user sees. No Windows
// header: the worker thread (bulb_upload) does the sockets, this does the
// text, and both are tested natively. Replies are outside data: nothing here
// reads past the bytes it was given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumarel {

// Our bulb server, and the registry value that names another one ("host" or
// "host:port") in the settings key.
inline constexpr const char* kDefaultBulbServer = "bulbs.quorvane.example";
constexpr uint16_t kDefaultBulbServerPort = 80;
inline constexpr const char* kBulbServerSetting = "Bulb Server";

inline constexpr const char* kBulbPagePath = "/bulbsend.htm";
inline constexpr const char* kBoundary = "---------------------------294472957423072";
constexpr size_t kChunkSize = 1536;
// The page's reply is read up to this many bytes, the upload's answer up to
// kUploadAnswerLimit; never more.
constexpr size_t kPageReplyLimit = 1023;
constexpr size_t kUploadAnswerLimit = 1024;
// Characters of the bulb's name that go into the upload's file name.
constexpr size_t kUploadNameChars = 19;

// Progress messages from the worker to the progress dialog (posted).
constexpr unsigned kSendChunkCount = 1034;  // wparam: number of chunks
constexpr unsigned kSendChunkSent = 1035;
constexpr unsigned kSendOpeningSocket = 1036;
constexpr unsigned kSendLookingUp = 1037;
constexpr unsigned kSendConnecting = 1038;
constexpr unsigned kSendSending = 1039;
constexpr unsigned kSendFinished = 1040;  // wparam: a SendOutcome
// The sharing dialog asks the settings window to send a bulb (lparam: the bulb).
constexpr unsigned kSendBulbRequest = 1041;

enum class SendOutcome : int { Sent = 0, Failed = 1, Cancelled = 2 };

inline constexpr const char* kStatusStarting = "Starting Winsock services...";
inline constexpr const char* kStatusOpeningSocket = "Opening socket...";
inline constexpr const char* kStatusLookingUp = "Looking up host name...";
inline constexpr const char* kStatusConnecting = "Connecting to Quorvane...";
inline constexpr const char* kStatusSending = "Sending bulb...";
inline constexpr const char* kStatusCanceling = "Canceling, please wait...";

inline constexpr const char* kServerMessageTitle = "Message from the Bulb Server";
inline constexpr const char* kSentTitle = "Bulb Sent";
inline constexpr const char* kSentText =
    "Thanks! The bulb was sent to Quorvane.\r\n\r\nWe will review it and make it available on our Web site as "
    "soon as possible.";
inline constexpr const char* kProblemTitle = "Problem Sending Bulb";

// The failure text, naming the server as the user wrote it.
std::string sendProblemText(std::string_view server);

struct ServerAddress {
    std::string host;       // for the look-up
    uint16_t port = 80;
    std::string written;    // as given: the Host header and the failure text carry it
};

// "host" (port 80) or "host:port" with a port of 1 to 65535 in decimal.
// Nothing for an empty host, a missing or zero port, a port out of range or
// anything but digits after the colon.
std::optional<ServerAddress> parseServerAddress(std::string_view text);

// The request for the server's page, sent in one piece.
std::string pageRequest(std::string_view hostHeader);

// The upload's file name: the bulb's first 19 characters, a blank, the tick
// count modulo 100000 and ".bul". Characters that could end the quoted name
// or a header line (control characters, '"', '\') become '_'.
std::string uploadFileName(std::string_view bulbName, uint32_t tickCount);

// The pieces of the upload before the bulb file's bytes, in the order they
// are sent, each with its own send; then the file; then kClosingLine.
struct UploadRequest {
    std::vector<std::string> head;
    std::string closing;
    uint64_t contentLength = 0;
};
UploadRequest uploadRequest(std::string_view uploadPath, std::string_view hostHeader, std::string_view fileName,
                            uint64_t fileSize);

// Chunks of kChunkSize bytes a file of this size is sent in (rounded up).
uint64_t chunkCount(uint64_t fileSize);

// True when the reply starts with a status line "HTTP/1.x 2xx".
bool replySucceeded(std::string_view reply);

// An upload path names the resource of a request line: it must be printable
// ASCII without blanks, so it cannot add or break a header line.
bool uploadPathIsSafe(std::string_view path);

// What the server's page said. Every search stays inside the received bytes.
enum class PageFault {
    None,
    NoHeaderEnd,        // no "\r\n\r\n"
    NotSuccessful,      // the status line is not "HTTP/1.x 2xx"
    NoUploadLocation,   // no "uploadlocation: <" in the body
    UnsafeUploadPath,   // empty, or a character outside '!'..'~'
};
struct PageReply {
    PageFault fault = PageFault::None;
    std::optional<std::string> serverMessage;  // shown before the upload, or before the failure
    std::string uploadPath;
};
PageReply parsePageReply(std::string_view received);

// A link label's window text: visible text, "<", link text, ">", more text,
// "*", target. Nothing when one of the three marks is missing.
struct LinkLabelText {
    std::string before, link, after, target;
};
std::optional<LinkLabelText> splitLinkLabel(std::string_view text);

}  // namespace lumarel
