// The host painting views: annotators drawing dirty regions, full repaints, and the cursor picture.
#include <utility>

#include "app/host.hpp"
#include "io/png_decoder.hpp"
#include "render/view_renderer.hpp"

namespace sqhost {

std::vector<AIAnnotatorHandle> Host::activeAnnotators() const {
  std::vector<AIAnnotatorHandle> handles;
  for (const auto& record : registrations_.annotators()) {
    if (record->active) handles.push_back(Registrations::handleOf(*record));
  }
  return handles;
}

DisplayList Host::paintAnnotations(View& view, bool whole) {
  const DisplayList* painted = paintDirty(view, whole);
  return painted != nullptr ? *painted : DisplayList{};
}

const DisplayList* Host::paintDirty(View& view, bool whole) {
  DisplayList list;
  if (whole) view.invalidateAll();
  if (view.dirty.empty()) return nullptr;
  std::vector<AIRealRect> rects;
  for (const AIRect& r : view.dirty) {
    rects.push_back({static_cast<float>(r.left), static_cast<float>(r.top),
                     static_cast<float>(r.right), static_cast<float>(r.bottom)});
  }
  PaintRecord& record = paints_[view.id];
  ++record.count;
  record.whole = whole || (view.dirty.size() == 1 && view.dirty.front().left <= 0 &&
                           view.dirty.front().top <= 0 && view.dirty.front().right >= view.width &&
                           view.dirty.front().bottom >= view.height);
  record.region = view.dirty;
  view.dirty.clear();
  // Each annotator is checked again before its message: an earlier one may have switched it off.
  for (AIAnnotatorHandle handle : activeAnnotators()) {
    const AnnotatorRecord* record = registrations_.annotator(handle);
    if (record == nullptr || !record->active || !library_ || !library_->loaded()) continue;
    const AIRect bounds{0, 0, view.width, view.height};
    AIPortRef port = dialogs_.openPort(list, bounds);
    AIAnnotatorMessage message{};
    message.annotator = handle;
    message.view = ViewList::handleOf(view);
    message.port = port;
    message.invalidationRects = rects.data();
    message.invalidationRectCount = static_cast<int32_t>(rects.size());
    send(kCallerAIAnnotation, kSelectorAIDrawAnnotation, &message);
    dialogs_.closePort(port);
  }
  DisplayList& kept = lastAnnotations_[view.id];
  kept = std::move(list);
  return &kept;
}

void Host::invalidateAnnotatorsIfPending(View& view) {
  if (!view.needsFullRepaint || !library_ || !library_->loaded()) return;
  view.needsFullRepaint = false;
  for (AIAnnotatorHandle handle : activeAnnotators()) {
    const AnnotatorRecord* record = registrations_.annotator(handle);
    if (record == nullptr || !record->active || !library_ || !library_->loaded()) continue;
    AIAnnotatorMessage message{};
    message.annotator = handle;
    message.view = ViewList::handleOf(view);
    send(kCallerAIAnnotation, kSelectorAIInvalAnnotation, &message);
  }
  view.invalidateAll();
}

void Host::paintWhenIdle() {
  if (depth_ != 0 || !library_ || !library_->loaded()) return;
  View* view = currentView();
  if (view == nullptr) return;
  invalidateAnnotatorsIfPending(*view);
  if (!view->dirty.empty()) paintDirty(*view, false);
}

const DisplayList* Host::lastAnnotations(ObjectId view) const {
  auto it = lastAnnotations_.find(view);
  return it == lastAnnotations_.end() ? nullptr : &it->second;
}

const Host::PaintRecord* Host::paintRecord(ObjectId view) const {
  auto it = paints_.find(view);
  return it == paints_.end() ? nullptr : &it->second;
}

void Host::clearInvalidationLogs() {
  for (std::size_t i = 0; i < documents_.count(); ++i) {
    for (View* view : views_.of(documents_.at(i).id())) view->invalidationLog.clear();
  }
}

render::CursorPicture Host::cursorPicture(const View& view) {
  render::CursorPicture picture;
  const std::optional<CursorChoice>& choice = cursor_;
  const PluginResources* resources = dialogs_.resources();
  // The standard arrow has no picture of its own here; nothing is drawn for it.
  if (!view.lastMouse || !choice || choice->standard() || resources == nullptr) return picture;
  const auto found = resources->cursors.find(choice->id);
  if (found == resources->cursors.end()) return picture;
  const std::optional<AIPoint> at = view.toView(*view.lastMouse);
  if (!at) return picture;
  // Decoded the first time it is drawn, then kept with the plug-in's resources.
  const std::shared_ptr<const IconImage>& cursor = found->second.picture;
  if (!cursor || !cursor->raster().ok()) {
    observer_.note("the picture of cursor " + std::to_string(choice->id) + " cannot be read: " +
                   (cursor ? cursor->raster().error() : io::readPngSize(found->second.png).error));
    return picture;
  }
  picture.image = std::shared_ptr<const render::Raster>(cursor, &cursor->raster());
  picture.hotspot = {found->second.hotspotX, found->second.hotspotY};
  picture.at = *at;
  return picture;
}

}  // namespace sqhost
