#include <winsock2.h>

#include "bulbs/bulb_upload.h"

#include <cstring>

#include "base/failure.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/win_file.h"

namespace lumarel {

namespace {

// Every wait is this short, so a cancel acts within a quarter second.
constexpr DWORD kSliceMs = 250;

// Thrown when the user cancelled: the send ends without a word.
struct Cancelled {};

void post(UploadJob& job, UINT message, WPARAM wParam = 0) { PostMessageA(job.dialog, message, wParam, 0); }

void throwIfCancelled(const UploadJob& job) {
    if (job.cancel.load()) throw Cancelled{};
}

[[noreturn]] void failWithSocketError() {
    int code = WSAGetLastError();
    fail(code ? code : kFailAsrt);
}

// WSACleanup only after a WSAStartup that worked.
class WinsockScope {
public:
    WinsockScope() {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    ~WinsockScope() {
        if (started_) WSACleanup();
    }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;
    bool started() const { return started_; }

private:
    bool started_ = false;
};

// One non-blocking TCP connection to the server, closed when it goes out of
// scope. Every wait is sliced to check the cancel flag, and a connection
// that moves no byte for the job's stall limit fails.
class Connection {
public:
    Connection(UploadJob& job, const sockaddr_in& address, bool announce) : job_(job) {
        if (announce) post(job_, kSendOpeningSocket);
        socket_ = socket(AF_INET, SOCK_STREAM, 0);
        if (socket_ == INVALID_SOCKET) failWithSocketError();
        u_long nonBlocking = 1;
        if (ioctlsocket(socket_, FIONBIO, &nonBlocking) != 0) failWithSocketError();
        if (announce) post(job_, kSendConnecting);
        progressed();
        if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return;
        if (WSAGetLastError() != WSAEWOULDBLOCK) failWithSocketError();
        waitUntil(true);
        int error = 0;
        int size = sizeof error;
        if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
            failWithSocketError();
        if (error) fail(error);
        progressed();
    }
    ~Connection() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Sends all of it, continuing a partial send.
    void sendAll(const char* data, size_t size) {
        while (size > 0) {
            int piece = size > 0x10000 ? 0x10000 : int(size);
            int sent = send(socket_, data, piece, 0);
            if (sent == SOCKET_ERROR) {
                if (WSAGetLastError() != WSAEWOULDBLOCK) failWithSocketError();
                waitUntil(true);
                continue;
            }
            data += sent;
            size -= size_t(sent);
            progressed();
        }
    }
    void sendAll(const std::string& text) { sendAll(text.data(), text.size()); }

    // Receives until the server closes the connection, an error ends it, or
    // `limit` bytes have come.
    std::string receive(size_t limit) {
        std::string text;
        char buffer[1024];
        while (text.size() < limit) {
            size_t want = limit - text.size();
            int got = recv(socket_, buffer, int(want < sizeof buffer ? want : sizeof buffer), 0);
            if (got > 0) {
                text.append(buffer, size_t(got));
                progressed();
            } else if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
                waitUntil(false);
            } else {
                break;
            }
        }
        return text;
    }

private:
    void progressed() { lastProgress_ = GetTickCount(); }

    // Waits until the socket can be written (or its connect failed) or read.
    void waitUntil(bool writable) {
        for (;;) {
            throwIfCancelled(job_);
            if (GetTickCount() - lastProgress_ >= job_.stallLimitMs) fail(WSAETIMEDOUT);
            fd_set ready, failed;
            FD_ZERO(&ready);
            FD_ZERO(&failed);
            FD_SET(socket_, &ready);
            FD_SET(socket_, &failed);
            timeval slice{0, long(kSliceMs) * 1000};
            int count = select(0, writable ? nullptr : &ready, writable ? &ready : nullptr, &failed, &slice);
            if (count == SOCKET_ERROR) failWithSocketError();
            if (count > 0) return;  // ready, or failed: the next call tells which
        }
    }

    UploadJob& job_;
    SOCKET socket_ = INVALID_SOCKET;
    DWORD lastProgress_ = 0;
};

sockaddr_in serverAddress(const ServerAddress& server) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(server.port);
    // A dotted address needs no look-up.
    unsigned long dotted = inet_addr(server.host.c_str());
    if (dotted != INADDR_NONE) {
        address.sin_addr.s_addr = dotted;
        return address;
    }
    const hostent* host = gethostbyname(server.host.c_str());
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list[0])
        failWithSocketError();
    std::memcpy(&address.sin_addr, host->h_addr_list[0], 4);
    return address;
}

// Has the dialog show the server's message, and waits until the user has
// dismissed it, so the message comes before the upload.
void showServerMessage(UploadJob& job, const std::string& text) {
    job.serverMessage = text;
    ResetEvent(job.messageSeen.get());
    post(job, kSendServerMessage);
    while (WaitForSingleObject(job.messageSeen.get(), kSliceMs) == WAIT_TIMEOUT) throwIfCancelled(job);
}

void uploadFile(UploadJob& job, const sockaddr_in& address, const ServerAddress& server, const PageReply& page,
                const uint8_t* bytes, uint32_t size) {
    Connection upload(job, address, false);
    UploadRequest request =
        uploadRequest(page.uploadPath, server.written, uploadFileName(job.bulbName, job.tickCount()), size);
    post(job, kSendSending);
    for (const std::string& piece : request.head) upload.sendAll(piece);
    post(job, kSendChunkCount, WPARAM(chunkCount(size)));
    for (uint32_t offset = 0; offset < size; offset += uint32_t(kChunkSize)) {
        throwIfCancelled(job);
        uint32_t piece = size - offset < kChunkSize ? size - offset : uint32_t(kChunkSize);
        upload.sendAll(reinterpret_cast<const char*>(bytes + offset), piece);
        post(job, kSendChunkSent);
    }
    throwIfCancelled(job);
    upload.sendAll(request.closing);
    check(replySucceeded(upload.receive(kUploadAnswerLimit)));
}

void sendBulb(UploadJob& job) {
    WinsockScope winsock;
    check(winsock.started());
    check(job.dialog != nullptr);
    {
        // Read sharing: the bulb can still be drawn while it goes.
        WinFile file(job.bulbPath.c_str(), false);
        FileMapping map(file);
        post(job, kSendLookingUp);
        std::optional<ServerAddress> server = parseServerAddress(job.server);
        check(server.has_value());
        sockaddr_in address = serverAddress(*server);
        std::string received;
        {
            Connection page(job, address, true);
            page.sendAll(pageRequest(server->written));
            received = page.receive(kPageReplyLimit);
        }
        PageReply reply = parsePageReply(received);
        if (reply.serverMessage) showServerMessage(job, *reply.serverMessage);
        check(reply.fault == PageFault::None);
        uploadFile(job, address, *server, reply, map.data(), map.size());
    }
    throwIfCancelled(job);
    markBulbSent(job.bulbPath.c_str());
}

SendOutcome outcomeOf(UploadJob& job) {
    try {
        sendBulb(job);
        return SendOutcome::Sent;
    } catch (const Cancelled&) {
        return SendOutcome::Cancelled;
    } catch (...) {
        return job.cancel.load() ? SendOutcome::Cancelled : SendOutcome::Failed;
    }
}

DWORD WINAPI uploadThread(void* parameter) {
    UploadJob& job = *static_cast<UploadJob*>(parameter);
    // Sockets, file and Winsock are released inside outcomeOf: after this
    // post the thread only returns, so the dialog's wait for it is short.
    SendOutcome outcome = outcomeOf(job);
    PostMessageA(job.dialog, kSendFinished, WPARAM(outcome), 0);
    return 0;
}

}  // namespace

unique_handle startUpload(UploadJob& job) {
    job.cancel.store(false);
    DWORD id = 0;
    return unique_handle(CreateThread(nullptr, 0, uploadThread, &job, 0, &id));
}

}  // namespace lumarel
