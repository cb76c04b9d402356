// What plug-ins registered with the host: tools, annotators, menu items and notifiers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/icon_image.hpp"
#include "sqsdk/types.h"

namespace sqhost {

struct ToolRecord {
  std::string name;
  std::string title;
  std::string tooltip;
  int32_t number = 0;   // the host's tool number
  int32_t group = 0;    // tool number of the group's first tool
  int32_t toolset = 0;  // tool number of the toolset's first tool
  int32_t options = 0;
  bool hasIcon = false;
  std::shared_ptr<const IconImage> icon;  // the tool box picture, kept from AddTool; may be null
  bool builtIn = false;                   // the host's own tools, such as "Pen Tool"
  std::vector<int32_t> infoVariables;
  std::vector<AIReal> infoValues;  // one per declared variable
};

struct AnnotatorRecord {
  std::string name;
  bool active = false;
};

struct MenuItemRecord {
  std::string name;
  std::string group;
  std::string text;
  int32_t options = 0;
  bool checked = false;
  bool enabled = true;
};

struct NotifierRecord {
  std::string name;
  std::string type;
  bool active = true;
};

// Records live at stable addresses; the opaque handles given to plug-ins point at them.
class Registrations {
 public:
  Registrations();

  ToolRecord& addTool(ToolRecord r);
  AnnotatorRecord& addAnnotator(AnnotatorRecord r);
  MenuItemRecord& addMenuItem(MenuItemRecord r);
  NotifierRecord& addNotifier(NotifierRecord r);

  // The record a handle stands for, or null when the handle names nothing registered.
  ToolRecord* tool(AIToolHandle h) const;
  AnnotatorRecord* annotator(AIAnnotatorHandle h) const;
  MenuItemRecord* menuItem(AIMenuItemHandle h) const;
  NotifierRecord* notifier(AINotifierHandle h) const;

  static AIToolHandle handleOf(ToolRecord& r) { return reinterpret_cast<AIToolHandle>(&r); }
  static AIAnnotatorHandle handleOf(AnnotatorRecord& r) {
    return reinterpret_cast<AIAnnotatorHandle>(&r);
  }
  static AIMenuItemHandle handleOf(MenuItemRecord& r) {
    return reinterpret_cast<AIMenuItemHandle>(&r);
  }
  static AINotifierHandle handleOf(NotifierRecord& r) {
    return reinterpret_cast<AINotifierHandle>(&r);
  }

  ToolRecord* toolByName(const std::string& name) const;
  ToolRecord* toolByNumber(int32_t number) const;

  const std::vector<std::unique_ptr<ToolRecord>>& tools() const { return tools_; }
  const std::vector<std::unique_ptr<AnnotatorRecord>>& annotators() const { return annotators_; }
  const std::vector<std::unique_ptr<MenuItemRecord>>& menuItems() const { return menuItems_; }
  const std::vector<std::unique_ptr<NotifierRecord>>& notifiers() const { return notifiers_; }

  // The current tool (a host tool or a plug-in tool); the selection tool at start.
  ToolRecord* currentTool() const { return currentTool_; }
  void setCurrentTool(ToolRecord* tool) {
    if (tool != currentTool_) ++toolChanges_;
    currentTool_ = tool;
  }
  // How many times the current tool changed: what belongs to one period of a tool (its custom
  // snap constraints) is dropped when this moves on, even if the same tool is chosen again.
  uint64_t toolChanges() const { return toolChanges_; }

  // Drops everything plug-ins registered (the host's own tools stay).
  void dropPluginRegistrations();

 private:
  uint64_t toolChanges_ = 0;
  std::vector<std::unique_ptr<ToolRecord>> tools_;
  std::vector<std::unique_ptr<AnnotatorRecord>> annotators_;
  std::vector<std::unique_ptr<MenuItemRecord>> menuItems_;
  std::vector<std::unique_ptr<NotifierRecord>> notifiers_;
  int32_t nextToolNumber_ = 1;
  ToolRecord* currentTool_ = nullptr;
};

}  // namespace sqhost
