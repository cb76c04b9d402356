// Floating panels, the modal dialog, alerts and the flyout menu, from the host's item model.

// Modules are loaded with the page's own query (its token), as every request of the page must be.
const query = new URL(import.meta.url).search;
const { ItemSet } = await import(`./items.js${query}`);
const { shownLabel } = await import(`./draw.js${query}`);
const { modifiersOf } = await import(`./connection.js${query}`);

const TITLE_HEIGHT = 24;

function boundsOf(b) {
  return Array.isArray(b) && b.length === 4 && b.every(Number.isFinite) ? b : [0, 0, 200, 120];
}

// One floating panel window: a title bar to drag it by, the flyout and close buttons, the body.
class PanelWindow {
  constructor(layer, name, send, openFlyout) {
    this.name = name;
    this.send = send;
    this.el = document.createElement("div");
    this.el.className = "sq-panel";
    this.title = document.createElement("div");
    this.title.className = "sq-panel-title";
    this.caption = document.createElement("span");
    this.caption.className = "sq-panel-caption";
    this.buttons = document.createElement("span");
    this.buttons.className = "sq-panel-buttons";
    const close = document.createElement("button");
    close.type = "button";
    close.className = "sq-panel-close";
    close.textContent = "×";
    close.title = "Hide the panel";
    close.addEventListener("pointerdown", (event) => event.stopPropagation());
    close.addEventListener("click", (event) => send({ type: "panel", dialog: name, action: "hide" }, event));
    this.title.append(this.caption, this.buttons, close);
    this.body = document.createElement("div");
    this.body.className = "sq-panel-body";
    this.el.append(this.title, this.body);
    layer.append(this.el);
    this.items = new ItemSet(this.body, { dialog: name, send, openFlyout: (event) => openFlyout(name, event) });
    this.dragTitle(layer);
  }

  set(panel, layer) {
    this.model = panel;
    this.caption.textContent = shownLabel(panel.title ?? panel.name);
    const [l, t, r, b] = boundsOf(panel.bounds);
    this.body.style.width = `${r - l}px`;
    this.body.style.height = `${b - t}px`;
    if (!this.dragging) this.moveTo(l, t - TITLE_HEIGHT, layer);
    this.el.style.display = panel.visible === false ? "none" : "";
    this.el.classList.toggle("sq-front", panel.front === true);
    this.items.set(panel.items, this.buttons);
  }

  // Places the window with its top-left at (x, y) of the layer, kept inside it.
  moveTo(x, y, layer) {
    const maxX = Math.max(0, layer.clientWidth - this.el.offsetWidth);
    const maxY = Math.max(0, layer.clientHeight - TITLE_HEIGHT);
    this.x = Math.min(Math.max(0, x), maxX);
    this.y = Math.min(Math.max(0, y), maxY);
    this.el.style.left = `${this.x}px`;
    this.el.style.top = `${this.y}px`;
  }

  // The body's bounds in layer pixels, as the host keeps them.
  bounds() {
    const [l, t, r, b] = boundsOf(this.model.bounds);
    const x = Math.round(this.x);
    const y = Math.round(this.y + TITLE_HEIGHT);
    return [x, y, x + (r - l), y + (b - t)];
  }

  dragTitle(layer) {
    let start = null;
    this.title.addEventListener("pointerdown", (event) => {
      if (event.button !== 0) return;
      event.preventDefault();
      start = { px: event.clientX, py: event.clientY, x: this.x, y: this.y };
      this.dragging = true;
      this.title.setPointerCapture(event.pointerId);
    });
    this.title.addEventListener("pointermove", (event) => {
      if (!start) return;
      this.moveTo(start.x + event.clientX - start.px, start.y + event.clientY - start.py, layer);
    });
    const end = (event) => {
      if (!start) return;
      const moved = this.x !== start.x || this.y !== start.y;
      start = null;
      this.dragging = false;
      if (moved) this.send({ type: "panel", dialog: this.name, action: "move", bounds: this.bounds() }, event);
    };
    this.title.addEventListener("pointerup", end);
    this.title.addEventListener("pointercancel", end);
  }
}

export class Dialogs {
  // layer: where panels float; send(request, event) → seq.
  constructor(layer, send) {
    this.layer = layer;
    this.send = send;
    this.panels = new Map();
    this.placed = new Set();
    this.modal = null;
    this.alert = null;
    this.flyout = null;
    this.flyoutMenu = document.createElement("div");
    this.flyoutMenu.className = "sq-menu sq-flyout";
    this.flyoutMenu.hidden = true;
    document.body.append(this.flyoutMenu);
    this.backdrop = document.createElement("div");
    this.backdrop.className = "sq-backdrop";
    this.backdrop.hidden = true;
    document.body.append(this.backdrop);
    // A click anywhere but the open flyout menu closes it.
    document.addEventListener(
      "pointerdown",
      (event) => {
        if (this.flyout && !this.flyoutMenu.contains(event.target)) {
          this.send({ type: "flyout", action: "close" }, event);
        }
      },
      true,
    );
  }

  openFlyout(name, event) {
    if (this.flyout) {
      this.send({ type: "flyout", action: "close" }, event);
      return;
    }
    const panel = this.panels.get(name);
    if (panel && !panel.model.front) this.send({ type: "panel", dialog: name, action: "show" }, event);
    this.send({ type: "flyout", action: "open", modifiers: modifiersOf(event) }, event);
  }

  setPanels(list) {
    if (!Array.isArray(list)) return;
    const seen = new Set();
    for (const panel of list) {
      if (!panel || typeof panel.name !== "string") continue;
      seen.add(panel.name);
      let win = this.panels.get(panel.name);
      if (!win) {
        win = new PanelWindow(this.layer, panel.name, this.send, (n, e) => this.openFlyout(n, e));
        this.panels.set(panel.name, win);
      }
      win.set(panel, this.layer);
      this.placeFirstTime(win);
    }
    for (const [name, win] of this.panels) {
      if (!seen.has(name)) {
        win.el.remove();
        this.panels.delete(name);
      }
    }
  }

  // A panel this page has not placed yet goes to the top right of the work area, once.
  placeFirstTime(win) {
    if (this.placed.has(win.name) || win.model.visible === false) return;
    this.placed.add(win.name);
    const key = `sq-panel-placed:${win.name}`;
    if (localStorage.getItem(key)) return;
    localStorage.setItem(key, "1");
    const right = this.layer.clientWidth - win.el.offsetWidth - 12;
    const below = 12 + [...this.panels.values()]
      .filter((w) => w !== win && this.placed.has(w.name) && w.el.style.display !== "none")
      .reduce((sum, w) => sum + w.el.offsetHeight + 8, 0);
    win.moveTo(right, below, this.layer);
    this.send({ type: "panel", dialog: win.name, action: "move", bounds: win.bounds() }, null);
  }

  panelList() {
    return [...this.panels.values()].map((w) => w.model);
  }

  setModal(modal) {
    this.modalBox?.remove();
    this.modalBox = null;
    this.modal = modal && typeof modal === "object" ? modal : null;
    if (this.modal) {
      const box = document.createElement("div");
      box.className = "sq-dialog";
      const title = document.createElement("div");
      title.className = "sq-dialog-title";
      title.textContent = shownLabel(this.modal.title ?? this.modal.name ?? "");
      const body = document.createElement("div");
      body.className = "sq-dialog-body";
      const [l, t, r, b] = boundsOf(this.modal.bounds);
      body.style.width = `${r - l}px`;
      body.style.height = `${b - t}px`;
      box.append(title, body);
      const items = new ItemSet(body, { dialog: "", send: this.send, openFlyout: (e) => this.openFlyout("", e) });
      items.set(this.modal.items);
      this.modalItems = items;
      this.modalBox = box;
      this.backdrop.append(box);
      const focus = items.find((i) => i.focus) ?? items.find((i) => i.default);
      requestAnimationFrame(() => (focus?.el ?? box).focus?.());
    }
    this.showBackdrop();
  }

  setAlert(alert) {
    this.alertBox?.remove();
    this.alertBox = null;
    this.alert = alert && typeof alert === "object" ? alert : null;
    if (this.alert) {
      const box = document.createElement("div");
      box.className = `sq-alert sq-alert-${this.alert.kind === "error" ? "error" : "message"}`;
      box.setAttribute("role", "alertdialog");
      const icon = document.createElement("div");
      icon.className = "sq-alert-icon";
      icon.textContent = this.alert.kind === "error" ? "!" : "i";
      const text = document.createElement("div");
      text.className = "sq-alert-text";
      text.textContent = String(this.alert.text ?? "");
      const ok = document.createElement("button");
      ok.type = "button";
      ok.className = "sq-button sq-default sq-alert-ok";
      ok.textContent = "OK";
      ok.addEventListener("click", (event) => this.answerAlert(event));
      const row = document.createElement("div");
      row.className = "sq-alert-buttons";
      row.append(ok);
      box.append(icon, text, row);
      this.alertBox = box;
      this.backdrop.append(box);
      requestAnimationFrame(() => ok.focus());
    }
    this.showBackdrop();
  }

  answerAlert(event) {
    this.send({ type: "dialog", dialog: "alert", action: "press", item: 1 }, event);
  }

  showBackdrop() {
    this.backdrop.hidden = !this.modal && !this.alert;
  }

  setFlyout(flyout) {
    this.flyout = flyout && typeof flyout === "object" && Array.isArray(flyout.entries) ? flyout : null;
    const menu = this.flyoutMenu;
    if (!this.flyout && !menu.hidden) this.onFlyoutClosed?.();
    if (!this.flyout) {
      menu.hidden = true;
      menu.replaceChildren();
      return;
    }
    menu.replaceChildren(
      ...this.flyout.entries.map((entry, i) => {
        if (entry.separator) {
          const line = document.createElement("div");
          line.className = "sq-menu-separator";
          return line;
        }
        const row = document.createElement("div");
        row.className = "sq-menu-entry";
        row.textContent = shownLabel(entry.text);
        row.classList.toggle("sq-disabled", entry.enabled === false);
        row.addEventListener("click", (event) => {
          if (entry.enabled === false) return;
          this.send({ type: "flyout", action: "choose", index: entry.index ?? i }, event);
        });
        return row;
      }),
    );
    menu.hidden = false;
    const owner = this.panels.get(this.flyout.dialog ?? this.flyout.panel);
    const anchor = owner?.buttons.querySelector(".sq-flyout-button") ?? owner?.title;
    const r = anchor?.getBoundingClientRect() ?? { right: window.innerWidth - 20, bottom: 60 };
    const width = menu.offsetWidth;
    menu.style.left = `${Math.max(4, Math.min(r.right - width, window.innerWidth - width - 4))}px`;
    menu.style.top = `${Math.min(r.bottom + 2, window.innerHeight - menu.offsetHeight - 4)}px`;
  }

  // Keys while an alert, a modal dialog or the flyout menu has the user's attention; returns
  // true when the key was taken.
  dialogKey(event, action) {
    if (this.alert) {
      if (action === "down" && event.key === "Enter") this.answerAlert(event);
      else if (action === "down" && event.key === "Escape") this.send({ type: "dialog", dialog: "alert", action: "cancel" }, event);
      if (event.key !== "Tab") event.preventDefault();
      return true;
    }
    if (this.modal) {
      if (action === "down" && event.key === "Escape") {
        event.preventDefault();
        this.send({ type: "dialog", dialog: "", action: "cancel" }, event);
      } else if (action === "down" && event.key === "Enter" && !(event.target instanceof HTMLButtonElement)) {
        const item = this.modalItems?.defaultItem();
        event.preventDefault();
        if (item) this.send({ type: "dialog", dialog: "", action: "press", item: item.id }, event);
      }
      return true;
    }
    if (this.flyout) {
      // The open menu has the keyboard: any other event would close it in the host, so keys
      // (Alt let go after an Alt-click, say) stay here, and Escape closes it.
      if (action === "down" && event.key === "Escape") this.send({ type: "flyout", action: "close" }, event);
      event.preventDefault();
      return true;
    }
    return false;
  }
}
