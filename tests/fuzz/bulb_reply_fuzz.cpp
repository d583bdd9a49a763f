// The bulb server's replies and the "Bulb Server" setting: any bytes give an
// answer read from inside them. The input is copied to a buffer of exactly
// its size, so AddressSanitizer sees any read past the received bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "bulbs/bulb_sending.h"

using namespace lumarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> copy(new char[size ? size : 1]);
    if (size) std::memcpy(copy.get(), data, size);
    std::string_view received(copy.get(), size);

    PageReply reply = parsePageReply(received);
    if (reply.fault == PageFault::None) {
        if (!uploadPathIsSafe(reply.uploadPath)) abort();
        if (received.find(reply.uploadPath) == std::string_view::npos) abort();
    }
    if (reply.fault != PageFault::NoHeaderEnd && reply.fault != PageFault::NotSuccessful &&
        !replySucceeded(received))
        abort();
    if (reply.serverMessage && received.find(*reply.serverMessage) == std::string_view::npos) abort();
    if (reply.serverMessage && reply.serverMessage->find('>') != std::string::npos) abort();

    if (auto address = parseServerAddress(received)) {
        if (address->host.empty() || address->port == 0) abort();
        if (address->host.find(':') != std::string::npos) abort();
    }
    if (auto label = splitLinkLabel(received)) {
        size_t total = label->before.size() + label->link.size() + label->after.size() + label->target.size() + 3;
        if (total != size || label->before.find('<') != std::string::npos) abort();
    }
    // A name taken from outside never brings a quote, a backslash or a line
    // break into the part header.
    std::string name = uploadFileName(received, uint32_t(size));
    for (char c : name)
        if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) abort();
    return 0;
}
