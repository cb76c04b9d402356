// What plug-ins registered with the host: tools, annotators, menu items and notifiers.
#include "app/registrations.hpp"

#include <algorithm>

namespace sqhost {

namespace {
template <typename R, typename H>
R* find(const std::vector<std::unique_ptr<R>>& list, H handle) {
  for (const auto& r : list) {
    if (reinterpret_cast<H>(r.get()) == handle) return r.get();
  }
  return nullptr;
}
}  // namespace

Registrations::Registrations() {
  // The host's own tools. The pen tool heads its group and toolset.
  for (const char* name : {"Selection Tool", "Direct Selection Tool", "Pen Tool"}) {
    ToolRecord r;
    r.name = name;
    r.title = name;
    r.builtIn = true;
    ToolRecord& added = addTool(r);
    added.group = added.number;
    added.toolset = added.number;
  }
  currentTool_ = tools_.front().get();
}

ToolRecord& Registrations::addTool(ToolRecord r) {
  r.number = nextToolNumber_++;
  tools_.push_back(std::make_unique<ToolRecord>(std::move(r)));
  return *tools_.back();
}

AnnotatorRecord& Registrations::addAnnotator(AnnotatorRecord r) {
  annotators_.push_back(std::make_unique<AnnotatorRecord>(std::move(r)));
  return *annotators_.back();
}

MenuItemRecord& Registrations::addMenuItem(MenuItemRecord r) {
  menuItems_.push_back(std::make_unique<MenuItemRecord>(std::move(r)));
  return *menuItems_.back();
}

NotifierRecord& Registrations::addNotifier(NotifierRecord r) {
  notifiers_.push_back(std::make_unique<NotifierRecord>(std::move(r)));
  return *notifiers_.back();
}

ToolRecord* Registrations::tool(AIToolHandle h) const {
  return find(tools_, h);
}
AnnotatorRecord* Registrations::annotator(AIAnnotatorHandle h) const {
  return find(annotators_, h);
}
MenuItemRecord* Registrations::menuItem(AIMenuItemHandle h) const {
  return find(menuItems_, h);
}
NotifierRecord* Registrations::notifier(AINotifierHandle h) const {
  return find(notifiers_, h);
}

ToolRecord* Registrations::toolByName(const std::string& name) const {
  for (const auto& t : tools_) {
    if (t->name == name) return t.get();
  }
  return nullptr;
}

ToolRecord* Registrations::toolByNumber(int32_t number) const {
  for (const auto& t : tools_) {
    if (t->number == number) return t.get();
  }
  return nullptr;
}

void Registrations::dropPluginRegistrations() {
  if (currentTool_ != nullptr && !currentTool_->builtIn) currentTool_ = tools_.front().get();
  std::erase_if(tools_, [](const auto& t) { return !t->builtIn; });
  annotators_.clear();
  menuItems_.clear();
  notifiers_.clear();
}

}  // namespace sqhost
