// A session around the host: running scripts, documents and files, rendering, the plug-in library.
#include "session/session.hpp"

#include "render/view_renderer.hpp"
#include "svg/svg_io.hpp"

namespace sqhost {

namespace {

std::filesystem::path under(const std::filesystem::path& base, const std::string& name) {
  std::filesystem::path p(name);
  if (p.is_relative() && !base.empty()) p = base / p;
  return p;
}

}  // namespace

std::filesystem::path Session::inputPath(const std::string& name) const {
  return under(inputBase_, name);
}

std::filesystem::path Session::outputPath(const std::string& name) const {
  return under(outputBase_, name);
}

bool Session::run(const std::vector<SessionStep>& steps) {
  if (host_.events().waits()) {
    host_.observer().note("a script cannot run while a front-end's events feed the host");
    return false;
  }
  std::size_t i = 0;
  while (i < steps.size()) {
    if (const auto* command = std::get_if<SessionCommand>(&steps[i])) {
      if (command->kind == SessionCommand::Kind::Quit) return true;
      if (!execute(*command)) return false;
      ++i;
      continue;
    }
    for (; i < steps.size() && std::holds_alternative<Event>(steps[i]); ++i) {
      host_.events().post(std::get<Event>(steps[i]));
    }
    if (!host_.runEvents()) return false;
  }
  return true;
}

bool Session::execute(const SessionCommand& command) {
  // A command is no user input: no modifier key is held while it runs.
  host_.dialogs().setEventModifiers(0);
  std::string error;
  const bool ok = executeCommand(command, error);
  if (!ok) host_.observer().note("line " + std::to_string(command.line) + ": " + error);
  host_.idle();
  return ok;
}

bool Session::executeCommand(const SessionCommand& c, std::string& error) {
  using K = SessionCommand::Kind;
  Document* doc = host_.currentDocument();
  switch (c.kind) {
    case K::Open:
    case K::New:
      return openFile(c, error);
    case K::Close:
      return closeCurrent(error);
    case K::Save: {
      if (doc == nullptr) break;
      const auto path = outputPath(c.name);
      const svg::SaveResult saved = svg::saveSvgFile(*doc, path.string());
      if (!saved.ok()) {
        error = saved.error;
        return false;
      }
      host_.observer().note("saved " + path.string());
      return true;
    }
    case K::Png:
      return renderPng(c, error);
    case K::Report: {
      const auto path = outputPath(c.name);
      const std::string failed = writeReport(*this, path);
      if (!failed.empty()) {
        error = failed;
        return false;
      }
      host_.observer().note("report written to " + path.string());
      return true;
    }
    case K::SelectNone:
    case K::SelectPath:
    case K::SelectPoint:
    case K::MovePoint:
      return select(c, error);
    case K::Preference:
      return setPreference(c, error);
    case K::Unload:
    case K::Reload:
      return unloadOrReload(c, error);
    case K::Quit:
      return true;
  }
  error = "no document is open";
  return false;
}

bool Session::openFile(const SessionCommand& c, std::string& error) {
  if (c.kind == SessionCommand::Kind::New) {
    host_.openDocument(Document::makeNew());
    host_.observer().note("new document");
    return true;
  }
  const auto path = inputPath(c.name);
  svg::ImportResult imported = svg::importSvgFile(path.string());
  if (!imported.ok()) {
    error = "cannot open " + path.string() + ": " + imported.error;
    return false;
  }
  imported.document->setName(path.string());
  host_.openDocument(std::move(*imported.document));
  host_.observer().note("opened " + path.string());
  return true;
}

bool Session::closeCurrent(std::string& error) {
  const Document* doc = host_.currentDocument();
  if (doc == nullptr) {
    error = "no document is open";
    return false;
  }
  // A gesture runs in one undo context of its document: it ends first.
  if (host_.buttonDown()) {
    error = "the button is down: use up before closing the document";
    return false;
  }
  const std::string name = doc->name();
  const AIErr result = host_.closeDocument(doc->id());
  if (result != kNoErr) {
    error = "the document cannot be closed: error " + errorText(result);
    return false;
  }
  host_.observer().note("closed " + (name.empty() ? std::string("the document") : name));
  return true;
}

bool Session::renderPng(const SessionCommand& c, std::string& error) {
  Document* doc = host_.currentDocument();
  View* view = host_.currentView();
  if (doc == nullptr || view == nullptr) {
    error = "no document is open";
    return false;
  }
  const auto path = outputPath(c.name);
  // The image needs the whole display list; a pending full repaint goes first, so the plug-in
  // sees the same messages as when the host paints on its own.
  host_.invalidateAnnotatorsIfPending(*view);
  DisplayList annotations = host_.paintAnnotations(*view, /*whole=*/true);
  render::RenderOptions options;
  options.annotations = &annotations;
  options.cursor = host_.cursorPicture(*view);
  options.selection = host_.edgesShown();
  const std::string failed = render::renderViewToPng(*doc, *view, options, path);
  if (!failed.empty()) {
    error = failed;
    return false;
  }
  host_.observer().note("rendered the view to " + path.string());
  return true;
}

bool Session::unloadOrReload(const SessionCommand& c, std::string& error) {
  if (c.kind == SessionCommand::Kind::Unload) {
    if (!host_.unloadPlugin(error)) return false;
    host_.observer().note("plug-in library unloaded");
    return true;
  }
  if (host_.library() != nullptr && host_.library()->loaded()) {
    error = "the plug-in is already loaded";
    return false;
  }
  if (!host_.reloadPlugin(error)) return false;
  host_.observer().note("plug-in library reloaded");
  return true;
}

}  // namespace sqhost
