// The host's menus as the user works them: plug-in menu items, panels' flyout menus, Show/Hide
// Edges.
#include "app/host.hpp"
#include "sqsdk/suites/ai_menu.h"
#include "sqsdk/suites/ai_notifier.h"

namespace sqhost {

void Host::updateMenus() {
  std::vector<AIMenuItemHandle> wanting;
  for (const auto& item : registrations_.menuItems()) {
    if ((item->options & kAIMenuItemWantsUpdateOption) != 0) {
      wanting.push_back(Registrations::handleOf(*item));
    }
  }
  for (AIMenuItemHandle handle : wanting) {
    if (registrations_.menuItem(handle) == nullptr) continue;
    AIMenuMessage update{};
    update.menuItem = handle;
    send(kCallerAIMenu, kSelectorAIUpdateMenuItem, &update);
  }
}

bool Host::handleMenuEvent(const Event& e, std::string& error) {
  using K = Event::Kind;
  switch (e.kind) {
    case K::Menu: {
      // Opening the menus updates every item that asked, then the user chooses one.
      updateMenus();
      MenuItemRecord* chosen = nullptr;
      for (const auto& item : registrations_.menuItems()) {
        if (item->name == e.text) chosen = item.get();
      }
      if (chosen == nullptr) {
        error = "no menu item is named \"" + e.text + "\"";
        return false;
      }
      if (!chosen->enabled) {
        error = "menu item \"" + e.text + "\" is disabled";
        return false;
      }
      observer_.note("menu item \"" + chosen->name + "\" chosen (" + chosen->group + ")");
      AIMenuMessage go{};
      go.menuItem = Registrations::handleOf(*chosen);
      undo_.beginContext(chosen->text);
      send(kCallerAIMenu, kSelectorAIGoMenuItem, &go);
      undo_.endContext();
      return true;
    }
    case K::FlyoutOpen:
      return dialogs_.openFlyout(e.modifiers, error);
    case K::FlyoutChoose:
      return dialogs_.chooseFlyout(static_cast<std::size_t>(e.number), error);
    case K::Edges: {
      const bool show = e.number != 0;
      if (show == edgesShown_) {
        error = std::string("the edges are already ") + (show ? "shown" : "hidden");
        return false;
      }
      edgesShown_ = show;
      observer_.note(show ? "edges shown" : "edges hidden");
      if (View* view = currentView()) view->needsFullRepaint = true;
      postNotification(kAICommandNotifierAfterShowHideEdges);
      return true;
    }
    default:
      error = "this event is not handled here";
      return false;
  }
}

}  // namespace sqhost
