// Session commands that edit directly: selections, moved points and the host's own preferences.
#include <vector>

#include "prefs/host_preferences.hpp"
#include "session/session.hpp"
#include "sqsdk/errors.h"

namespace sqhost {

namespace {

// The first path (depth first, topmost first) whose name is name.
const Art* findPathNamed(const Art& art, const std::string& name) {
  if (art.type() == ArtType::kPath && art.name() == name) return &art;
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    if (const Art* found = findPathNamed(art.child(i), name)) return found;
  }
  return nullptr;
}

const Art* findPathNamed(const Document& doc, const std::string& name) {
  for (std::size_t i = 0; i < doc.layerCount(); ++i) {
    if (const Art* found = findPathNamed(doc.layer(i).group(), name)) return found;
  }
  return nullptr;
}

void collectSelected(const Art& art, std::vector<ArtId>& out) {
  if (art.attributes() & kArtSelected) out.push_back(art.id());
  for (std::size_t i = 0; i < art.childCount(); ++i) collectSelected(art.child(i), out);
}

}  // namespace

bool Session::select(const SessionCommand& c, std::string& error) {
  using K = SessionCommand::Kind;
  Document* doc = host_.currentDocument();
  if (doc == nullptr) {
    error = "no document is open";
    return false;
  }
  AIErr result = kNoErr;
  UndoManager& undo = host_.undo();
  undo.beginContext(c.kind == K::MovePoint ? "Move Point" : "Selection");
  if (c.kind == K::SelectNone) {
    std::vector<ArtId> selected;
    for (std::size_t i = 0; i < doc->layerCount(); ++i)
      collectSelected(doc->layer(i).group(), selected);
    for (ArtId id : selected) {
      if (Art* art = doc->modifyArt(id)) art->setSelected(false);
    }
  } else {
    const Art* path = findPathNamed(*doc, c.name);
    const auto index = static_cast<std::size_t>(c.index);
    if (path == nullptr) {
      error = "the document has no path named \"" + c.name + "\"";
    } else if (c.kind == K::SelectPath) {
      result = doc->modifyArt(path->id())->setSelected(true);
    } else if (c.kind == K::MovePoint && index < path->path().size()) {
      AIPathSegment s = path->path().segment(index);
      for (AIRealPoint* p : {&s.p, &s.in, &s.out}) {
        p->h += c.offset.h;
        p->v += c.offset.v;
      }
      result = doc->modifyArt(path->id())->setSegments(index, std::span(&s, 1));
    } else if (index >= path->path().size()) {
      error = "path \"" + c.name + "\" has " + std::to_string(path->path().size()) +
              " points; there is no point " + std::to_string(c.index);
    } else {
      result = doc->modifyArt(path->id())
                   ->setSegmentSelection(index, static_cast<SegmentSelection>(c.state));
    }
  }
  undo.endContext();
  if (error.empty() && result != kNoErr) {
    error = "the selection was refused: error " + errorText(result);
  }
  if (!error.empty()) return false;
  host_.documentChanged();
  return true;
}

bool Session::setPreference(const SessionCommand& c, std::string& error) {
  std::optional<PreferenceValue> value = preferenceCommandValue(c, error);
  if (!value) return false;
  if (!host_.preferences().putValue("", c.name, *value)) {
    error = "the preference \"" + c.name + "\" cannot take that value";
    return false;
  }
  host_.postNotification("AI Preference Changed Notifier");
  return true;
}

std::optional<PreferenceValue> preferenceCommandValue(const SessionCommand& c, std::string& error) {
  using T = SessionCommand::ValueType;
  PreferenceValue value;
  switch (c.valueType) {
    case T::Boolean:
      value = c.value != 0;
      break;
    case T::Integer:
      value = static_cast<int32_t>(c.value);
      break;
    case T::Real:
      value = c.value;
      break;
  }
  // The host's own preferences take their type from the host's table, and only what fits it.
  const HostPreference* preference = findHostPreference(c.name);
  if (preference == nullptr) return value;
  std::optional<PreferenceValue> fitted = fitHostPreference(*preference, value);
  if (!fitted) {
    error = "the host preference \"" + c.name + "\" (" + std::string(preference->meaning) +
            ") must be " + describeRange(*preference) + ", not " + describePreferenceValue(value);
  }
  return fitted;
}

}  // namespace sqhost
