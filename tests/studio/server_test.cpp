// The studio's server: the token and Origin checks, the files it serves, bad messages answered
// without reaching the host, closed and stalled pages, and `sqhost studio` started and stopped.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "studio/studio_client.hpp"
#include "studio/studio_server.hpp"
#include "support/test_files.hpp"

namespace {

namespace fs = std::filesystem;
using sqhost::studio::Request;
using sqhost::studio::ServerOptions;
using sqhost::studio::StudioServer;
using sqtest::http::verb;

// A server on any free port over a folder of page files, with what reached its sink.
class StudioServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sqtest::writeFile(dir_.path() / "index.html", "<!doctype html><title>studio</title>");
    sqtest::writeFile(dir_.path() / "app.js", "export {};");
    sqtest::writeFile(dir_.path() / "style.css", "body{}");
    sqtest::writeFile(dir_.path() / "icon.svg", "<svg/>");
    sqtest::writeFile(dir_.path() / "notes.txt", "not for the page");
    sqtest::writeFile(dir_.path() / ".hidden.js", "secret");
    fs::create_directories(dir_.path() / "a");
    sqtest::writeFile(dir_.path() / "a" / "b.js", "nested");
    sqtest::writeFile(outside_.path() / "secret.html", "outside");
    fs::create_symlink(outside_.path() / "secret.html", dir_.path() / "link.html");
  }

  // The server's thread delivers into the members below: it stops before they go.
  void TearDown() override { server_.reset(); }

  void start(ServerOptions options = {}) {
    options.staticDir = dir_.path();
    server_ = std::make_unique<StudioServer>(options, [this](Request r) {
      const std::lock_guard lock(mutex_);
      received_.push_back(std::move(r));
      arrived_.notify_all();
    });
    std::string error;
    ASSERT_TRUE(server_->start(error)) << error;
    port_ = server_->port();
    token_ = server_->token();
  }

  // Waits until count requests have reached the sink (or a generous limit passed).
  std::vector<Request> received(std::size_t count) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, sqtest::kClientTimeout, [&] { return received_.size() >= count; });
    return received_;
  }

  std::string withToken(const std::string& path) const { return path + "?token=" + token_; }
  std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

  // A page connected the way the real one is.
  std::unique_ptr<sqtest::SocketClient> page() {
    auto client = std::make_unique<sqtest::SocketClient>();
    EXPECT_FALSE(client->open(port_, withToken("/ws"), origin()));
    return client;
  }

  sqtest::TempDir dir_;
  sqtest::TempDir outside_;
  std::unique_ptr<StudioServer> server_;
  uint16_t port_ = 0;
  std::string token_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Request> received_;
};

TEST_F(StudioServerTest, ServesSingleFilesOfItsFolderToRequestsThatCarryTheToken) {
  start();
  EXPECT_EQ(token_.size(), 32u);
  EXPECT_TRUE(std::regex_match(token_, std::regex("[0-9a-f]{32}")));
  EXPECT_NE(token_, sqhost::studio::makeSessionToken());
  EXPECT_EQ(server_->address(), "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + token_);

  const sqtest::HttpResult index = sqtest::httpGet(port_, withToken("/"));
  EXPECT_EQ(index.status, 200u);
  EXPECT_EQ(index.contentType, "text/html; charset=utf-8");
  EXPECT_EQ(index.body, "<!doctype html><title>studio</title>");
  EXPECT_EQ(sqtest::httpGet(port_, withToken("/app.js")).contentType,
            "text/javascript; charset=utf-8");
  EXPECT_EQ(sqtest::httpGet(port_, withToken("/style.css")).contentType, "text/css; charset=utf-8");
  const sqtest::HttpResult icon = sqtest::httpGet(port_, "/icon.svg?a=1&token=" + token_);
  EXPECT_EQ(icon.contentType, "image/svg+xml");
  EXPECT_EQ(icon.body, "<svg/>");
  const sqtest::HttpResult head = sqtest::httpRequest(port_, verb::head, withToken("/app.js"));
  EXPECT_EQ(head.status, 200u);
  EXPECT_TRUE(head.body.empty());

  // Without the token, or with another, nothing is served, whatever is asked.
  const std::string wrong(32, 'a');
  for (const std::string& target :
       std::vector<std::string>{"/", "/app.js", "/?token=", "/?token=" + wrong,
                                "/?token=" + token_ + "0", "/?token=" + token_.substr(1),
                                "/?tok=" + token_, "/nowhere.js?token=" + wrong, "/?x=" + token_}) {
    const sqtest::HttpResult refused = sqtest::httpGet(port_, target);
    EXPECT_EQ(refused.status, 403u) << target;
    EXPECT_EQ(refused.body, "forbidden\n") << target;
  }

  // Only plain file names of the folder with a page's content type.
  for (const std::string path :
       {"/../CMakeLists.txt", "/a/b.js", "/a/", "/%2e%2e/CMakeLists.txt", "/.hidden.js",
        "/notes.txt", "/link.html", "/missing.js", "//etc/passwd", "/index.html/"}) {
    EXPECT_EQ(sqtest::httpGet(port_, withToken(path)).status, 404u) << path;
  }
  EXPECT_EQ(sqtest::httpRequest(port_, verb::post, withToken("/")).status, 405u);
  EXPECT_EQ(sqtest::httpGet(port_, withToken("/ws")).status, 400u);
}

TEST_F(StudioServerTest, SurvivesWhatIsNotHttpAndServesTheNextRequest) {
  start();
  EXPECT_EQ(sqtest::rawExchange(port_, "GARBAGE\r\n\r\n").rfind("HTTP/1.1 400", 0), 0u);
  // Headers past any sensible size, a request cut off in the middle of its line, and a
  // connection that says nothing and goes.
  sqtest::rawExchange(port_, "GET / HTTP/1.1\r\nHost: x\r\nX: " + std::string(64 * 1024, 'x'));
  sqtest::rawExchange(port_, "GET /?tok");
  sqtest::rawExchange(port_, "");
  EXPECT_EQ(sqtest::httpGet(port_, withToken("/")).status, 200u);
}

TEST_F(StudioServerTest, TheWebSocketNeedsTheTokenAndAPageOfTheServerItself) {
  start();
  const std::string port = std::to_string(port_);
  struct Attempt {
    std::string target;
    std::string origin;
    unsigned status;
  };
  const std::vector<Attempt> refused = {
      {"/ws", origin(), 403},
      {"/ws?token=" + std::string(32, '0'), origin(), 403},
      {withToken("/ws"), "http://evil.example", 403},
      {withToken("/ws"), "http://127.0.0.1:" + std::to_string(port_ + 1), 403},
      {withToken("/ws"), "https://127.0.0.1:" + port, 403},
      {withToken("/ws"), "http://127.0.0.1:" + port + ".evil.example", 403},
      {withToken("/ws"), "", 403},
      {withToken("/socket"), origin(), 404},
  };
  for (const Attempt& a : refused) {
    sqtest::SocketClient client;
    EXPECT_TRUE(client.open(port_, a.target, a.origin)) << a.target << " from " << a.origin;
    EXPECT_EQ(client.status, a.status) << a.target << " from " << a.origin;
  }
  for (const std::string& allowed : {origin(), "http://localhost:" + port}) {
    sqtest::SocketClient client;
    EXPECT_FALSE(client.open(port_, withToken("/ws"), allowed)) << allowed;
    EXPECT_EQ(client.status, 101u);
  }
  // None of the refused attempts, nor the pages that connected and went, asked the host for
  // anything but their close.
  for (const Request& r : received(2)) EXPECT_EQ(r.kind, Request::Kind::Disconnected);
}

TEST_F(StudioServerTest, BadMessagesAreAnsweredAtOnceAndTheConnectionGoesOn) {
  start();
  auto client = page();
  const auto errorOf = [&client](const std::string& message) {
    const std::optional<std::string> reply = client->read();
    EXPECT_TRUE(reply.has_value()) << message << ": " << client->error.message();
    const nlohmann::json json = nlohmann::json::parse(reply.value_or("{}"), nullptr, false);
    EXPECT_EQ(json.value("type", ""), "error") << message << ": " << reply.value_or("");
    return json;
  };
  ASSERT_FALSE(client->sendText("{not json"));
  errorOf("malformed JSON");
  ASSERT_FALSE(client->sendText(R"({"type":"wiggle","seq":5})"));
  EXPECT_EQ(errorOf("unknown type").value("seq", 0), 5);
  ASSERT_FALSE(client->sendText(R"({"type":"mouse","action":"down","x":"far","seq":6})"));
  EXPECT_EQ(errorOf("bad field").value("seq", 0), 6);
  ASSERT_FALSE(client->sendText(std::string(sqhost::studio::kMaxRequestBytes + 1, ' ')));
  EXPECT_NE(errorOf("oversized").value("message", "").find("larger"), std::string::npos);
  ASSERT_FALSE(client->sendBinary(R"({"type":"hello","seq":7})"));
  EXPECT_NE(errorOf("binary").value("message", "").find("binary"), std::string::npos);

  // None of them reached the host; a good request after them does, with its connection.
  ASSERT_FALSE(client->sendText(R"({"type":"hello","seq":8})"));
  const std::vector<Request> got = received(1);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, Request::Kind::Hello);
  EXPECT_EQ(got[0].seq, 8);

  // Replies reach the one page; broadcasts every page, each in the order sent.
  auto other = page();
  server_->send(got[0].connection, "for you");
  server_->broadcast("for all 1");
  server_->broadcast("for all 2");
  EXPECT_EQ(client->read(), "for you");
  EXPECT_EQ(client->read(), "for all 1");
  EXPECT_EQ(client->read(), "for all 2");
  EXPECT_EQ(other->read(), "for all 1");
  EXPECT_EQ(other->read(), "for all 2");
}

TEST_F(StudioServerTest, APageThatGoesMidDragIsReportedClosed) {
  start();
  auto client = page();
  ASSERT_FALSE(client->sendText(R"({"type":"mouse","action":"down","x":10,"y":10,"seq":1})"));
  ASSERT_FALSE(client->sendText(R"({"type":"mouse","action":"drag","x":20,"y":10,"seq":2})"));
  ASSERT_EQ(received(2).size(), 2u);
  client->drop();
  const std::vector<Request> got = received(3);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[2].kind, Request::Kind::Disconnected);
  EXPECT_EQ(got[2].connection, got[0].connection);
  // The server forgot it: what the host still sends it goes nowhere, other pages work.
  server_->send(got[0].connection, "late");
  auto next = page();
  server_->broadcast("still here");
  EXPECT_EQ(next->read(), "still here");
}

TEST_F(StudioServerTest, APageThatReadsNothingIsCutOffInsteadOfHeldWithoutEnd) {
  ServerOptions options;
  options.maxQueuedBytes = 1024 * 1024;
  start(options);
  auto stalled = page();
  ASSERT_FALSE(stalled->sendText(R"({"type":"hello","seq":1})"));
  const std::vector<Request> hello = received(1);
  ASSERT_EQ(hello.size(), 1u);
  // Far more than the socket's buffers hold: the queue passes its limit while nothing is read.
  const std::string chunk(256 * 1024, 'u');
  for (int i = 0; i < 160; ++i) server_->send(hello[0].connection, chunk);
  const std::vector<Request> got = received(2);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].kind, Request::Kind::Disconnected);
}

TEST_F(StudioServerTest, StoppingClosesPagesWithACloseFrameAndCutsThoseThatDoNotAnswer) {
  start();
  auto client = page();
  auto silent = page();
  server_->broadcast("last");
  EXPECT_EQ(client->read(), "last");
  // One page reads (and so answers the close), the other does not.
  std::jthread stopper([this] { server_->stop(); });
  EXPECT_FALSE(client->read().has_value());
  EXPECT_EQ(client->error, sqtest::websocket::error::closed);
  stopper.join();
  EXPECT_EQ(silent->read(), "last");
  EXPECT_FALSE(silent->read().has_value());
  server_->stop();
  // Nothing listens any more.
  EXPECT_TRUE(sqtest::httpGet(port_, withToken("/")).error);
}

// `sqhost studio` as a user starts it: the address line, the page behind it, and Ctrl+C.
TEST(SqhostStudio, PrintsItsAddressServesThePageAndStopsCleanlyOnSigint) {
  sqtest::TempDir dir;
  sqtest::writeFile(dir.path() / "index.html", "<!doctype html><title>page</title>");
  fs::copy_file(fs::path(SQ_SOURCE_DIR) / "tools/sqhost/examples/drawing.svg",
                dir.path() / "drawing.svg");
  const fs::path prefs = dir.path() / "prefs.json";
  const std::string drawing = (dir.path() / "drawing.svg").string();
  ::setenv("SQHOST_STUDIO_DIR", dir.path().c_str(), 1);
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execl(SQ_SQHOST_PATH, SQ_SQHOST_PATH, "studio", drawing.c_str(), "--port", "0", "--root",
            dir.path().c_str(), "--prefs", prefs.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::unsetenv("SQHOST_STUDIO_DIR");
  ::close(out[1]);
  FILE* lines = ::fdopen(out[0], "r");
  std::string address;
  std::string printed;
  char line[4096];
  while (address.empty() && std::fgets(line, sizeof line, lines) != nullptr) {
    printed += line;
    std::smatch match;
    const std::string text(line);
    if (std::regex_search(text, match,
                          std::regex("^studio: (http://127\\.0\\.0\\.1:(\\d+)/"
                                     "\\?token=[0-9a-f]{32})"))) {
      address = match[1];
      const auto port = static_cast<uint16_t>(std::stoi(match[2]));
      const std::string target = address.substr(address.find('/', 7));
      const sqtest::HttpResult index = sqtest::httpGet(port, target);
      EXPECT_EQ(index.status, 200u);
      EXPECT_EQ(index.body, "<!doctype html><title>page</title>");
      EXPECT_EQ(sqtest::httpGet(port, "/").status, 403u);
    }
  }
  EXPECT_FALSE(address.empty()) << printed;
  ::kill(child, SIGINT);
  while (std::fgets(line, sizeof line, lines) != nullptr) printed += line;
  std::fclose(lines);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status)) << printed;
  EXPECT_EQ(WEXITSTATUS(status), 0) << printed;
  EXPECT_TRUE(fs::exists(prefs)) << printed;
}

TEST(SqhostStudio, RefusesAFolderOrFilesItCannotKeepItselfTo) {
  sqtest::TempDir dir;
  sqtest::writeFile(dir.path() / "plain.txt", "x");
  sqtest::TempDir other;
  sqtest::writeFile(other.path() / "away.svg", "<svg/>");
  const std::string sqhost = SQ_SQHOST_PATH;
  const std::string log = (dir.path() / "log.txt").string();
  const auto run = [&](const std::string& arguments) {
    const int status = std::system((sqhost + " studio " + arguments + " --prefs " +
                                    (dir.path() / "p.json").string() + " > " + log + " 2>&1")
                                       .c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  const std::string root = " --root " + dir.path().string();
  EXPECT_EQ(run("--root " + (dir.path() / "nowhere").string()), 2);
  EXPECT_NE(sqtest::readFile(log).find("there is no such folder"), std::string::npos);
  EXPECT_EQ(run("--root " + (dir.path() / "plain.txt").string()), 2);
  EXPECT_NE(sqtest::readFile(log).find("it is not a folder"), std::string::npos);
  EXPECT_EQ(run((other.path() / "away.svg").string() + root), 2);
  EXPECT_NE(sqtest::readFile(log).find("is outside the studio's folder"), std::string::npos)
      << sqtest::readFile(log);
  EXPECT_EQ(run((dir.path() / "missing.svg").string() + root), 2);
  EXPECT_NE(sqtest::readFile(log).find("there is no such file"), std::string::npos);
  EXPECT_NE(run("--port 70000"), 0);
  // Nothing started: no preferences were written.
  EXPECT_FALSE(fs::exists(dir.path() / "p.json"));
}

}  // namespace
