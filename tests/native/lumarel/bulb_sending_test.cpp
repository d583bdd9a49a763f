#include "bulbs/bulb_sending.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumarel;

namespace {

std::string joined(const UploadRequest& request) {
    std::string all;
    for (const std::string& piece : request.head) all += piece;
    return all;
}

}  // namespace

TEST(BulbServerAddress, TakesAHostWithOrWithoutAPort) {
    auto plain = parseServerAddress("bulbs.example");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->host, "bulbs.example");
    EXPECT_EQ(plain->port, 80);
    EXPECT_EQ(plain->written, "bulbs.example");

    auto local = parseServerAddress("127.0.0.1:8123");
    ASSERT_TRUE(local);
    EXPECT_EQ(local->host, "127.0.0.1");
    EXPECT_EQ(local->port, 8123);
    EXPECT_EQ(local->written, "127.0.0.1:8123");  // the Host header carries the port

    EXPECT_EQ(parseServerAddress("h:1")->port, 1);
    EXPECT_EQ(parseServerAddress("h:65535")->port, 65535);
}

TEST(BulbServerAddress, RefusesWhatIsNotAHostAndPort) {
    for (const char* bad : {"", "host:", "host:0", "host:99999", "host:65536", ":80", "host:8a", "host:-1",
                            "host:+80", "host:80:81", "host: 80", "host:000000080"})
        EXPECT_FALSE(parseServerAddress(bad)) << '"' << bad << '"';
}

TEST(BulbSendRequests, ThePageRequestIsByteForByte) {
    EXPECT_EQ(pageRequest("127.0.0.1:8123"),
              "GET /bulbsend.htm HTTP/1.0\r\nHost: 127.0.0.1:8123\r\nUser-Agent: Lumarel\r\n\r\n");
}

TEST(BulbSendRequests, TheUploadIsByteForByteAndItsLengthCountsTheBody) {
    UploadRequest request = uploadRequest("/up/load.cgi", "bulbs.quorvane.example", "Garland 4711.bul", 3000);
    ASSERT_EQ(request.head.size(), 7u);
    EXPECT_EQ(request.head[0], "POST ");
    EXPECT_EQ(request.head[1], "/up/load.cgi");
    EXPECT_EQ(request.head[2],
              " HTTP/1.0\r\nHost: bulbs.quorvane.example\r\nUser-Agent: Lumarel\r\nContent-type: multipart/form-data; "
              "boundary=---------------------------294472957423072\r\n");
    const std::string boundaryLine = "-----------------------------294472957423072\r\n";
    const std::string partHeader =
        "Content-Disposition: form-data; name=\"remotefile\"; filename=\"Garland 4711.bul\"\r\n";
    const std::string typeLine = "Content-Type: application/octet-stream\r\n\r\n";
    const std::string closing = "\r\n-----------------------------294472957423072--\r\n";
    EXPECT_EQ(request.head[4], boundaryLine);
    EXPECT_EQ(request.head[5], partHeader);
    EXPECT_EQ(request.head[6], typeLine);
    EXPECT_EQ(request.closing, closing);
    // The body is everything after the blank line: the three part lines, the
    // file and the closing line.
    const uint64_t body = boundaryLine.size() + partHeader.size() + typeLine.size() + 3000 + closing.size();
    EXPECT_EQ(request.contentLength, body);
    EXPECT_EQ(request.head[3], "Content-length: " + std::to_string(body) + "\r\n\r\n");
    // The header's boundary has 27 hyphens, the body's lines 29.
    EXPECT_NE(request.head[2].find("boundary=" + std::string(27, '-') + "2944"), std::string::npos);
    EXPECT_EQ(boundaryLine.rfind(std::string(29, '-') + "2944", 0), 0u);
    // The headers end with the length line; the part follows at once.
    const std::string all = joined(request);
    EXPECT_EQ(all.find("\r\n\r\n") + 4, all.find(boundaryLine));
}

TEST(BulbSendRequests, TheFileNameIsTheFirst19CharactersAndATickBelow100000) {
    EXPECT_EQ(uploadFileName("Garland", 123456789), "Garland 56789.bul");
    EXPECT_EQ(uploadFileName("A bulb named at length", 7), "A bulb named at len 7.bul");  // 22 characters, 19 kept
    EXPECT_EQ(uploadFileName("Twenty-five characters!!!", 100000), "Twenty-five charact 0.bul");
    EXPECT_EQ(uploadFileName("", 4294967295u), " 67295.bul");
}

TEST(BulbSendRequests, AFileNameCannotEndTheQuotedNameOrAddALine) {
    EXPECT_EQ(uploadFileName("a\"b\\c\r\nd\te\x7f", 1), "a_b_c__d_e_ 1.bul");
    std::string part = uploadRequest("/u", "h", uploadFileName("x\"\r\nEvil: 1", 2), 0).head[5];
    EXPECT_EQ(part.find("\r\n"), part.size() - 2);
    EXPECT_EQ(part.find('"', part.find("filename=\"") + 10), part.size() - 3);
}

TEST(BulbSendRequests, ChunksOf1536BytesRoundUp) {
    EXPECT_EQ(chunkCount(0), 0u);
    EXPECT_EQ(chunkCount(1), 1u);
    EXPECT_EQ(chunkCount(1536), 1u);
    EXPECT_EQ(chunkCount(1537), 2u);
    EXPECT_EQ(chunkCount(3072), 2u);
    EXPECT_EQ(chunkCount(3073), 3u);
}

TEST(BulbServerReplies, OnlyAStatus2xxIsSuccess) {
    for (const char* good : {"HTTP/1.0 200 OK\r\n", "HTTP/1.1 201 Created\r\n", "HTTP/1.0 299\r\n", "HTTP/1.1 204"})
        EXPECT_TRUE(replySucceeded(good)) << good;
    for (const char* bad : {"", "HTTP/1.0 500 Oops\r\n", "HTTP/1.1 404 Not Found\r\n", "HTTP/1.0 302 Found\r\n",
                            "HTTP/2.0 200 OK\r\n", "HTTP/1.0 2000\r\n", "HTTP/1.0 20", "http/1.0 200 OK\r\n",
                            " HTTP/1.0 200 OK\r\n", "HTTP/1.x 200 OK\r\n", "HTTP/1.0 2a0 OK\r\n"})
        EXPECT_FALSE(replySucceeded(bad)) << bad;
}

TEST(BulbServerReplies, ThePageGivesTheUploadPathAndAMessage) {
    PageReply reply = parsePageReply(
        "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>servermessage: <Reviews take a week.> and "
        "uploadlocation: </cgi/upload>");
    EXPECT_EQ(reply.fault, PageFault::None);
    EXPECT_EQ(reply.uploadPath, "/cgi/upload");
    ASSERT_TRUE(reply.serverMessage);
    EXPECT_EQ(*reply.serverMessage, "Reviews take a week.");

    PageReply quiet = parsePageReply("HTTP/1.1 200 OK\r\n\r\nuploadlocation: </u>");
    EXPECT_EQ(quiet.fault, PageFault::None);
    EXPECT_FALSE(quiet.serverMessage);
}

TEST(BulbServerReplies, MarkersCountOnlyInTheBodyAndRunToTheEndWithoutAClose) {
    // A marker in the headers is not the page's.
    PageReply inHeaders = parsePageReply("HTTP/1.0 200 OK\r\nX: uploadlocation: </u>\r\n\r\nnothing");
    EXPECT_EQ(inHeaders.fault, PageFault::NoUploadLocation);

    PageReply open = parsePageReply("HTTP/1.0 200 OK\r\n\r\nuploadlocation: </u> servermessage: <to the end");
    ASSERT_TRUE(open.serverMessage);
    EXPECT_EQ(*open.serverMessage, "to the end");
    EXPECT_EQ(open.uploadPath, "/u");

    PageReply openPath = parsePageReply("HTTP/1.0 200 OK\r\n\r\nuploadlocation: </cut-off");
    EXPECT_EQ(openPath.fault, PageFault::None);
    EXPECT_EQ(openPath.uploadPath, "/cut-off");
}

TEST(BulbServerReplies, AMessageStillShowsWhenTheUploadLocationIsMissing) {
    PageReply reply = parsePageReply("HTTP/1.0 200 OK\r\n\r\nservermessage: <Closed for the holidays.>");
    EXPECT_EQ(reply.fault, PageFault::NoUploadLocation);
    ASSERT_TRUE(reply.serverMessage);
    EXPECT_EQ(*reply.serverMessage, "Closed for the holidays.");
}

TEST(BulbServerReplies, BrokenPagesAreFaults) {
    EXPECT_EQ(parsePageReply("").fault, PageFault::NoHeaderEnd);
    EXPECT_EQ(parsePageReply("HTTP/1.0 200 OK\r\nuploadlocation: </u>").fault, PageFault::NoHeaderEnd);
    EXPECT_EQ(parsePageReply("HTTP/1.0 404 Not Found\r\n\r\nuploadlocation: </u>").fault, PageFault::NotSuccessful);
    EXPECT_EQ(parsePageReply("HTTP/1.0 200 OK\r\n\r\nuploadlocation: <>").fault, PageFault::UnsafeUploadPath);
    EXPECT_EQ(parsePageReply("HTTP/1.0 200 OK\r\n\r\nuploadlocation: </a b>").fault, PageFault::UnsafeUploadPath);
    EXPECT_EQ(parsePageReply("HTTP/1.0 200 OK\r\n\r\nuploadlocation: </a\r\nX: 1>").fault,
              PageFault::UnsafeUploadPath);
    EXPECT_EQ(parsePageReply("HTTP/1.0 200 OK\r\n\r\nuploadlocation: </caf\xe9>").fault, PageFault::UnsafeUploadPath);
}

TEST(BulbServerReplies, TheParserStopsAtTheBytesItWasGiven) {
    // The view ends before the closing '>' and before a second marker that
    // lies in memory right behind it.
    const std::string memory = "HTTP/1.0 200 OK\r\n\r\nuploadlocation: </abc>servermessage: <x>";
    std::string_view received(memory.data(), memory.find("c>"));
    PageReply reply = parsePageReply(received);
    EXPECT_EQ(reply.uploadPath, "/ab");
    EXPECT_FALSE(reply.serverMessage);
    // A page cut inside a marker finds nothing.
    EXPECT_EQ(parsePageReply(std::string_view(memory.data(), memory.find("<"))).fault, PageFault::NoUploadLocation);
}

TEST(BulbSendTexts, TheFailureNamesTheServerAsWritten) {
    EXPECT_EQ(sendProblemText("127.0.0.1:8123"),
              "Sorry, the bulb could not be sent to Quorvane.\r\n\r\nCheck that your Web browser can connect to "
              "127.0.0.1:8123, then try again.");
}

TEST(LinkLabel, SplitsAtTheThreeMarks) {
    auto parts = splitLinkLabel("See <our page> for more.*http://example.test/page");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->before, "See ");
    EXPECT_EQ(parts->link, "our page");
    EXPECT_EQ(parts->after, " for more.");
    EXPECT_EQ(parts->target, "http://example.test/page");

    auto bare = splitLinkLabel("<x>*");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->link, "x");
    EXPECT_EQ(bare->target, "");

    for (const char* bad : {"", "no marks", "a <b c*d", "a b> c*d", "a <b> c", "a *b <c> d", "a >b< c*d"})
        EXPECT_FALSE(splitLinkLabel(bad)) << bad;
}
