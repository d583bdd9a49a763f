#include "bulbs/bulb_sending.h"

#include <cstdio>

namespace lumarel {

namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kMessageMarker = "servermessage: <";
constexpr std::string_view kUploadMarker = "uploadlocation: <";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text after a marker up to the next '>', or to the end without one.
std::string markedText(std::string_view body, size_t markerEnd) {
    std::string_view rest = body.substr(markerEnd);
    return std::string(rest.substr(0, rest.find('>')));
}

std::string hostLine(std::string_view hostHeader) { return "Host: " + std::string(hostHeader) + "\r\n"; }

}  // namespace

std::string sendProblemText(std::string_view server) {
    return "Sorry, the bulb could not be sent to Quorvane.\r\n\r\nCheck that your Web browser can connect to " +
           std::string(server) + ", then try again.";
}

std::optional<ServerAddress> parseServerAddress(std::string_view text) {
    ServerAddress address;
    address.written = std::string(text);
    size_t colon = text.find(':');
    address.host = std::string(text.substr(0, colon));
    if (address.host.empty()) return std::nullopt;
    if (colon == std::string_view::npos) {
        address.port = kDefaultBulbServerPort;
        return address;
    }
    std::string_view digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    uint32_t port = 0;
    for (char c : digits) {
        if (!isDigit(c)) return std::nullopt;
        port = port * 10 + uint32_t(c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    address.port = uint16_t(port);
    return address;
}

std::string pageRequest(std::string_view hostHeader) {
    return std::string("GET ") + kBulbPagePath + " HTTP/1.0\r\n" + hostLine(hostHeader) + "User-Agent: Lumarel\r\n\r\n";
}

std::string uploadFileName(std::string_view bulbName, uint32_t tickCount) {
    std::string name(bulbName.substr(0, kUploadNameChars));
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '"' || c == '\\') c = '_';
    return name + " " + std::to_string(tickCount % 100000) + ".bul";
}

UploadRequest uploadRequest(std::string_view uploadPath, std::string_view hostHeader, std::string_view fileName,
                            uint64_t fileSize) {
    const std::string boundaryLine = "--" + std::string(kBoundary) + "\r\n";
    const std::string partHeader =
        "Content-Disposition: form-data; name=\"remotefile\"; filename=\"" + std::string(fileName) + "\"\r\n";
    const std::string typeLine = "Content-Type: application/octet-stream\r\n\r\n";
    UploadRequest request;
    request.closing = "\r\n--" + std::string(kBoundary) + "--\r\n";
    request.contentLength =
        fileSize + boundaryLine.size() + partHeader.size() + typeLine.size() + request.closing.size();
    request.head = {
        "POST ",
        std::string(uploadPath),
        " HTTP/1.0\r\n" + hostLine(hostHeader) +
            "User-Agent: Lumarel\r\nContent-type: multipart/form-data; boundary=" + kBoundary + "\r\n",
        "Content-length: " + std::to_string(request.contentLength) + "\r\n\r\n",
        boundaryLine,
        partHeader,
        typeLine,
    };
    return request;
}

uint64_t chunkCount(uint64_t fileSize) { return fileSize / kChunkSize + (fileSize % kChunkSize != 0); }

bool replySucceeded(std::string_view reply) {
    // "HTTP/1." digit blank '2' digit digit, then a blank or the end of the line.
    constexpr std::string_view kVersion = "HTTP/1.";
    if (reply.size() < 12 || reply.substr(0, kVersion.size()) != kVersion) return false;
    if (!isDigit(reply[7]) || reply[8] != ' ' || reply[9] != '2' || !isDigit(reply[10]) || !isDigit(reply[11]))
        return false;
    return reply.size() == 12 || reply[12] == ' ' || reply[12] == '\r' || reply[12] == '\n';
}

bool uploadPathIsSafe(std::string_view path) {
    if (path.empty()) return false;
    for (char c : path)
        if (c <= ' ' || c > '~') return false;
    return true;
}

PageReply parsePageReply(std::string_view received) {
    PageReply reply;
    size_t headerEnd = received.find(kHeaderEnd);
    if (headerEnd == std::string_view::npos) {
        reply.fault = PageFault::NoHeaderEnd;
        return reply;
    }
    if (!replySucceeded(received)) {
        reply.fault = PageFault::NotSuccessful;
        return reply;
    }
    std::string_view body = received.substr(headerEnd + kHeaderEnd.size());
    if (size_t at = body.find(kMessageMarker); at != std::string_view::npos)
        reply.serverMessage = markedText(body, at + kMessageMarker.size());
    size_t at = body.find(kUploadMarker);
    if (at == std::string_view::npos) {
        reply.fault = PageFault::NoUploadLocation;
        return reply;
    }
    reply.uploadPath = markedText(body, at + kUploadMarker.size());
    if (!uploadPathIsSafe(reply.uploadPath)) reply.fault = PageFault::UnsafeUploadPath;
    return reply;
}

std::optional<LinkLabelText> splitLinkLabel(std::string_view text) {
    size_t open = text.find('<');
    if (open == std::string_view::npos) return std::nullopt;
    size_t close = text.find('>', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    size_t star = text.find('*', close + 1);
    if (star == std::string_view::npos) return std::nullopt;
    return LinkLabelText{std::string(text.substr(0, open)), std::string(text.substr(open + 1, close - open - 1)),
                         std::string(text.substr(close + 1, star - close - 1)), std::string(text.substr(star + 1))};
}

}  // namespace lumarel
