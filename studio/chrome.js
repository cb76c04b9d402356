// The application's frame around the view: the top bar, the tool box and the status bar.

// Pictures of the host's own tools (16 x 16), light on the dark tool box.
const HOST_TOOL_ICONS = {
  "Selection Tool":
    '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16"><path d="M4 1.5v12l3-3 2.2 4.6 1.8-.9-2.2-4.5H13z" fill="#e8e8e8" stroke="#111" stroke-width=".8" stroke-linejoin="round"/></svg>',
  "Direct Selection Tool":
    '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16"><path d="M4 1.5v12l3-3 2.2 4.6 1.8-.9-2.2-4.5H13z" fill="#1e1e1e" stroke="#e8e8e8" stroke-width=".9" stroke-linejoin="round"/></svg>',
  "Pen Tool":
    '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16"><path d="M8 1.5 12.5 9 10 14.5H6L3.5 9z" fill="#e8e8e8" stroke="#111" stroke-width=".8" stroke-linejoin="round"/><path d="M8 2v6" stroke="#111" stroke-width=".9"/><circle cx="8" cy="9" r="1.1" fill="#111"/></svg>',
};

// Modules are loaded with the page's own query (its token), as every request of the page must be.
const query = new URL(import.meta.url).search;
const { shownLabel } = await import(`./draw.js${query}`);

function el(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}

// The Info values by variable number, with the labels the tool's readouts use.
const INFO_LABELS = { 2: "W", 3: "H", 4: "D", 5: "∠", 15: "X", 16: "Y" };
const INFO_ORDER = [15, 16, 2, 3, 4, 5];

function formatInfo(value) {
  if (typeof value === "number") return Number.isInteger(value) ? String(value) : value.toFixed(2);
  return String(value);
}

export class Chrome {
  // parts: the page's elements; send(request, event) → seq.
  constructor(parts, send) {
    this.parts = parts;
    this.send = send;
    this.tools = [];
    this.errorTimer = 0;
    this.buildTopBar();
  }

  buildTopBar() {
    const p = this.parts;
    p.open.addEventListener("click", (event) => {
      if (!p.fileMenu.hidden) {
        p.fileMenu.hidden = true;
        return;
      }
      event.stopPropagation();
      this.send({ type: "files" }, event);
      p.fileMenu.replaceChildren(el("div", "sq-menu-note", "Reading the folder…"));
      this.showMenu(p.fileMenu, p.open);
    });
    p.panelsButton.addEventListener("click", (event) => {
      event.stopPropagation();
      if (!p.panelMenu.hidden) {
        p.panelMenu.hidden = true;
        return;
      }
      this.fillPanelMenu();
      this.showMenu(p.panelMenu, p.panelsButton);
    });
    p.save.addEventListener("click", (event) => this.send({ type: "save" }, event));
    p.undo.addEventListener("click", (event) => this.send({ type: "undo" }, event));
    p.redo.addEventListener("click", (event) => this.send({ type: "redo" }, event));
    p.zoomOut.addEventListener("click", (event) => this.zoomBy(1 / Math.SQRT2, event));
    p.zoomIn.addEventListener("click", (event) => this.zoomBy(Math.SQRT2, event));
    p.fit.addEventListener("click", (event) => this.send({ type: "view", fit: true }, event));
    p.about.addEventListener("click", (event) => this.send({ type: "about" }, event));
    document.addEventListener("pointerdown", (event) => {
      for (const menu of [p.fileMenu, p.panelMenu]) {
        if (!menu.hidden && !menu.contains(event.target)) menu.hidden = true;
      }
    });
  }

  showMenu(menu, anchor) {
    const r = anchor.getBoundingClientRect();
    menu.style.left = `${r.left}px`;
    menu.style.top = `${r.bottom + 2}px`;
    menu.hidden = false;
  }

  zoomBy(factor, event) {
    const z = Math.min(64, Math.max(1 / 32, (this.zoom || 1) * factor));
    this.send({ type: "view", zoom: z }, event);
  }

  setFiles(files) {
    const menu = this.parts.fileMenu;
    if (!Array.isArray(files) || files.length === 0) {
      menu.replaceChildren(el("div", "sq-menu-note", "No SVG files in this folder"));
      return;
    }
    menu.replaceChildren(
      ...files.map((file) => {
        const row = el("div", "sq-menu-entry", String(file));
        row.addEventListener("click", (event) => {
          menu.hidden = true;
          this.send({ type: "open", file: String(file) }, event);
        });
        return row;
      }),
    );
  }

  // panels: a function giving the current panel models.
  setPanelSource(panels) {
    this.panelSource = panels;
  }

  fillPanelMenu() {
    const menu = this.parts.panelMenu;
    const panels = this.panelSource?.() ?? [];
    if (panels.length === 0) {
      menu.replaceChildren(el("div", "sq-menu-note", "No panels"));
      return;
    }
    menu.replaceChildren(
      ...panels.map((panel) => {
        const row = el("div", "sq-menu-entry", shownLabel(panel.title ?? panel.name));
        row.classList.toggle("sq-checked", panel.visible !== false);
        row.addEventListener("click", (event) => {
          menu.hidden = true;
          const action = panel.visible === false ? "show" : "hide";
          this.send({ type: "panel", dialog: panel.name, action }, event);
        });
        return row;
      }),
    );
  }

  setDocument(doc) {
    const name = doc ? String(doc.name ?? doc.file ?? "Untitled") : "";
    this.parts.docName.textContent = name;
    this.parts.docName.title = doc?.file ? String(doc.file) : "";
    document.title = name ? `${name} — Studio` : "Studio";
  }

  setView(view) {
    if (typeof view?.zoom === "number" && view.zoom > 0) {
      this.zoom = view.zoom;
      this.parts.zoomLevel.textContent = `${Math.round(view.zoom * 1000) / 10}%`;
    }
  }

  setTools(tools) {
    if (!Array.isArray(tools)) return;
    this.tools = tools;
    const box = this.parts.toolbox;
    const children = [];
    let group = null;
    for (const tool of tools) {
      if (group !== null && tool.group !== group) children.push(el("div", "sq-tool-separator"));
      group = tool.group;
      const button = el("button", "sq-tool");
      button.type = "button";
      button.title = tool.tooltip || tool.title || tool.name;
      button.setAttribute("aria-label", tool.title || tool.name);
      button.classList.toggle("sq-current", tool.current === true);
      if (typeof tool.icon === "string" && tool.icon.startsWith("data:image/")) {
        const img = el("img");
        img.src = tool.icon;
        img.alt = "";
        button.append(img);
      } else if (HOST_TOOL_ICONS[tool.name]) {
        // The host's own tools carry no picture in its model: the tool box draws them.
        const img = el("img");
        img.src = `data:image/svg+xml,${encodeURIComponent(HOST_TOOL_ICONS[tool.name])}`;
        img.alt = "";
        button.append(img);
      } else {
        // A tool without an icon shows its initials.
        const words = String(tool.title || tool.name).split(/\s+/).filter((w) => w && w !== "Tool");
        button.append(el("span", "sq-tool-letters", words.map((w) => w[0]).join("").slice(0, 2)));
      }
      button.addEventListener("click", (event) => this.send({ type: "tool", name: tool.name }, event));
      button.addEventListener("dblclick", (event) => this.send({ type: "toolOptions", name: tool.name }, event));
      children.push(button);
    }
    box.replaceChildren(...children);
  }

  setStatus(status) {
    if (!status || typeof status !== "object") return;
    const p = this.parts;
    if ("tool" in status) {
      const tool = this.tools.find((t) => t.name === status.tool);
      p.statusTool.textContent = tool?.title || status.tool || "";
    }
    if (status.info && typeof status.info === "object") {
      const entries = Object.entries(status.info).sort(
        ([a], [b]) => (INFO_ORDER.indexOf(+a) + 1 || 99) - (INFO_ORDER.indexOf(+b) + 1 || 99),
      );
      p.statusInfo.replaceChildren(
        ...entries.map(([key, value]) => {
          const span = el("span", "sq-info");
          span.append(el("b", "", INFO_LABELS[key] ?? `#${key}`), ` ${formatInfo(value)}`);
          return span;
        }),
      );
    }
    if ("snapLabel" in status) p.statusSnap.textContent = status.snapLabel ?? "";
    const undo = status.undo;
    if (undo && typeof undo === "object") {
      p.undo.disabled = !undo.undo;
      p.redo.disabled = !undo.redo;
      p.undo.title = undo.undo ? `Undo ${undo.undoText ?? ""}`.trim() : "Nothing to undo";
      p.redo.title = undo.redo ? `Redo ${undo.redoText ?? ""}`.trim() : "Nothing to redo";
    }
    if (Array.isArray(status.messages) && status.messages.length > 0) {
      const last = String(status.messages[status.messages.length - 1]);
      this.message(last);
    }
  }

  message(text) {
    clearTimeout(this.errorTimer);
    this.parts.statusMessage.classList.remove("sq-error");
    this.parts.statusMessage.textContent = text;
    this.parts.statusMessage.title = text;
  }

  // An error from the host shows for a few seconds, then the last message returns.
  error(text) {
    const m = this.parts.statusMessage;
    const previous = m.classList.contains("sq-error") ? this.lastMessage : m.textContent;
    this.lastMessage = previous;
    clearTimeout(this.errorTimer);
    m.classList.add("sq-error");
    m.textContent = text;
    m.title = text;
    this.errorTimer = setTimeout(() => {
      m.classList.remove("sq-error");
      m.textContent = previous;
      m.title = previous;
    }, 5000);
  }

  setConnection(state) {
    const banner = this.parts.banner;
    banner.hidden = state === "open";
    banner.textContent = state === "reconnecting" ? "Connection lost — reconnecting…" : "Connecting…";
  }
}
