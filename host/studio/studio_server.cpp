// The studio's local server: token-checked HTTP for the page's files, a WebSocket for its requests.
#include "studio/studio_server.hpp"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <csignal>
#include <deque>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>
#include <thread>

namespace sqhost::studio {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

namespace {

// Beast has a string view type of its own.
std::string_view view(beast::string_view text) {
  return {text.data(), text.size()};
}

// Past this a message is not even read to its end: the connection is closed. Between
// kMaxRequestBytes and this, the message is read and thrown away and the page told.
constexpr std::size_t kHardMessageLimit = 16 * kMaxRequestBytes;
// Nothing the page asks over HTTP has a body or long headers.
constexpr std::size_t kMaxHeaderBytes = 16 * 1024;
constexpr std::size_t kMaxBodyBytes = 4 * 1024;
// How long a stop waits for pages to answer the close before the connections are cut.
constexpr auto kCloseGrace = std::chrono::seconds(2);

// The value of key in a query string ("a=1&token=T"), or nothing.
std::optional<std::string_view> queryParameter(std::string_view query, std::string_view key) {
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const std::size_t eq = pair.find('=');
    if (pair.substr(0, eq) == key) {
      return eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1);
    }
    if (amp == std::string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return std::nullopt;
}

// Compares every character whatever the first difference, so that the time taken tells nothing
// of how much of a guessed token was right.
bool sameToken(std::string_view given, std::string_view token) {
  if (given.size() != token.size()) return false;
  unsigned char diff = 0;
  for (std::size_t i = 0; i < token.size(); ++i) {
    diff |= static_cast<unsigned char>(given[i] ^ token[i]);
  }
  return diff == 0;
}

// The content type of a file the page may load, by its extension; empty for any other file.
std::string_view contentType(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view ext = name.substr(dot + 1);
  if (ext == "html") return "text/html; charset=utf-8";
  if (ext == "js") return "text/javascript; charset=utf-8";
  if (ext == "css") return "text/css; charset=utf-8";
  if (ext == "png") return "image/png";
  if (ext == "svg") return "image/svg+xml";
  if (ext == "json") return "application/json";
  return {};
}

// A single file name of the static folder: letters, digits, '.', '_' and '-', not starting with
// a dot. Anything with a slash, a percent sign or "..' is no such name.
bool plainFileName(std::string_view name) {
  if (name.empty() || name.size() > 128 || name.front() == '.') return false;
  for (const char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

// The whole of a regular file (not a symlink) of dir, or nothing.
std::optional<std::string> readStaticFile(const std::filesystem::path& dir, std::string_view name) {
  const std::filesystem::path path = dir / std::string(name);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec))) {
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(text).str();
}

}  // namespace

std::string makeSessionToken() {
  std::random_device device;
  std::uniform_int_distribution<int> digit(0, 15);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token(32, '0');
  for (char& c : token) c = kHex[digit(device)];
  return token;
}

class StudioServer::Impl {
 public:
  class HttpSession;
  class SocketSession;

  Impl(ServerOptions options, Sink sink)
      : options_(std::move(options)), sink_(std::move(sink)), token_(makeSessionToken()) {}
  ~Impl() { stop(); }

  bool start(std::string& error);
  void stop();
  void send(int connection, std::shared_ptr<const std::string> text);
  void broadcast(std::shared_ptr<const std::string> text);

  // Network thread only, from here on.
  void accept();
  void waitForSignal();
  void upgraded(http::request<http::string_body> request, beast::tcp_stream stream);
  void ended(int id, bool socket);
  void deliver(Request request) {
    if (sink_) sink_(std::move(request));
  }
  http::response<http::string_body> respond(const http::request<http::string_body>& request);
  bool allowedOrigin(std::string_view origin) const;
  std::optional<std::string_view> tokenProblem(std::string_view target) const;

  asio::io_context io_{1};
  ServerOptions options_;
  Sink sink_;
  std::string token_;
  uint16_t port_ = 0;
  std::function<void()> onSignal_;
  tcp::acceptor acceptor_{io_};
  asio::signal_set signals_{io_};
  asio::steady_timer retryTimer_{io_};
  asio::steady_timer graceTimer_{io_};
  std::thread thread_;
  bool running_ = false;   // start() succeeded and stop() has not run (host thread)
  bool stopping_ = false;  // network thread
  int nextId_ = 1;
  std::map<int, std::weak_ptr<HttpSession>> https_;
  std::map<int, std::weak_ptr<SocketSession>> sockets_;
};

// One HTTP connection: requests read one after another until it closes or upgrades.
class StudioServer::Impl::HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(Impl& server, int id, tcp::socket socket)
      : server_(server), id_(id), stream_(std::move(socket)) {}

  void read() {
    parser_.emplace();
    parser_->header_limit(kMaxHeaderBytes);
    parser_->body_limit(kMaxBodyBytes);
    stream_.expires_after(std::chrono::seconds(server_.options_.idleSeconds));
    http::async_read(stream_, buffer_, *parser_,
                     beast::bind_front_handler(&HttpSession::onRead, shared_from_this()));
  }

  void shutDown() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.close();
  }

 private:
  void onRead(beast::error_code ec, std::size_t) {
    if (ec) {
      // What is not HTTP gets a plain 400 before the connection goes; a closed or silent one
      // just goes.
      if (ec.category() == http::make_error_code(http::error::bad_target).category() &&
          ec != http::error::end_of_stream && !server_.stopping_) {
        http::response<http::string_body> bad{http::status::bad_request, 11};
        bad.set(http::field::content_type, "text/plain; charset=utf-8");
        bad.body() = "bad request\n";
        bad.keep_alive(false);
        bad.prepare_payload();
        write(std::move(bad));
        return;
      }
      finish();
      return;
    }
    http::request<http::string_body> request = parser_->release();
    const std::string_view target = view(request.target());
    if (websocket::is_upgrade(request) && !server_.tokenProblem(target) &&
        target.substr(0, target.find('?')) == "/ws" &&
        server_.allowedOrigin(view(request[http::field::origin]))) {
      server_.ended(id_, false);
      server_.upgraded(std::move(request), std::move(stream_));
      return;
    }
    write(server_.respond(request));
  }

  void write(http::response<http::string_body> response) {
    response_ = std::move(response);
    stream_.expires_after(std::chrono::seconds(server_.options_.idleSeconds));
    http::async_write(stream_, response_,
                      beast::bind_front_handler(&HttpSession::onWrite, shared_from_this()));
  }

  void onWrite(beast::error_code ec, std::size_t) {
    if (ec || !response_.keep_alive() || server_.stopping_) {
      finish();
      return;
    }
    read();
  }

  void finish() {
    shutDown();
    server_.ended(id_, false);
  }

  Impl& server_;
  int id_;
  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  http::response<http::string_body> response_;
};

// One page's WebSocket: messages read and handed on, replies and updates written in order.
class StudioServer::Impl::SocketSession : public std::enable_shared_from_this<SocketSession> {
 public:
  SocketSession(Impl& server, int id, beast::tcp_stream stream)
      : server_(server), id_(id), ws_(std::move(stream)) {}

  void accept(http::request<http::string_body> request) {
    beast::get_lowest_layer(ws_).expires_never();
    beast::error_code ignored;
    beast::get_lowest_layer(ws_).socket().set_option(tcp::no_delay(true), ignored);
    websocket::stream_base::timeout timeout{};
    timeout.handshake_timeout = std::chrono::seconds(10);
    timeout.idle_timeout = std::chrono::seconds(server_.options_.idleSeconds);
    timeout.keep_alive_pings = true;
    ws_.set_option(timeout);
    ws_.read_message_max(kHardMessageLimit);
    ws_.text(true);
    ws_.async_accept(request,
                     beast::bind_front_handler(&SocketSession::onAccept, shared_from_this()));
  }

  // Text queued before the handshake has completed goes out right after it.
  void enqueue(std::shared_ptr<const std::string> text) {
    if (closing_ || finished_) return;
    queuedBytes_ += text->size();
    if (queuedBytes_ > server_.options_.maxQueuedBytes) {
      // The page reads nothing: cut it off rather than keep what it will never take.
      cut();
      return;
    }
    queue_.push_back(std::move(text));
    if (open_ && !writing_) writeNext();
  }

  // Closes with a close frame once what is queued is written.
  void shutDown() {
    if (!open_) {
      cut();
      return;
    }
    closing_ = true;
    if (!writing_) closeNow();
  }

  // Drops the connection at once; the read in progress fails and finishes the session.
  void cut() {
    closing_ = true;
    queue_.clear();
    queuedBytes_ = 0;
    beast::error_code ignored;
    beast::get_lowest_layer(ws_).socket().shutdown(tcp::socket::shutdown_both, ignored);
    beast::get_lowest_layer(ws_).close();
  }

 private:
  void onAccept(beast::error_code ec) {
    if (ec) {
      finish();
      return;
    }
    open_ = true;
    if (server_.stopping_) {
      shutDown();
    } else if (!queue_.empty()) {
      writeNext();
    }
    read();
  }

  void read() {
    ws_.async_read_some(buffer_, 0,
                        beast::bind_front_handler(&SocketSession::onRead, shared_from_this()));
  }

  void onRead(beast::error_code ec, std::size_t) {
    if (ec) {
      finish();
      return;
    }
    if (oversized_ || buffer_.size() > kMaxRequestBytes) {
      oversized_ = true;
      buffer_.consume(buffer_.size());
    }
    if (ws_.is_message_done()) {
      if (oversized_) {
        reply(errorReply(
            0, "the message is larger than " + std::to_string(kMaxRequestBytes) + " bytes"));
      } else if (ws_.got_binary()) {
        reply(errorReply(0, "binary messages are not read: send each request as JSON text"));
      } else {
        handle(beast::buffers_to_string(buffer_.data()));
      }
      buffer_.consume(buffer_.size());
      oversized_ = false;
    }
    read();
  }

  void handle(const std::string& text) {
    ParsedRequest parsed = parseRequest(text);
    if (!parsed.request) {
      reply(errorReply(parsed.seq, parsed.error));
      return;
    }
    parsed.request->connection = id_;
    server_.deliver(std::move(*parsed.request));
  }

  void reply(std::string text) { enqueue(std::make_shared<const std::string>(std::move(text))); }

  void writeNext() {
    writing_ = true;
    ws_.async_write(asio::buffer(*queue_.front()),
                    beast::bind_front_handler(&SocketSession::onWrite, shared_from_this()));
  }

  void onWrite(beast::error_code ec, std::size_t) {
    if (!queue_.empty()) {
      queuedBytes_ -= queue_.front()->size();
      queue_.pop_front();
    }
    writing_ = false;
    if (ec) {
      finish();
      return;
    }
    if (!queue_.empty()) {
      writeNext();
    } else if (closing_) {
      closeNow();
    }
  }

  void closeNow() {
    if (closeSent_) return;
    closeSent_ = true;
    // The read in progress ends when the page answers the close (or the timeout cuts it).
    ws_.async_close(websocket::close_code::going_away,
                    [self = shared_from_this()](beast::error_code) {});
  }

  void finish() {
    if (finished_) return;
    finished_ = true;
    const bool wasOpen = open_;
    open_ = false;
    cut();
    server_.ended(id_, true);
    if (wasOpen) {
      Request closed;
      closed.kind = Request::Kind::Disconnected;
      closed.connection = id_;
      server_.deliver(std::move(closed));
    }
  }

  Impl& server_;
  int id_;
  websocket::stream<beast::tcp_stream> ws_;
  beast::flat_buffer buffer_;
  bool oversized_ = false;  // the message being read is past the limit: its bytes are dropped
  std::deque<std::shared_ptr<const std::string>> queue_;
  std::size_t queuedBytes_ = 0;
  bool writing_ = false;
  bool open_ = false;
  bool closing_ = false;
  bool closeSent_ = false;
  bool finished_ = false;
};

bool StudioServer::Impl::start(std::string& error) {
  if (running_) return true;
  beast::error_code ec;
  const tcp::endpoint endpoint{asio::ip::make_address_v4("127.0.0.1"), options_.port};
  acceptor_.open(endpoint.protocol(), ec);
  if (!ec) acceptor_.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) acceptor_.bind(endpoint, ec);
  if (!ec) acceptor_.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) {
    error = "cannot listen on 127.0.0.1:" + std::to_string(options_.port) + ": " + ec.message();
    acceptor_.close(ec);
    return false;
  }
  port_ = acceptor_.local_endpoint().port();
  if (onSignal_) {
    signals_.add(SIGINT);
    signals_.add(SIGTERM);
    waitForSignal();
  }
  accept();
  running_ = true;
  thread_ = std::thread([this] { io_.run(); });
  return true;
}

void StudioServer::Impl::stop() {
  if (!running_) return;
  running_ = false;
  asio::post(io_, [this] {
    stopping_ = true;
    beast::error_code ignored;
    acceptor_.close(ignored);
    signals_.cancel(ignored);
    retryTimer_.cancel();
    // Sessions leave the maps as they end, so go over copies.
    const auto https = https_;
    for (const auto& [id, weak] : https) {
      if (auto session = weak.lock()) session->shutDown();
    }
    const auto sockets = sockets_;
    for (const auto& [id, weak] : sockets) {
      if (auto session = weak.lock()) session->shutDown();
    }
    if (https_.empty() && sockets_.empty()) {
      io_.stop();
      return;
    }
    graceTimer_.expires_after(kCloseGrace);
    graceTimer_.async_wait([this](beast::error_code ec) {
      if (ec) return;
      // Pages that did not answer the close are cut off.
      const auto late = sockets_;
      for (const auto& [id, weak] : late) {
        if (auto session = weak.lock()) session->cut();
      }
      io_.stop();
    });
  });
  thread_.join();
}

void StudioServer::Impl::accept() {
  acceptor_.async_accept([this](beast::error_code ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted || stopping_) return;
    if (ec) {
      // Out of descriptors or the like: try again shortly instead of spinning.
      retryTimer_.expires_after(std::chrono::milliseconds(100));
      retryTimer_.async_wait([this](beast::error_code timerError) {
        if (!timerError && !stopping_) accept();
      });
      return;
    }
    const int id = nextId_++;
    auto session = std::make_shared<HttpSession>(*this, id, std::move(socket));
    https_[id] = session;
    session->read();
    accept();
  });
}

void StudioServer::Impl::waitForSignal() {
  signals_.async_wait([this](beast::error_code ec, int) {
    if (ec) return;
    if (onSignal_) onSignal_();
    waitForSignal();
  });
}

void StudioServer::Impl::upgraded(http::request<http::string_body> request,
                                  beast::tcp_stream stream) {
  if (stopping_) return;
  const int id = nextId_++;
  auto session = std::make_shared<SocketSession>(*this, id, std::move(stream));
  sockets_[id] = session;
  session->accept(std::move(request));
}

void StudioServer::Impl::ended(int id, bool socket) {
  if (socket) {
    sockets_.erase(id);
  } else {
    https_.erase(id);
  }
  // The WebSockets' own timers may still be pending: nothing is left to wait for.
  if (stopping_ && https_.empty() && sockets_.empty()) io_.stop();
}

bool StudioServer::Impl::allowedOrigin(std::string_view origin) const {
  const std::string port = std::to_string(port_);
  return origin == "http://127.0.0.1:" + port || origin == "http://localhost:" + port;
}

std::optional<std::string_view> StudioServer::Impl::tokenProblem(std::string_view target) const {
  const std::size_t question = target.find('?');
  if (question == std::string_view::npos) return "no token";
  const auto given = queryParameter(target.substr(question + 1), "token");
  if (!given) return "no token";
  if (!sameToken(*given, token_)) return "wrong token";
  return std::nullopt;
}

http::response<http::string_body> StudioServer::Impl::respond(
    const http::request<http::string_body>& request) {
  const auto plain = [&request](http::status status, std::string text) {
    http::response<http::string_body> response{status, request.version()};
    response.set(http::field::content_type, "text/plain; charset=utf-8");
    response.set(http::field::cache_control, "no-store");
    response.body() = std::move(text);
    response.keep_alive(request.keep_alive());
    response.prepare_payload();
    return response;
  };
  const std::string_view target = view(request.target());
  if (tokenProblem(target)) return plain(http::status::forbidden, "forbidden\n");
  const std::string_view path = target.substr(0, target.find('?'));
  if (websocket::is_upgrade(request) && path != "/ws") {
    return plain(http::status::not_found, "not found\n");
  }
  if (path == "/ws") {
    if (!websocket::is_upgrade(request)) {
      return plain(http::status::bad_request, "this address takes a WebSocket upgrade\n");
    }
    // The token was right, so what is wrong is where the page came from.
    return plain(http::status::forbidden, "forbidden origin\n");
  }
  if (request.method() != http::verb::get && request.method() != http::verb::head) {
    auto response = plain(http::status::method_not_allowed, "only GET and HEAD\n");
    response.set(http::field::allow, "GET, HEAD");
    return response;
  }
  const std::string_view name = path == "/" ? std::string_view("index.html") : path.substr(1);
  const std::string_view type = contentType(name);
  std::optional<std::string> body;
  if (path.size() >= 1 && path.front() == '/' && plainFileName(name) && !type.empty()) {
    body = readStaticFile(options_.staticDir, name);
  }
  if (!body) return plain(http::status::not_found, "not found\n");

  http::response<http::string_body> response{http::status::ok, request.version()};
  response.set(http::field::content_type, beast::string_view(type.data(), type.size()));
  response.set(http::field::cache_control, "no-store");
  response.set("X-Content-Type-Options", "nosniff");
  // The token is in the page's address: it must not travel to anywhere the page links to.
  response.set("Referrer-Policy", "no-referrer");
  response.keep_alive(request.keep_alive());
  if (request.method() == http::verb::head) {
    response.content_length(body->size());
  } else {
    response.body() = std::move(*body);
    response.prepare_payload();
  }
  return response;
}

void StudioServer::Impl::send(int connection, std::shared_ptr<const std::string> text) {
  asio::post(io_, [this, connection, text = std::move(text)]() mutable {
    const auto it = sockets_.find(connection);
    if (it == sockets_.end()) return;
    if (auto session = it->second.lock()) session->enqueue(std::move(text));
  });
}

void StudioServer::Impl::broadcast(std::shared_ptr<const std::string> text) {
  asio::post(io_, [this, text = std::move(text)] {
    const auto sockets = sockets_;
    for (const auto& [id, weak] : sockets) {
      if (auto session = weak.lock()) session->enqueue(text);
    }
  });
}

StudioServer::StudioServer(ServerOptions options, Sink sink)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(sink))) {}

StudioServer::~StudioServer() = default;

bool StudioServer::start(std::string& error) {
  return impl_->start(error);
}

void StudioServer::stop() {
  impl_->stop();
}

void StudioServer::onStopSignal(std::function<void()> handler) {
  impl_->onSignal_ = std::move(handler);
}

uint16_t StudioServer::port() const {
  return impl_->port_;
}

const std::string& StudioServer::token() const {
  return impl_->token_;
}

std::string StudioServer::address() const {
  return "http://127.0.0.1:" + std::to_string(impl_->port_) + "/?token=" + impl_->token_;
}

void StudioServer::send(int connection, std::string text) {
  impl_->send(connection, std::make_shared<const std::string>(std::move(text)));
}

void StudioServer::broadcast(std::string text) {
  impl_->broadcast(std::make_shared<const std::string>(std::move(text)));
}

}  // namespace sqhost::studio
