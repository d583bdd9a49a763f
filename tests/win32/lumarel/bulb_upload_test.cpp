// The sending worker against a small server in this process: what it posts,
// what reaches the server, when the send-pending flag is cleared, and how
// fast it stops.
#include <winsock2.h>

#include "bulbs/bulb_upload.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bulbs/bulb_file.h"
#include "bulbs_test_support.h"

using namespace lumarel;
using bulbtest::readFile;
using bulbtest::scratchFolder;
using bulbtest::writeFile;

namespace {

// One scripted exchange per connection: the server reads the request whole
// (headers and Content-length bytes), then answers, or holds the connection
// without answering while `hold` is set.
struct Exchange {
    std::string answer;
    bool hold = false;
};

class TestServer {
public:
    explicit TestServer(std::vector<Exchange> script) : script_(std::move(script)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int size = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this] { serve(); });
    }
    ~TestServer() {
        stop_ = true;
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    const std::vector<std::string>& requests() const { return requests_; }

private:
    void serve() {
        for (const Exchange& exchange : script_) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            requests_.push_back(readRequest(client));
            if (exchange.hold) {
                while (!stop_) Sleep(20);
            } else {
                send(client, exchange.answer.data(), int(exchange.answer.size()), 0);
            }
            closesocket(client);
        }
    }

    static std::string readRequest(SOCKET client) {
        std::string text;
        char buffer[4096];
        size_t wanted = std::string::npos;
        while (text.size() < wanted) {
            int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            text.append(buffer, size_t(got));
            size_t end = text.find("\r\n\r\n");
            if (end != std::string::npos && wanted == std::string::npos) {
                size_t at = text.find("Content-length: ");
                size_t length = at != std::string::npos && at < end ? std::stoul(text.substr(at + 16)) : 0;
                wanted = end + 4 + length;
            }
        }
        return text;
    }

    std::vector<Exchange> script_;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::thread thread_;
    std::vector<std::string> requests_;
    volatile bool stop_ = false;
};

std::string page(const std::string& body) { return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body; }

// A bulb file of exactly `size` bytes (a sound header and filler).
std::string makeBulb(const std::string& folder, size_t size) {
    BulbHeader header = newBulbHeader(4711, "Garland", "Ann", "Copyright 2026 Ann");
    std::vector<uint8_t> bytes = serializeBulbHeader(header);
    for (size_t i = bytes.size(); i < size; ++i) bytes.push_back(uint8_t(i * 7));
    bytes.resize(size);
    std::string path = folder + "bulb-" + std::to_string(size) + ".bul";
    writeFile(path, bytes);
    return path;
}

uint32_t sendPending(const std::string& path) {
    std::vector<uint8_t> bytes = readFile(path);
    return bytes.size() >= 28 ? uint32_t(bytes[24] | bytes[25] << 8 | bytes[26] << 16 | bytes[27] << 24) : 99;
}

DWORD WINAPI fixedTick() { return 123456789; }

// Stands in for the progress dialog: records what the worker posts.
struct Posted {
    UINT message;
    WPARAM wParam;
};

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* log = reinterpret_cast<std::vector<Posted>*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (log && message >= kSendChunkCount && message <= kSendServerMessage) log->push_back({message, wParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

struct JobRun {
    std::vector<Posted> posted;
    SendOutcome outcome = SendOutcome::Failed;
    DWORD cancelToEndMs = 0;
    int count(UINT message) const {
        int n = 0;
        for (const Posted& p : posted) n += p.message == message;
        return n;
    }
    WPARAM first(UINT message) const {
        for (const Posted& p : posted)
            if (p.message == message) return p.wParam;
        return WPARAM(-1);
    }
};

// Runs a job to its end, pumping messages; `onPosted` may act on each
// message (answer a server message, cancel).
JobRun runJob(UploadJob& job, const std::function<void(UploadJob&, const Posted&)>& onPosted = {}) {
    static const char* kClass = "LumarelUploadTestSink";
    WNDCLASSA wc{};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    JobRun run;
    HWND sink = CreateWindowA(kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(sink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&run.posted));
    job.dialog = sink;
    job.tickCount = fixedTick;
    unique_handle worker = startUpload(job);
    EXPECT_TRUE(worker);
    DWORD deadline = GetTickCount() + 20000, cancelledAt = 0;
    size_t seen = 0;
    while (GetTickCount() < deadline && run.count(kSendFinished) == 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        for (; seen < run.posted.size(); ++seen) {
            if (onPosted) onPosted(job, run.posted[seen]);
            if (job.cancel.load() && !cancelledAt) cancelledAt = GetTickCount();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    if (cancelledAt) run.cancelToEndMs = GetTickCount() - cancelledAt;
    if (run.count(kSendFinished)) run.outcome = SendOutcome(run.first(kSendFinished));
    EXPECT_EQ(WaitForSingleObject(worker.get(), 5000), WAIT_OBJECT_0);
    DestroyWindow(sink);
    return run;
}

const std::string kOkPage = page("<p>uploadlocation: </bulbs/upload></p>");
const std::string kThanks = "HTTP/1.0 200 OK\r\n\r\nThank you.";

}  // namespace

TEST(BulbUpload, SendsTheFileInChunksOf1536AndClearsTheFlag) {
    std::string folder = scratchFolder("upload-chunks");
    for (size_t size : {size_t(1536), size_t(1537)}) {
        std::string path = makeBulb(folder, size);
        TestServer server({{kOkPage}, {kThanks}});
        UploadJob job;
        job.server = server.address();
        job.bulbPath = path;
        job.bulbName = "A name of twenty-five ch.";
        JobRun run = runJob(job);
        EXPECT_EQ(run.outcome, SendOutcome::Sent) << size;
        EXPECT_EQ(run.first(kSendChunkCount), WPARAM(size == 1536 ? 1 : 2));
        EXPECT_EQ(run.count(kSendChunkSent), size == 1536 ? 1 : 2);
        EXPECT_EQ(run.count(kSendServerMessage), 0);
        EXPECT_EQ(sendPending(path), 0u);

        ASSERT_EQ(server.requests().size(), 2u);
        EXPECT_EQ(server.requests()[0], pageRequest(server.address()));
        const std::string& upload = server.requests()[1];
        EXPECT_EQ(upload.rfind("POST /bulbs/upload HTTP/1.0\r\nHost: " + server.address() + "\r\n", 0), 0u);
        EXPECT_NE(upload.find("filename=\"A name of twenty-fi 56789.bul\"\r\n"), std::string::npos);
        std::vector<uint8_t> file = readFile(path);
        file[24] = 1;  // as it was sent
        std::string sent(file.begin(), file.end());
        std::string tail = "\r\n-----------------------------294472957423072--\r\n";
        ASSERT_GE(upload.size(), sent.size() + tail.size());
        EXPECT_EQ(upload.substr(upload.size() - tail.size() - sent.size()), sent + tail);
        size_t body = upload.find("\r\n\r\n") + 4;
        EXPECT_NE(upload.find("Content-length: " + std::to_string(upload.size() - body) + "\r\n"), std::string::npos);
    }
}

TEST(BulbUpload, OnlyA2xxAnswerCountsAsSent) {
    std::string folder = scratchFolder("upload-answers");
    std::string path = makeBulb(folder, 3000);
    for (const std::string& answer : {std::string("HTTP/1.0 500 Internal Server Error\r\n\r\n"),
                                      std::string("HTTP/1.0 404 Not Found\r\n\r\n"), std::string()}) {
        TestServer server({{kOkPage}, {answer}});
        UploadJob job;
        job.server = server.address();
        job.bulbPath = path;
        job.bulbName = "Garland";
        EXPECT_EQ(runJob(job).outcome, SendOutcome::Failed) << answer;
        EXPECT_EQ(sendPending(path), 1u) << answer;
    }
}

TEST(BulbUpload, APageWithoutAUsableUploadPathFailsBeforeUploading) {
    std::string folder = scratchFolder("upload-pages");
    std::string path = makeBulb(folder, 2000);
    for (const std::string& reply :
         {page("nothing here"), std::string("HTTP/1.0 404 Not Found\r\n\r\nuploadlocation: </u>"),
          page("uploadlocation: </u\r\nX-Evil: 1>"), page(std::string(1100, 'x') + "uploadlocation: </u>")}) {
        TestServer server({{reply}});
        UploadJob job;
        job.server = server.address();
        job.bulbPath = path;
        job.bulbName = "Garland";
        JobRun run = runJob(job);
        EXPECT_EQ(run.outcome, SendOutcome::Failed);
        EXPECT_EQ(run.count(kSendSending), 0);
        EXPECT_EQ(server.requests().size(), 1u);
    }
    EXPECT_EQ(sendPending(path), 1u);
}

TEST(BulbUpload, TheServerMessageIsShownBeforeTheUploadStarts) {
    std::string folder = scratchFolder("upload-message");
    std::string path = makeBulb(folder, 2000);
    TestServer server({{page("servermessage: <Reviews take a week.> uploadlocation: </up>")}, {kThanks}});
    UploadJob job;
    job.server = server.address();
    job.bulbPath = path;
    job.bulbName = "Garland";
    size_t requestsWhileShown = 99;
    JobRun run = runJob(job, [&](UploadJob& j, const Posted& p) {
        if (p.message != kSendServerMessage) return;
        EXPECT_EQ(j.serverMessage, "Reviews take a week.");
        Sleep(300);  // the user reads it; the upload must wait
        requestsWhileShown = server.requests().size();
        SetEvent(j.messageSeen.get());
    });
    EXPECT_EQ(run.outcome, SendOutcome::Sent);
    EXPECT_EQ(requestsWhileShown, 1u);
    EXPECT_EQ(run.count(kSendServerMessage), 1);
}

TEST(BulbUpload, ACancelWhileTheServerHoldsEndsWithinAQuarterSecondOrSo) {
    std::string folder = scratchFolder("upload-cancel");
    std::string path = makeBulb(folder, 5000);
    TestServer server({{kOkPage}, {"", true}});
    UploadJob job;
    job.server = server.address();
    job.bulbPath = path;
    job.bulbName = "Garland";
    JobRun run = runJob(job, [](UploadJob& j, const Posted& p) {
        if (p.message == kSendChunkCount) {
            Sleep(200);
            j.cancel.store(true);
        }
    });
    EXPECT_EQ(run.outcome, SendOutcome::Cancelled);
    EXPECT_LT(run.cancelToEndMs, 1000u);
    EXPECT_EQ(sendPending(path), 1u);
}

TEST(BulbUpload, AServerThatStopsAnsweringFailsAfterTheStallLimit) {
    std::string folder = scratchFolder("upload-stall");
    std::string path = makeBulb(folder, 2000);
    TestServer server({{"", true}});
    UploadJob job;
    job.server = server.address();
    job.bulbPath = path;
    job.bulbName = "Garland";
    job.stallLimitMs = 600;
    DWORD start = GetTickCount();
    EXPECT_EQ(runJob(job).outcome, SendOutcome::Failed);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 500u);
    EXPECT_LT(took, 3000u);
}

TEST(BulbUpload, BadAddressesAndRefusedConnectionsFail) {
    std::string folder = scratchFolder("upload-refused");
    std::string path = makeBulb(folder, 2000);
    uint16_t unused;
    {
        TestServer closed({});  // a port that was free a moment ago
        unused = uint16_t(std::stoi(closed.address().substr(10)));
    }
    for (const std::string& server :
         {"127.0.0.1:" + std::to_string(unused), std::string("127.0.0.1:0"), std::string("127.0.0.1:"),
          std::string("127.0.0.1:99999")}) {
        UploadJob job;
        job.server = server;
        job.bulbPath = path;
        job.bulbName = "Garland";
        EXPECT_EQ(runJob(job).outcome, SendOutcome::Failed) << server;
    }
    EXPECT_EQ(sendPending(path), 1u);
}
