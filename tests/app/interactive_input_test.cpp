// A front-end's event source: the host's loop and a modal dialog wait for what the user does.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "app/events.hpp"
#include "support/host_fixture.hpp"

namespace {

using sqhost::Event;

Event event(Event::Kind kind, int32_t item = 0) {
  Event e;
  e.kind = kind;
  e.item = item;
  return e;
}

class InteractiveInput : public sqtest::HostTest {
 protected:
  // Opens the About dialog through the host's loop on queue, and gives the user (another thread)
  // the chance to answer once the dialog has opened. Returns when the queue is closed and empty.
  void runAbout(sqhost::BlockingEventQueue& queue,
                const std::function<void(sqhost::BlockingEventQueue&)>& user) {
    host().useEventSource(&queue);
    std::promise<void> opened;
    bool signalled = false;
    host().observer().setEcho([&](const std::string& line) {
      if (!signalled && line.find("opened: \"About Spindlequiver\"") != std::string::npos) {
        signalled = true;
        opened.set_value();
      }
    });
    std::jthread front([&, shown = opened.get_future()]() mutable {
      shown.wait();
      user(queue);
    });
    queue.post(event(Event::Kind::About));
    EXPECT_TRUE(host().runEvents());
    front.join();
    host().observer().setEcho(nullptr);
    host().useEventSource(nullptr);
  }

  const sqhost::DialogRecord& lastDialog() { return host().dialogs().dialogsShown().back(); }
};

TEST_F(InteractiveInput, AModalDialogWaitsForTheUserAndRefusesOtherInputMeanwhile) {
  startHost();
  sqhost::BlockingEventQueue queue;
  runAbout(queue, [](sqhost::BlockingEventQueue& q) {
    q.post(event(Event::Kind::MouseMove));  // not for the dialog
    q.post(event(Event::Kind::DialogPress, 1));
    q.close();
  });
  EXPECT_EQ(lastDialog().closedWith, 1);
  EXPECT_FALSE(lastDialog().cancelled);
  EXPECT_TRUE(noted("input refused while \"SpindlequiverAboutDialog\" is open"));
  EXPECT_TRUE(queue.empty());
}

TEST_F(InteractiveInput, ClosingTheSourceCancelsAWaitingDialogAndEndsTheLoop) {
  startHost();
  sqhost::BlockingEventQueue queue;
  runAbout(queue, [](sqhost::BlockingEventQueue& q) { q.close(); });
  EXPECT_TRUE(lastDialog().cancelled);
  EXPECT_TRUE(noted("dialog \"SpindlequiverAboutDialog\" cancelled: the input closed"));
  // A script does not run while a front-end feeds the host.
  sqhost::BlockingEventQueue front;
  host().useEventSource(&front);
  EXPECT_FALSE(driver().run("new\n"));
  EXPECT_EQ(host().documents().count(), 0u);
  host().useEventSource(nullptr);
  // The host's own queue serves scripts again: an unanswered dialog is cancelled at once.
  host().events().post(event(Event::Kind::About));
  EXPECT_TRUE(host().runEvents());
  EXPECT_TRUE(noted("cancelled: no queued action answered it"));
}

TEST(BlockingEventQueue, TakesInOrderWaitsAcrossThreadsAndEndsAfterClose) {
  sqhost::BlockingEventQueue queue;
  std::jthread poster([&] {
    queue.post(event(Event::Kind::KeyDown, 1));
    queue.post(event(Event::Kind::KeyDown, 2));
    queue.close();
  });
  // Peeking waits for the first event and leaves it queued.
  ASSERT_EQ(queue.peek()->item, 1);
  ASSERT_EQ(queue.take()->item, 1);
  ASSERT_EQ(queue.take()->item, 2);
  // Closed and empty: nothing, without waiting.
  EXPECT_FALSE(queue.take().has_value());
  EXPECT_FALSE(queue.peek().has_value());
  EXPECT_TRUE(queue.waits());
}

}  // namespace
