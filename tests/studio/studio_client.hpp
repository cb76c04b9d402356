// A page's side of the studio's server for tests: HTTP requests and a WebSocket, with timeouts.
#pragma once

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace sqtest {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

// Long enough never to cut a working exchange; it only keeps a broken one from hanging.
inline constexpr auto kClientTimeout = std::chrono::seconds(20);

// Runs io until the operation started by start() has completed (timers it leaves, such as a
// WebSocket's idle timer, stay pending); its error.
template <class Start>
beast::error_code await(asio::io_context& io, Start&& start) {
  std::optional<beast::error_code> result;
  start([&result](beast::error_code ec, auto&&...) { result = ec; });
  io.restart();
  while (!result && io.run_one() > 0) {
  }
  return result.value_or(asio::error::timed_out);
}

struct HttpResult {
  beast::error_code error;
  unsigned status = 0;
  std::string contentType;
  std::string body;
};

// One request on a connection of its own; extra headers as name/value pairs.
inline HttpResult httpRequest(uint16_t port, http::verb verb, const std::string& target,
                              const std::string& origin = {}) {
  asio::io_context io;
  beast::tcp_stream stream(io);
  HttpResult result;
  stream.expires_after(kClientTimeout);
  result.error = await(io, [&](auto handler) {
    stream.async_connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port), handler);
  });
  if (result.error) return result;
  http::request<http::empty_body> request{verb, target, 11};
  request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
  if (!origin.empty()) request.set(http::field::origin, origin);
  result.error = await(io, [&](auto handler) { http::async_write(stream, request, handler); });
  if (result.error) return result;
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.skip(verb == http::verb::head);
  result.error =
      await(io, [&](auto handler) { http::async_read(stream, buffer, parser, handler); });
  if (result.error) return result;
  result.status = parser.get().result_int();
  result.contentType = std::string(parser.get()[http::field::content_type]);
  result.body = parser.get().body();
  return result;
}

inline HttpResult httpGet(uint16_t port, const std::string& target) {
  return httpRequest(port, http::verb::get, target);
}

// Bytes written as they are, the sending side then closed, and what comes back until the server
// closes.
inline std::string rawExchange(uint16_t port, const std::string& bytes) {
  asio::io_context io;
  beast::tcp_stream stream(io);
  stream.expires_after(kClientTimeout);
  if (await(io, [&](auto handler) {
        stream.async_connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port), handler);
      })) {
    return {};
  }
  if (await(io, [&](auto handler) { asio::async_write(stream, asio::buffer(bytes), handler); })) {
    return {};
  }
  beast::error_code ignored;
  stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
  std::string answer;
  for (;;) {
    char chunk[4096];
    std::size_t got = 0;
    const beast::error_code ec = await(io, [&](auto handler) {
      stream.async_read_some(asio::buffer(chunk),
                             [&got, handler](beast::error_code e, std::size_t n) mutable {
                               got = n;
                               handler(e);
                             });
    });
    answer.append(chunk, got);
    if (ec) return answer;
  }
}

// A page's WebSocket.
class SocketClient {
 public:
  // Connects and asks for the upgrade at target with this Origin (none when empty). The error is
  // the handshake's; status the server's answer (101 when upgraded).
  beast::error_code open(uint16_t port, const std::string& target, const std::string& origin) {
    beast::get_lowest_layer(ws_).expires_after(kClientTimeout);
    beast::error_code ec = await(io_, [&](auto handler) {
      beast::get_lowest_layer(ws_).async_connect(
          tcp::endpoint(asio::ip::make_address("127.0.0.1"), port), handler);
    });
    if (ec) return ec;
    // After the handshake the WebSocket keeps time itself: a page that hears nothing for this
    // long gives up.
    websocket::stream_base::timeout timeout{};
    timeout.handshake_timeout = kClientTimeout;
    timeout.idle_timeout = kClientTimeout;
    timeout.keep_alive_pings = false;
    ws_.set_option(timeout);
    ws_.set_option(websocket::stream_base::decorator([origin](websocket::request_type& request) {
      if (!origin.empty()) request.set(http::field::origin, origin);
    }));
    ec = await(io_, [&](auto handler) {
      ws_.async_handshake(response_, "127.0.0.1:" + std::to_string(port), target, handler);
    });
    status = response_.result_int();
    return ec;
  }

  beast::error_code sendText(const std::string& text) {
    ws_.text(true);
    return await(io_, [&](auto handler) { ws_.async_write(asio::buffer(text), handler); });
  }

  beast::error_code sendBinary(const std::string& bytes) {
    ws_.binary(true);
    return await(io_, [&](auto handler) { ws_.async_write(asio::buffer(bytes), handler); });
  }

  // The next message, or nothing (error set) when the connection ends first.
  std::optional<std::string> read() {
    beast::flat_buffer buffer;
    error = await(io_, [&](auto handler) { ws_.async_read(buffer, handler); });
    if (error) return std::nullopt;
    return beast::buffers_to_string(buffer.data());
  }

  // Closes the socket without a close frame, as a tab that crashes does.
  void drop() {
    beast::error_code ignored;
    beast::get_lowest_layer(ws_).socket().shutdown(tcp::socket::shutdown_both, ignored);
    beast::get_lowest_layer(ws_).close();
  }

  unsigned status = 0;
  beast::error_code error;

 private:
  asio::io_context io_;
  websocket::stream<beast::tcp_stream> ws_{io_};
  websocket::response_type response_;
};

}  // namespace sqtest
