// Registration suites: tools, annotators, menu items and notifiers.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_menu.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_tool.h"
#include "suites/publish_parts.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

bool ours(SPPluginRef plugin) {
  return plugin != nullptr && plugin == host().pluginRef();
}

std::string describeTool(const ToolRecord& t) {
  const Registrations& r = host().registrations();
  std::string text = "registered tool \"" + t.name + "\" (number " + std::to_string(t.number);
  if (const ToolRecord* g = r.toolByNumber(t.group); g && g->number != t.number) {
    text += ", in the group of \"" + g->name + "\"";
  }
  if (const ToolRecord* ts = r.toolByNumber(t.toolset); ts && ts->number != t.number) {
    text += ", toolset of \"" + ts->name + "\"";
  }
  char options[16];
  std::snprintf(options, sizeof options, "0x%02X", static_cast<unsigned>(t.options));
  return text + ", options " + options + (t.hasIcon ? ", with icon" : ", no icon") + ")";
}

// ---- Tools ------------------------------------------------------------------------------------

AIErr getToolNumberFromName(const char* name, int32_t* outNumber) {
  return guarded([&] {
    if (name == nullptr || outNumber == nullptr) return kBadParameterErr;
    const ToolRecord* t = host().registrations().toolByName(name);
    if (t == nullptr) return kBadParameterErr;
    *outNumber = t->number;
    return kNoErr;
  });
}

AIErr addTool(SPPluginRef plugin, const char* name, const AIAddToolData* data, int32_t options,
              AIToolHandle* outTool) {
  return guarded([&] {
    if (outTool != nullptr) *outTool = nullptr;
    if (!ours(plugin) || name == nullptr || data == nullptr || outTool == nullptr) {
      return kBadParameterErr;
    }
    const int32_t known = kAIToolWantsToTrackCursorOption | kAIToolWantsDiameterKeysOption;
    if ((options & ~known) != 0) return kBadParameterErr;
    Registrations& r = host().registrations();
    if (r.toolByName(name) != nullptr) return kDuplicateNameErr;
    if (const AIErr injected = host().injectedFailure("AddTool")) return injected;
    ToolRecord t;
    t.name = name;
    t.title = data->title ? data->title : name;
    t.tooltip = data->tooltip ? data->tooltip : "";
    t.options = options;
    t.hasIcon = data->icon != nullptr;
    if (data->icon != nullptr) t.icon = host().dialogs().icon(data->icon);
    const ToolRecord* group =
        data->sameGroupAs == kAINoTool ? nullptr : r.toolByNumber(data->sameGroupAs);
    const ToolRecord* toolset =
        data->sameToolsetAs == kAINoTool ? nullptr : r.toolByNumber(data->sameToolsetAs);
    if ((data->sameGroupAs != kAINoTool && group == nullptr) ||
        (data->sameToolsetAs != kAINoTool && toolset == nullptr)) {
      return kBadParameterErr;
    }
    ToolRecord& added = r.addTool(std::move(t));
    added.group = group ? group->group : added.number;
    added.toolset = toolset ? toolset->toolset : added.number;
    *outTool = Registrations::handleOf(added);
    host().observer().note(describeTool(added));
    return kNoErr;
  });
}

bool knownInfoVariable(int32_t v) {
  return v == kAIInfoDocX || v == kAIInfoDocY || v == kAIInfoSizeX || v == kAIInfoSizeY ||
         v == kAIInfoDistance || v == kAIInfoVectorAngle;
}

AIErr setToolInfoVars(AIToolHandle tool, const int32_t* infoVars) {
  return guarded([&] {
    ToolRecord* t = host().registrations().tool(tool);
    if (t == nullptr) return kBadHandleErr;
    if (infoVars == nullptr) return kBadParameterErr;
    std::vector<int32_t> vars;
    for (int i = 0; infoVars[i] != kAIInfoEndOfList; ++i) {
      if (i >= kAIMaxInfoVariables || !knownInfoVariable(infoVars[i])) return kBadParameterErr;
      vars.push_back(infoVars[i]);
    }
    t->infoVariables = vars;
    t->infoValues.assign(vars.size(), 0.0f);
    return kNoErr;
  });
}

AIErr setToolInfoVarValues(AIToolHandle tool, const int32_t* infoVars, const AIReal* values) {
  return guarded([&] {
    ToolRecord* t = host().registrations().tool(tool);
    if (t == nullptr) return kBadHandleErr;
    if (infoVars == nullptr || values == nullptr) return kBadParameterErr;
    std::vector<std::pair<std::size_t, AIReal>> updates;
    for (int i = 0; infoVars[i] != kAIInfoEndOfList; ++i) {
      if (i >= kAIMaxInfoVariables) return kBadParameterErr;
      auto at = std::find(t->infoVariables.begin(), t->infoVariables.end(), infoVars[i]);
      if (at == t->infoVariables.end()) return kBadParameterErr;
      if (!std::isfinite(values[i])) return kNonFiniteErr;
      updates.emplace_back(static_cast<std::size_t>(at - t->infoVariables.begin()), values[i]);
    }
    for (const auto& [index, value] : updates) t->infoValues[index] = value;
    return kNoErr;
  });
}

AIErr getSelectedTool(AIToolHandle* outTool) {
  if (outTool == nullptr) return kBadParameterErr;
  ToolRecord* current = host().registrations().currentTool();
  *outTool = current && !current->builtIn ? Registrations::handleOf(*current) : nullptr;
  return kNoErr;
}

AIErr setSelectedTool(AIToolHandle tool) {
  return guarded([&] {
    ToolRecord* t = host().registrations().tool(tool);
    if (t == nullptr) return kBadHandleErr;
    host().selectTool(*t);
    return kNoErr;
  });
}

// ---- Annotators -------------------------------------------------------------------------------

AIErr addAnnotator(SPPluginRef plugin, const char* name, AIAnnotatorHandle* outAnnotator) {
  return guarded([&] {
    if (outAnnotator != nullptr) *outAnnotator = nullptr;
    if (!ours(plugin) || name == nullptr || outAnnotator == nullptr) return kBadParameterErr;
    Registrations& r = host().registrations();
    for (const auto& a : r.annotators()) {
      if (a->name == name) return kDuplicateNameErr;
    }
    if (const AIErr injected = host().injectedFailure("AddAnnotator")) return injected;
    AnnotatorRecord& added = r.addAnnotator(AnnotatorRecord{name, true});
    *outAnnotator = Registrations::handleOf(added);
    host().observer().note("registered annotator \"" + added.name + "\"");
    return kNoErr;
  });
}

AIErr setAnnotatorActive(AIAnnotatorHandle annotator, AIBoolean active) {
  AnnotatorRecord* a = host().registrations().annotator(annotator);
  if (a == nullptr) return kBadHandleErr;
  a->active = active != 0;
  return kNoErr;
}

AIErr getAnnotatorActive(AIAnnotatorHandle annotator, AIBoolean* outActive) {
  if (outActive == nullptr) return kBadParameterErr;
  AnnotatorRecord* a = host().registrations().annotator(annotator);
  if (a == nullptr) return kBadHandleErr;
  *outActive = a->active ? 1 : 0;
  return kNoErr;
}

AIErr invalAnnotationRect(AIDocumentViewHandle view, const AIRect* rect) {
  return guarded([&] {
    if (rect == nullptr) return kBadParameterErr;
    View* v = host().views().fromHandle(view);
    if (v == nullptr) return kBadHandleErr;
    // The log keeps the rectangle as given, also when it lies outside the view.
    if (rect->right > rect->left && rect->bottom > rect->top) v->invalidationLog.push_back(*rect);
    v->invalidate(*rect);
    return kNoErr;
  });
}

// ---- Menu items -------------------------------------------------------------------------------

const std::set<std::string>& menuGroups() {
  static const std::set<std::string> groups = {kAIToolPalettesMenuGroup};
  return groups;
}

AIErr addMenuItem(SPPluginRef plugin, const char* name, const char* group, const char* text,
                  int32_t options, AIMenuItemHandle* outItem) {
  return guarded([&] {
    if (outItem != nullptr) *outItem = nullptr;
    if (!ours(plugin) || name == nullptr || group == nullptr || text == nullptr ||
        outItem == nullptr || (options & ~kAIMenuItemWantsUpdateOption) != 0) {
      return kBadParameterErr;
    }
    if (menuGroups().count(group) == 0) return kBadParameterErr;
    Registrations& r = host().registrations();
    for (const auto& m : r.menuItems()) {
      if (m->name == name) return kDuplicateNameErr;
    }
    if (const AIErr injected = host().injectedFailure("AddMenuItem")) return injected;
    MenuItemRecord& added = r.addMenuItem(MenuItemRecord{name, group, text, options, false, true});
    *outItem = Registrations::handleOf(added);
    host().observer().note("registered menu item \"" + added.text + "\" in \"" + added.group +
                           "\"" + (options ? " (with update messages)" : ""));
    return kNoErr;
  });
}

template <typename F>
AIErr withItem(AIMenuItemHandle item, F f) {
  MenuItemRecord* m = host().registrations().menuItem(item);
  if (m == nullptr) return kBadHandleErr;
  return guarded([&] { return f(*m); });
}

AIErr checkItem(AIMenuItemHandle item, AIBoolean checked) {
  return withItem(item, [&](MenuItemRecord& m) {
    m.checked = checked != 0;
    return kNoErr;
  });
}
AIErr isItemChecked(AIMenuItemHandle item, AIBoolean* outChecked) {
  if (outChecked == nullptr) return kBadParameterErr;
  return withItem(item, [&](MenuItemRecord& m) {
    *outChecked = m.checked;
    return kNoErr;
  });
}
AIErr enableItem(AIMenuItemHandle item, AIBoolean enabled) {
  return withItem(item, [&](MenuItemRecord& m) {
    m.enabled = enabled != 0;
    return kNoErr;
  });
}
AIErr isItemEnabled(AIMenuItemHandle item, AIBoolean* outEnabled) {
  if (outEnabled == nullptr) return kBadParameterErr;
  return withItem(item, [&](MenuItemRecord& m) {
    *outEnabled = m.enabled;
    return kNoErr;
  });
}
AIErr setItemText(AIMenuItemHandle item, const char* text) {
  if (text == nullptr) return kBadParameterErr;
  return withItem(item, [&](MenuItemRecord& m) {
    m.text = text;
    return kNoErr;
  });
}
AIErr getItemText(AIMenuItemHandle item, char* buffer, int32_t capacity) {
  return withItem(item, [&](MenuItemRecord& m) { return copyString(m.text, buffer, capacity); });
}

// ---- Notifiers --------------------------------------------------------------------------------

AIErr addNotifier(SPPluginRef plugin, const char* name, const char* type,
                  AINotifierHandle* outNotifier) {
  return guarded([&] {
    if (outNotifier != nullptr) *outNotifier = nullptr;
    if (!ours(plugin) || name == nullptr || type == nullptr || outNotifier == nullptr) {
      return kBadParameterErr;
    }
    Registrations& r = host().registrations();
    for (const auto& n : r.notifiers()) {
      if (n->name == name) return kDuplicateNameErr;
    }
    if (const AIErr injected = host().injectedFailure("AddNotifier")) return injected;
    NotifierRecord& added = r.addNotifier(NotifierRecord{name, type, true});
    *outNotifier = Registrations::handleOf(added);
    host().observer().note("registered notifier \"" + added.name + "\" for \"" + added.type + "\"");
    return kNoErr;
  });
}

AIErr setNotifierActive(AINotifierHandle notifier, AIBoolean active) {
  NotifierRecord* n = host().registrations().notifier(notifier);
  if (n == nullptr) return kBadHandleErr;
  n->active = active != 0;
  return kNoErr;
}

AIErr isNotifierActive(AINotifierHandle notifier, AIBoolean* outActive) {
  if (outActive == nullptr) return kBadParameterErr;
  NotifierRecord* n = host().registrations().notifier(notifier);
  if (n == nullptr) return kBadHandleErr;
  *outActive = n->active ? 1 : 0;
  return kNoErr;
}

const AIToolSuite kTool = {getToolNumberFromName, addTool,         setToolInfoVars,
                           setToolInfoVarValues,  getSelectedTool, setSelectedTool};
const AIAnnotatorSuite kAnnotator = {addAnnotator, setAnnotatorActive, getAnnotatorActive,
                                     invalAnnotationRect};
const AIMenuSuite kMenu = {addMenuItem,   checkItem,   isItemChecked, enableItem,
                           isItemEnabled, setItemText, getItemText};
const AINotifierSuite kNotifier = {addNotifier, setNotifierActive, isNotifierActive};

}  // namespace

void publishRegistrationSuites(SuiteRegistry& registry) {
  registry.add(kAIToolSuite, kAIToolSuiteVersion, &kTool);
  registry.add(kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, &kAnnotator);
  registry.add(kAIMenuSuite, kAIMenuSuiteVersion, &kMenu);
  registry.add(kAINotifierSuite, kAINotifierSuiteVersion, &kNotifier);
}

}  // namespace sqhost
