// The studio's inbox: requests across threads, closing, and serving a modal dialog's loop.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "studio/studio_inbox.hpp"
#include "support/host_fixture.hpp"

namespace {

using sqhost::Event;
using sqhost::studio::Request;
using sqhost::studio::StudioInbox;

Request request(Request::Kind kind, int64_t seq, int connection = 1) {
  Request r;
  r.kind = kind;
  r.seq = seq;
  r.connection = connection;
  return r;
}

// What the hooks saw: replies per connection and broadcasts, in order.
struct Outbox {
  std::mutex mutex;
  std::vector<std::pair<int, std::string>> sent;
  std::vector<std::string> broadcasts;
};

// Hooks that turn a dialog request into a press of its item and refuse everything else with a
// reply, as the host's session does while a dialog waits.
StudioInbox::Hooks fakeHooks(Outbox& out, std::function<void()> onBroadcast = {}) {
  StudioInbox::Hooks hooks;
  hooks.nestedEvent = [](const Request& r, std::string& reply) -> std::optional<Event> {
    if (r.kind != Request::Kind::Dialog) {
      reply = "wait " + std::to_string(r.seq);
      return std::nullopt;
    }
    Event e;
    e.kind = Event::Kind::DialogPress;
    e.item = r.item;
    return e;
  };
  hooks.update = [](int64_t seq) { return "update " + std::to_string(seq); };
  hooks.send = [&out](int connection, const std::string& text) {
    const std::lock_guard lock(out.mutex);
    out.sent.emplace_back(connection, text);
  };
  hooks.broadcast = [&out, onBroadcast = std::move(onBroadcast)](const std::string& text) {
    {
      const std::lock_guard lock(out.mutex);
      out.broadcasts.push_back(text);
    }
    if (onBroadcast) onBroadcast();
  };
  return hooks;
}

TEST(StudioInbox, GivesRequestsInOrderAcrossThreadsAndNothingOnceClosed) {
  StudioInbox inbox;
  std::jthread network([&] {
    inbox.post(request(Request::Kind::Hello, 1));
    inbox.post(request(Request::Kind::Undo, 2, 7));
  });
  std::optional<Request> first = inbox.next();
  std::optional<Request> second = inbox.next();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->kind, Request::Kind::Hello);
  EXPECT_EQ(second->kind, Request::Kind::Undo);
  EXPECT_EQ(second->connection, 7);
  EXPECT_EQ(inbox.lastSeq(), 2);
  network.join();

  // A stop ends a waiting main loop, and requests still queued are not given out.
  std::jthread stopper([&] {
    inbox.post(request(Request::Kind::Redo, 3));
    inbox.close();
  });
  stopper.join();
  EXPECT_FALSE(inbox.next().has_value());
  EXPECT_TRUE(inbox.closed());
  EXPECT_TRUE(inbox.empty());
  // What comes after the stop is dropped too, and a nested loop finds nothing.
  inbox.post(request(Request::Kind::Hello, 4));
  EXPECT_FALSE(inbox.peek().has_value());
  EXPECT_FALSE(inbox.take().has_value());
  EXPECT_EQ(inbox.size(), 0u);
}

TEST(StudioInbox, ANestedLoopGetsEventsRefusedRequestsAreAnsweredAndAWaitIsAnnounced) {
  Outbox out;
  StudioInbox inbox(fakeHooks(out));
  EXPECT_TRUE(inbox.waits());
  Request press = request(Request::Kind::Dialog, 10, 3);
  press.item = 5;
  inbox.post(request(Request::Kind::Mouse, 9, 2));
  inbox.post(press);

  // The mouse request gives no event: it is answered on its own connection and dropped; the
  // dialog request is the event, seen by peek and then taken.
  std::optional<Event> seen = inbox.peek();
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->kind, Event::Kind::DialogPress);
  EXPECT_EQ(seen->item, 5);
  EXPECT_EQ(inbox.size(), 1u);
  std::optional<Event> taken = inbox.take();
  ASSERT_TRUE(taken.has_value());
  EXPECT_EQ(taken->item, 5);
  EXPECT_EQ(inbox.lastSeq(), 10);
  {
    const std::lock_guard lock(out.mutex);
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0], (std::pair<int, std::string>{2, "wait 9"}));
    // Nothing waited yet, so nothing was announced.
    EXPECT_TRUE(out.broadcasts.empty());
  }

  // With the queue empty the inbox announces the state before it blocks; the next request then
  // wakes it. The request is posted only after the announcement, so the test hangs rather than
  // passing if the inbox blocks first.
  std::promise<void> announced;
  std::once_flag once;
  inbox.setHooks(fakeHooks(out, [&] { std::call_once(once, [&] { announced.set_value(); }); }));
  std::jthread user([&, shown = announced.get_future()] {
    shown.wait();
    Request again = request(Request::Kind::Dialog, 11);
    again.item = 1;
    inbox.post(again);
  });
  std::optional<Event> next = inbox.take();
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->item, 1);
  user.join();
  const std::lock_guard lock(out.mutex);
  ASSERT_FALSE(out.broadcasts.empty());
  EXPECT_EQ(out.broadcasts.front(), "update 10");
}

TEST(StudioInbox, AnEventANestedLoopLeftIsNotGivenToTheMainLoop) {
  Outbox out;
  StudioInbox inbox(fakeHooks(out));
  Request press = request(Request::Kind::Dialog, 1);
  inbox.post(press);
  ASSERT_TRUE(inbox.peek().has_value());
  inbox.post(request(Request::Kind::Undo, 2));
  // The dialog closed without taking it: the main loop goes on with the next request.
  std::optional<Request> next = inbox.next();
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->kind, Request::Kind::Undo);
  EXPECT_TRUE(inbox.empty());
}

class StudioInboxWithHost : public sqtest::HostTest {};

// The About dialog opened through the host waits on the inbox: the page is told before the wait,
// what is not for the dialog is refused with a reply, and the page's press closes it.
TEST_F(StudioInboxWithHost, AModalDialogWaitsForThePageAndUnwindsWhenTheInboxCloses) {
  startHost();
  Outbox out;
  std::promise<void> announced;
  std::once_flag once;
  StudioInbox inbox(fakeHooks(out, [&] { std::call_once(once, [&] { announced.set_value(); }); }));
  host().useEventSource(&inbox);
  std::jthread page([&, shown = announced.get_future()] {
    shown.wait();
    inbox.post(request(Request::Kind::Mouse, 21, 4));
    Request ok = request(Request::Kind::Dialog, 22, 4);
    ok.item = 1;
    inbox.post(ok);
  });
  Event about;
  about.kind = Event::Kind::About;
  EXPECT_TRUE(host().handleEvent(about));
  page.join();
  const sqhost::DialogRecord& shown = host().dialogs().dialogsShown().back();
  EXPECT_EQ(shown.closedWith, 1);
  EXPECT_FALSE(shown.cancelled);
  {
    const std::lock_guard lock(out.mutex);
    ASSERT_FALSE(out.broadcasts.empty());
    EXPECT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent.front().first, 4);
  }

  // A stop while the dialog waits cancels it and the host comes back.
  std::promise<void> waiting;
  std::once_flag second;
  inbox.setHooks(fakeHooks(out, [&] { std::call_once(second, [&] { waiting.set_value(); }); }));
  std::jthread stopper([&, shown = waiting.get_future()] {
    shown.wait();
    inbox.close();
  });
  EXPECT_TRUE(host().handleEvent(about));
  stopper.join();
  EXPECT_TRUE(host().dialogs().dialogsShown().back().cancelled);
  EXPECT_TRUE(noted("cancelled: the input closed"));
  host().useEventSource(nullptr);
}

}  // namespace
